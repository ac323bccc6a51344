#include "params/serial_interface_parameters.h"

#include <array>

#include "params/modem_types.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_ids.h"
#include "params/parameter_text.h"
#include "params/protocol_modes.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace rc = vxl::rc;
namespace pid = vxl::pid;

namespace {

const vxl::ChoiceLists& BaudRates() {
    static const vxl::ChoiceLists lists = [] {
        vxl::ChoiceTexts qmx{"19200", "9600", "4800", "2400", "1200", "600", "300", "", "38400"};
        vxl::ChoiceTexts vxl4 = qmx;
        vxl4[5] = vxl4[6] = "1200";
        vxl::ChoiceLists result = vxl::SameForAllTypes(qmx);
        result[4] = vxl4;
        return result;
    }();
    return lists;
}

const vxl::ChoiceLists& Parities() {
    static const vxl::ChoiceLists lists = vxl::SameForAllTypes({"None", "Even", "Odd"});
    return lists;
}

const vxl::ChoiceTexts kProtocolDefinitionNames{
    "TransWithEOTTimeout", "TransWithEOTCharacter", "PacketSwitched", "Digipeater", "FastAsync",
    "TrimMarkII",          "TrimTalk450s"};

const vxl::ChoiceLists& Protocols() {
    static const vxl::ChoiceLists lists = [] {
        vxl::ChoiceLists result;
        for (size_t type = 0; type < result.size(); ++type)
            result[type] = vxl::protocol::ModeNames(static_cast<int>(type));
        return result;
    }();
    return lists;
}

const char* const kControlNames[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                       "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                       "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                       "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

std::string CharacterName(int code) {
    if (code < 32) return kControlNames[code];
    if (code == 32) return "SP";
    if (code < 127) return std::string(1, static_cast<char>(code));
    if (code == 127) return "DEL";
    return vxl::Format("0x%.2X", static_cast<unsigned>(code));
}

const vxl::ChoiceLists& Characters() {
    static const vxl::ChoiceLists lists = [] {
        vxl::ChoiceTexts names;
        for (int code = 0; code < 256; ++code) names.push_back(CharacterName(code));
        return vxl::SameForAllTypes(names);
    }();
    return lists;
}

constexpr vxl::BitField kProtocolBits{0x3F, 0};
constexpr vxl::RealScale kTxAckTimeoutScale{10, 1, 0.1, 6553.6, 1};
constexpr vxl::RealScale kDigipeaterDelayScale{100, 0, 0.0, 60.0, 2};
constexpr vxl::RealScale kEotTimeoutScale{100, 0, 0.0, 2.55, 2};
constexpr vxl::RealScale kTrimEotTimeoutScale{1000, 0, 0.0, 0.255, 3};

}  // namespace

BaudRate::BaudRate(ModemParameterSet* owner)
    : ChoiceParameter(owner, vxl::CatalogueRow(pid::kBaudRate), BaudRates()) {}
int BaudRate::BuiltInDefault() {
    return ModemType() == vxl::kModemTypeVxl ? 8 : 1;
}

Parity::Parity(ModemParameterSet* owner)
    : ChoiceParameter(owner, vxl::CatalogueRow(pid::kParity), Parities()) {}

ProtocolMode::ProtocolMode(ModemParameterSet* owner)
    : ChoiceParameter(owner, vxl::CatalogueRow(pid::kProtocolMode), Protocols(), kProtocolBits) {}

int ProtocolMode::ParseInt(const std::string& text, int& value) {
    vxl::ChoiceTexts offered = Texts(ModemType());
    vxl::ChoiceTexts names(offered.size());
    for (size_t i = 0; i < offered.size() && i < kProtocolDefinitionNames.size(); ++i)
        if (!offered[i].empty()) names[i] = kProtocolDefinitionNames[i];
    if (vxl::MatchChoice(names, text, value) == rc::kOk) return rc::kOk;
    return ChoiceParameter::ParseInt(text, value);
}

ForwardErrorCorrection::ForwardErrorCorrection(ModemParameterSet* owner)
    : FlagParameter(owner, vxl::CatalogueRow(pid::kForwardErrorCorrection), vxl::kWholeValue) {}

Scrambling::Scrambling(ModemParameterSet* owner)
    : FlagParameter(owner, vxl::CatalogueRow(pid::kScrambling), vxl::kWholeValue) {}
uint32_t Scrambling::OnValue() {
    return vxl::protocol::IsTrim(CurrentProtocol()) ? 2 : 1;
}

EOTCharacter::EOTCharacter(ModemParameterSet* owner)
    : ChoiceParameter(owner, vxl::CatalogueRow(pid::kEOTCharacter), Characters()) {}

int EOTCharacter::GetIntRange(int& minimum, int& maximum) {
    minimum = 0;
    maximum = 255;
    return rc::kOk;
}

int EOTCharacter::ParseInt(const std::string& text, int& value) {
    if (text.empty()) return rc::kInvalidDefinition;
    value = static_cast<unsigned char>(text[0]);
    return rc::kOk;
}

EOTCount::EOTCount(ModemParameterSet* owner)
    : IntegerParameter(owner, vxl::CatalogueRow(pid::kEOTCount), vxl::kCountForm) {}

EOTTimeout::EOTTimeout(ModemParameterSet* owner)
    : ScaledRealParameter(owner, vxl::CatalogueRow(pid::kEOTTimeout), kEotTimeoutScale) {}
vxl::RealScale EOTTimeout::Scale() {
    return vxl::protocol::IsTrim(CurrentProtocol()) ? kTrimEotTimeoutScale : kEotTimeoutScale;
}

LocalAddress::LocalAddress(ModemParameterSet* owner)
    : IntegerParameter(owner, vxl::CatalogueRow(pid::kLocalAddress), vxl::kAddressForm) {}

RemoteAddress::RemoteAddress(ModemParameterSet* owner)
    : IntegerParameter(owner, vxl::CatalogueRow(pid::kRemoteAddress), vxl::kAddressForm) {}

TransmitRetries::TransmitRetries(ModemParameterSet* owner)
    : IntegerParameter(owner, vxl::CatalogueRow(pid::kTransmitRetries), vxl::kByteDecimal) {}

TxAckTimeout::TxAckTimeout(ModemParameterSet* owner)
    : ScaledRealParameter(owner, vxl::CatalogueRow(pid::kTxAckTimeout), kTxAckTimeoutScale) {}

DigipeaterDelay::DigipeaterDelay(ModemParameterSet* owner)
    : ScaledRealParameter(owner, vxl::CatalogueRow(pid::kDigipeaterDelay), kDigipeaterDelayScale) {}

CSMAMonitor::CSMAMonitor(ModemParameterSet* owner)
    : FlagParameter(owner, vxl::CatalogueRow(pid::kCSMAMonitor), vxl::kBit4) {}

BREAKtoCommand::BREAKtoCommand(ModemParameterSet* owner)
    : FlagParameter(owner, vxl::CatalogueRow(pid::kBREAKtoCommand), vxl::kBit7) {}

Repeater::Repeater(ModemParameterSet* owner)
    : FlagParameter(owner, vxl::CatalogueRow(pid::kRepeater), vxl::kBit6) {}
