#include "params/model_parameters.h"

#include "params/model_tables.h"
#include "params/modem_parameter_set.h"
#include "params/modem_source.h"
#include "params/modem_types.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_ids.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace rc = vxl::rc;
namespace pid = vxl::pid;
using vxl::CatalogueRow;

namespace {

constexpr vxl::BitField kType4ModelBits{0x70, 4};
constexpr vxl::BitField kBandBits{0x0F, 0};
// Bit 7 of a type-4 model byte is always set.
constexpr vxl::BitField kModelMarkAndBand{0x8F, 0};
constexpr vxl::BitField kModelMarkAndModel{0xF0, 4};
constexpr vxl::BitField kLowNibble{0x0F, 0};
constexpr vxl::BitField kHighNibble{0xF0, 4};
constexpr vxl::BitField kCrystalBits{0x07, 0};
constexpr int kHighestPowerCode = 3;
constexpr int kUnreadableCrystal = 7;
const char* const kUnknown = "Unknown";

bool IsQmx(int modemType) {
    return vxl::IsQmxType(modemType);
}
bool IsQmxRow(int row) {
    return row >= 1 && row < vxl::kQmxModelRows;
}

const vxl::ChoiceLists& Bandwidths() {
    static const vxl::ChoiceLists lists = [] {
        vxl::ChoiceLists result = vxl::SameForAllTypes({"", "6.25", "12.5", "25", ""});
        result[4] = {"25", "12.5"};
        return result;
    }();
    return lists;
}

const vxl::ChoiceLists& Crystals() {
    static const vxl::ChoiceLists lists{
        {{}, {}, {}, {}, {"Red", "Orange", "Yellow", "", "Brown", "Black", "White", "flat"}, {}}};
    return lists;
}

const vxl::ChoiceLists& NoLists() {
    static const vxl::ChoiceLists lists{};
    return lists;
}

// The row of the model byte of a type 1-3 modem.
int QmxRow(ModemParameterSet& set) {
    uint8_t row = 0;
    set.ReadBytes(0x10A, 1, &row);
    return row;
}

// While the modem reports its model ID missing, model and power read "Unknown".
bool ShowsUnknown(ModemParameterSet& set, std::string& text) {
    if (set.IsModelIdValid()) return false;
    text = kUnknown;
    return true;
}

}  // namespace

namespace vxl {

int RewriteDacCompensation(ModemParameterSet& set) {
    if (set.GetModemType() != vxl::kModemTypeVxl) return rc::kOk;
    int crystal = -1;
    int model = -1;
    int bandwidth = -1;
    set.GetInt(pid::kCrystal, crystal);
    set.GetInt(pid::kModel, model);
    set.GetInt(pid::kChannelBandwidth, bandwidth);
    const uint8_t* row = DacCompensationRow(crystal, model, bandwidth);
    if (row == nullptr) return rc::kOk;
    return set.WriteParameterBytes(pid::kDACCompVoltageCount, row);
}

}  // namespace vxl

Model::Model(ModemParameterSet* owner)
    : ChoiceParameter(owner, CatalogueRow(pid::kModel), NoLists(),
                      vxl::ChoiceField(vxl::kWholeValue, kType4ModelBits)) {}

vxl::ChoiceTexts Model::Texts(int modemType) {
    vxl::ChoiceTexts texts;
    if (IsQmx(modemType)) {
        for (int row = 0; row < vxl::kQmxModelRows; ++row) texts.push_back(vxl::QmxModelText(row));
    } else if (modemType == vxl::kModemTypeVxl) {
        for (int model = 0; model < vxl::kType4ModelCount; ++model)
            texts.push_back(vxl::Type4ModelName(model));
    }
    return texts;
}

int Model::GetText(std::string& text) {
    int value = 0;
    int code = GetInt(value);
    if (code != rc::kOk || ShowsUnknown(ParameterSet(), text)) return code;
    if (IsQmx(ModemType()) && value == 0) {
        text.clear();
        return rc::kOk;
    }
    return ChoiceParameter::GetText(text);
}

