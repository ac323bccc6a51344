#include "params/radio_link_parameters.h"

#include "params/model_tables.h"
#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_ids.h"
#include "params/parameter_text.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace rc = vxl::rc;
namespace pid = vxl::pid;
using vxl::CatalogueRow;

namespace {

constexpr vxl::IntegerForm kPlainForm{vxl::NumberStyle::kDecimal, false, 0, 0, 0};

const vxl::ChoiceLists& LinkRates() {
    static const vxl::ChoiceLists lists{{{},
                                         {"", "4800N", "4800", "9600", ""},
                                         {"", "4800N", "4800", "9600", ""},
                                         {"", "", "4800", "9600", ""},
                                         {"", "", "4800", "9600", "19200"},
                                         {}}};
    return lists;
}

const vxl::ChoiceLists& Modulations() {
    static const vxl::ChoiceLists lists{{{}, {}, {}, {}, {"GMSK", "4-Level-FSK"}, {}}};
    return lists;
}

const vxl::ChoiceLists& SquelchLevels() {
    static const vxl::ChoiceLists lists = vxl::SameForAllTypes({"High", "Moderate", "Low", "Off"});
    return lists;
}

const vxl::ChoiceLists& ChannelSelections() {
    static const vxl::ChoiceLists lists = vxl::SameForAllTypes({"Manual", "AutoBase", "AutoRover"});
    return lists;
}

const vxl::ChoiceLists& NoLists() {
    static const vxl::ChoiceLists lists{};
    return lists;
}

constexpr int kGmsk = 0;
constexpr int kFourLevelFsk = 1;
constexpr int k25kHz = 0;
constexpr int k12kHz = 1;

}  // namespace

CurrentChannel::CurrentChannel(ModemParameterSet* owner)
    : ChoiceParameter(owner, CatalogueRow(pid::kCurrentChannel), NoLists()) {}

vxl::ChoiceTexts CurrentChannel::Texts(int) {
    vxl::ChoiceTexts rows;
    for (int n = 0; n < pid::kChannelCount; ++n) {
        std::string rx;
        std::string tx;
        ParameterSet().GetText(pid::RxChannelId(n), rx);
        ParameterSet().GetText(pid::TxChannelId(n), tx);
        if (rx.empty() && tx.empty())
            rows.emplace_back();
        else if (tx.empty())
            rows.push_back(vxl::Format("    %.2d                                            %s", n,
                                       rx.c_str()));
        else
            rows.push_back(
                vxl::Format("    %.2d                 %s           %s", n, tx.c_str(), rx.c_str()));
    }
    return rows;
}

bool CurrentChannel::IsSettable(int value) {
    return value >= -1 && value < pid::kChannelCount;
}

int CurrentChannel::GetIntRange(int& minimum, int& maximum) {
    minimum = 0;
    maximum = pid::kChannelCount - 1;
    return rc::kOk;
}

int CurrentChannel::ParseInt(const std::string& text, int& value) {
    return vxl::ParseDecimalInt(text, 0, pid::kChannelCount - 1, value);
}

LinkRate::LinkRate(ModemParameterSet* owner)
    : ChoiceParameter(owner, CatalogueRow(pid::kLinkRate), LinkRates()) {}

int LinkRate::GetChoiceCount(int modemType, int& count) {
    int code = ChoiceParameter::GetChoiceCount(modemType, count);
    if (code == rc::kOk && modemType == vxl::kModemTypeVxl &&
        IntOf(pid::kChannelBandwidth, -1) == k12kHz)
        count = 4;
    return code;
}

bool LinkRate::IsOffered(int position, const vxl::ChoiceTexts& texts) {
    if (!ChoiceParameter::IsOffered(position, texts)) return false;
    if (ModemType() != vxl::kModemTypeVxl) return true;
    return vxl::IsLinkRateAllowed(position, IntOf(pid::kModulationType, -1),
                                  IntOf(pid::kChannelBandwidth, -1));
}

int LinkRate::BuiltInDefault() {
    if (ModemType() != vxl::kModemTypeVxl) return 4;
    const int modulation = IntOf(pid::kModulationType, -1);
    const int bandwidth = IntOf(pid::kChannelBandwidth, -1);
    if (modulation == kFourLevelFsk && bandwidth == k25kHz) return 4;
    if (modulation == kGmsk && bandwidth == k12kHz) return 2;
    return 3;
}

ModulationType::ModulationType(ModemParameterSet* owner)
    : ChoiceParameter(owner, CatalogueRow(pid::kModulationType), Modulations()) {}

Digisquelch::Digisquelch(ModemParameterSet* owner)
    : ChoiceParameter(owner, CatalogueRow(pid::kDigisquelch), SquelchLevels()) {}

int Digisquelch::BuiltInDefault() {
    if (Transmits()) return 2;
    return IntOf(pid::kModulationType, -1) == kFourLevelFsk ? 1 : 0;
}

ChannelSelectType::ChannelSelectType(ModemParameterSet* owner)
    : ChoiceParameter(owner, CatalogueRow(pid::kChannelSelectType), ChannelSelections()) {}

RoverAutoOff::RoverAutoOff(ModemParameterSet* owner)
    : FlagParameter(owner, CatalogueRow(pid::kRoverAutoOff), vxl::kBit6) {}

HighRSSICDLevel::HighRSSICDLevel(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kHighRSSICDLevel), vxl::kHexForm) {}
HighRSSIHystLevel::HighRSSIHystLevel(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kHighRSSIHystLevel), vxl::kHexForm) {}
MediumRSSICDLevel::MediumRSSICDLevel(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kMediumRSSICDLevel), vxl::kHexForm) {}
MediumRSSIHystLevel::MediumRSSIHystLevel(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kMediumRSSIHystLevel), vxl::kHexForm) {}
LowRSSICDLevel::LowRSSICDLevel(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kLowRSSICDLevel), vxl::kHexForm) {}
LowRSSIHystLevel::LowRSSIHystLevel(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kLowRSSIHystLevel), vxl::kHexForm) {}

SynthesizerType::SynthesizerType(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kSynthesizerType), vxl::kThreeDigitForm) {}
BitPolarity::BitPolarity(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kBitPolarity), kPlainForm) {}
RXDelay::RXDelay(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kRXDelay), vxl::kThreeDigitForm) {}
TXDelay::TXDelay(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kTXDelay), vxl::kThreeDigitForm) {}
FrequencyError::FrequencyError(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kFrequencyError), vxl::kHexForm) {}