int Model::SetInt(int value) {
    if (GetLength() < 1) return rc::kBadOffsetOrLength;
    if (!IsSettable(value)) return rc::kInvalidDefinition;
    if (ModemType() != vxl::kModemTypeVxl)
        return WriteField(vxl::kWholeValue, static_cast<uint32_t>(value));
    int code = WriteField(kModelMarkAndModel, 0x8u | (static_cast<uint32_t>(value) & 7u));
    if (code != rc::kOk) return code;
    code = vxl::RewriteDacCompensation(ParameterSet());
    ParameterSet().ClearModelIdMissing();
    return code;
}

Frequency::Frequency(ModemParameterSet* owner)
    : ChoiceParameter(owner, CatalogueRow(pid::kFrequency), NoLists(), kBandBits) {}

vxl::ChoiceTexts Frequency::Texts(int modemType) {
    vxl::ChoiceTexts texts;
    if (modemType == vxl::kModemTypeVxl) {
        texts.resize(vxl::kType4BandCount);
        for (int band : vxl::Type4Bands(CurrentModel()))
            texts[static_cast<size_t>(band)] = std::string(vxl::Type4BandText(band)) + " MHz";
    } else if (IsQmx(modemType)) {
        texts = {"410-430 MHz", "430-450 MHz", "450-470 MHz"};
    }
    return texts;
}

int Frequency::GetChoiceCount(int modemType, int& count) {
    if (modemType != vxl::kModemTypeVxl) return ChoiceParameter::GetChoiceCount(modemType, count);
    count = vxl::Type4ChoiceCount(CurrentModel());
    return rc::kOk;
}

int Frequency::GetInt(int& value) {
    if (ModemType() == vxl::kModemTypeVxl) return ChoiceParameter::GetInt(value);
    if (GetLength() < 1) return rc::kBadOffsetOrLength;
    int row = QmxRow(ParameterSet());
    if (!IsQmxRow(row)) return rc::kBadModelRow;
    value = vxl::QmxModel(row).factorySet;
    return rc::kOk;
}

int Frequency::GetText(std::string& text) {
    int value = 0;
    int code = GetInt(value);
    if (code != rc::kOk) return code;
    if (ModemType() != vxl::kModemTypeVxl) {
        text = vxl::QmxModel(QmxRow(ParameterSet())).band;
        return rc::kOk;
    }
    int count = 0;
    GetChoiceCount(vxl::kModemTypeVxl, count);
    const char* band = vxl::Type4BandText(value);
    text = band != nullptr && value < count ? band : "";
    return rc::kOk;
}

int Frequency::SetInt(int value) {
    if (ModemType() != vxl::kModemTypeVxl) return rc::kType4Only;
    if (!IsSettable(value)) return rc::kInvalidDefinition;
    return WriteField(kModelMarkAndBand, 0x80u | (static_cast<uint32_t>(value) & 0x0Fu));
}

Power::Power(ModemParameterSet* owner)
    : ChoiceParameter(owner, CatalogueRow(pid::kPower), NoLists(), kLowNibble) {}

vxl::ChoiceTexts Power::Texts(int modemType) {
    vxl::ChoiceTexts texts;
    if (modemType != vxl::kModemTypeVxl) return texts;
    texts.resize(vxl::kType4PowerCodeCount);
    for (int code : vxl::Type4PowerCodes(CurrentModel()))
        texts[static_cast<size_t>(code)] = std::string(vxl::Type4PowerText(code)) + " Watts";
    return texts;
}

int Power::GetInt(int& value) {
    if (ModemType() != vxl::kModemTypeVxl) return rc::kType4Only;
    return ChoiceParameter::GetInt(value);
}

int Power::GetText(std::string& text) {
    if (IsQmx(ModemType())) {
        if (GetLength() < 1) return rc::kBadOffsetOrLength;
        if (!ShowsUnknown(ParameterSet(), text)) text = vxl::QmxModel(QmxRow(ParameterSet())).power;
        return rc::kOk;
    }
    int value = 0;
    int code = GetInt(value);
    if (code != rc::kOk || ShowsUnknown(ParameterSet(), text)) return code;
    if (value > kHighestPowerCode) {
        text = kUnknown;
        return rc::kBadPower;
    }
    text = vxl::Type4PowerText(value);
    return rc::kOk;
}

int Power::SetInt(int value) {
    if (ModemType() != vxl::kModemTypeVxl) return rc::kType4Only;
    if (value < 0 || value > kHighestPowerCode) return rc::kBadPower;
    return WriteField(kLowNibble, static_cast<uint32_t>(value));
}

ChannelBandwidth::ChannelBandwidth(ModemParameterSet* owner)
    : ChoiceParameter(owner, CatalogueRow(pid::kChannelBandwidth), Bandwidths(),
                      vxl::ChoiceField(vxl::kWholeValue, kHighNibble)) {}

int ChannelBandwidth::SetInt(int value) {
    if (ModemType() != vxl::kModemTypeVxl) return rc::kType4Only;
    return ChoiceParameter::SetInt(value);
}

int ChannelBandwidth::AfterWrite() {
    return vxl::RewriteDacCompensation(ParameterSet());
}

Crystal::Crystal(ModemParameterSet* owner)
    : ChoiceParameter(owner, CatalogueRow(pid::kCrystal), Crystals(), kCrystalBits) {}

int Crystal::AfterWrite() {
    return vxl::RewriteDacCompensation(ParameterSet());
}

ModemID::ModemID(ModemParameterSet* owner) : ModemParameter(owner, CatalogueRow(pid::kModemID)) {}

int ModemID::GetInt(int& value) {
    if (int code = RequireAvailable()) return code;
    if (ModemType() == vxl::kModemTypeVxl) {
        value = vxl::Type4BoardId(CurrentModel(), IntOf(pid::kFrequency, -1));
        return rc::kOk;
    }
    const ModemMemoryImage* image = ParameterSet().GetImage();
    IModemSource* modem = image != nullptr ? image->GetModem() : nullptr;
    value = modem != nullptr ? modem->GetIdentityWord() : 0;
    return rc::kOk;
}

int ModemID::GetText(std::string& text) {
    int board = 0;
    int code = GetInt(board);
    if (code != rc::kOk) {
        text.clear();
        return code;
    }
    text = vxl::Format("%.3d-%d", board, IntOf(pid::kCrystal, kUnreadableCrystal));
    return rc::kOk;
}

FirmwareRevision::FirmwareRevision(ModemParameterSet* owner)
    : ModemParameter(owner, CatalogueRow(pid::kFirmwareRevision)) {}

int FirmwareRevision::GetText(std::string& text) {
    const ModemMemoryImage* image = ParameterSet().GetImage();
    text = image != nullptr ? image->GetFirmwareRevisionText() : std::string();
    return rc::kOk;
}

int FirmwareRevision::GetReal(double& value) {
    value = ModemParameter::FirmwareRevision();
    return rc::kOk;
}

PowerControl::PowerControl(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kPowerControl), vxl::kHexByteRanged) {}

void PowerControl::ResetDefault() {
    defaultInt_ = vxl::Type4PowerControlDefault(CurrentModel(), FirmwareRevision());
}

int PowerControl::LoadDefault(std::string& location) {
    location.clear();
    ResetDefault();
    return defaultInt_ < 0 ? rc::kBadOffsetOrLength : rc::kOk;
}

DACCompVoltageCount::DACCompVoltageCount(ModemParameterSet* owner)
    : ModemParameter(owner, CatalogueRow(pid::kDACCompVoltageCount)) {}
