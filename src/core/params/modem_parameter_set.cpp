#include "params/modem_parameter_set.h"

#include "params/location_table.h"
#include "params/modem_source.h"
#include "params/modem_types.h"
#include "params/parameter_factory.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace rc = vxl::rc;
namespace pid = vxl::pid;

namespace {

const char* const kErrorsCaption = "Errors in Initialization File";
const char* const kInvalidDefault = "has an invalid default value.";

}  // namespace

ModemParameterSet::ModemParameterSet(std::string& location, int& status, ModemMemoryImage* image)
    : image_(image) {
    parameters_.resize(pid::kParameterCount);
    for (int id = 0; id < pid::kParameterCount; ++id)
        parameters_[static_cast<size_t>(id)] = vxl::CreateParameter(this, id);
    // Built-in defaults may depend on other parameters, so they are set once all exist.
    for (auto& parameter : parameters_)
        if (parameter) parameter->ResetDefault();
    status = LoadDefaults(location);
}

ModemParameterSet::~ModemParameterSet() = default;

ModemParameter* ModemParameterSet::Slot(int id) const {
    if (id < 0 || id >= pid::kParameterCount) return nullptr;
    return parameters_[static_cast<size_t>(id)].get();
}

ModemParameter* ModemParameterSet::Get(int id) const {
    return Slot(id);
}

template <class Operation>
auto ModemParameterSet::Forward(int id, Operation operation,
                                decltype(operation(std::declval<ModemParameter&>())) missing) {
    ModemParameter* parameter = Slot(id);
    return parameter != nullptr ? operation(*parameter) : missing;
}

int ModemParameterSet::GetText(int id, std::string& text) {
    return Forward(
        id, [&](ModemParameter& p) { return p.GetText(text); }, rc::kBadParameters);
}

int ModemParameterSet::GetChoiceCount(int id, int modemType, int& count) {
    if (Slot(id) != nullptr && (modemType < 0 || modemType > 5)) return rc::kBadModemType;
    return Forward(
        id, [&](ModemParameter& p) { return p.GetChoiceCount(modemType, count); },
        rc::kBadParameterId);
}

int ModemParameterSet::GetIntRange(int id, int& minimum, int& maximum) {
    return Forward(
        id, [&](ModemParameter& p) { return p.GetIntRange(minimum, maximum); },
        rc::kBadParameterId);
}

int ModemParameterSet::GetRealRange(int id, double& minimum, double& maximum, int& decimals) {
    return Forward(
        id, [&](ModemParameter& p) { return p.GetRealRange(minimum, maximum, decimals); },
        rc::kBadParameterId);
}

int ModemParameterSet::GetChoices(int id, std::vector<std::string>& texts,
                                  std::vector<int>& values) {
    return Forward(
        id, [&](ModemParameter& p) { return p.GetChoices(texts, values); }, rc::kBadParameterId);
}

int ModemParameterSet::GetBool(int id, bool& value) {
    return Forward(
        id, [&](ModemParameter& p) { return p.GetBool(value); }, rc::kBadParameterId);
}

int ModemParameterSet::GetReal(int id, double& value) {
    return Forward(
        id, [&](ModemParameter& p) { return p.GetReal(value); }, rc::kBadParameterId);
}

int ModemParameterSet::GetInt(int id, int& value) {
    return Forward(
        id, [&](ModemParameter& p) { return p.GetInt(value); }, rc::kBadParameterId);
}

int ModemParameterSet::IntOr(int id, int fallback) {
    int value = fallback;
    return GetInt(id, value) == rc::kOk ? value : fallback;
}

int ModemParameterSet::GetMaxLength(int id, int& length) {
    return Forward(
        id, [&](ModemParameter& p) { return p.GetMaxLength(length); }, rc::kBadParameterId);
}

int ModemParameterSet::SetText(int id, const std::string& text) {
    return Forward(
        id, [&](ModemParameter& p) { return p.SetText(text); }, rc::kBadParameterId);
}

int ModemParameterSet::SetReal(int id, double value) {
    return Forward(
        id, [&](ModemParameter& p) { return p.SetReal(value); }, rc::kBadParameterId);
}

int ModemParameterSet::SetInt(int id, int value) {
    return Forward(
        id, [&](ModemParameter& p) { return p.SetInt(value); }, rc::kBadParameterId);
}

int ModemParameterSet::SetBool(int id, bool value) {
    return Forward(
        id, [&](ModemParameter& p) { return p.SetBool(value); }, rc::kBadParameterId);
}

bool ModemParameterSet::IsChoiceEnabled(int id, int index) {
    return Forward(
        id, [&](ModemParameter& p) { return p.IsChoiceEnabled(index); }, false);
}

bool ModemParameterSet::IsAvailable(int id) {
    return Forward(
        id, [](ModemParameter& p) { return p.IsAvailable(); }, false);
}

bool ModemParameterSet::IsEditable(int id) {
    if (image_ == nullptr || image_->GetModem() == nullptr) return false;
    return Forward(
        id, [](ModemParameter& p) { return p.IsEditable(); }, false);
}

int ModemParameterSet::GetDefaultInt(int id) {
    return Forward(
        id, [](ModemParameter& p) { return p.GetDefaultInt(); }, -1);
}

bool ModemParameterSet::GetDefaultBool(int id) {
    return Forward(
        id, [](ModemParameter& p) { return p.GetDefaultBool(); }, false);
}

double ModemParameterSet::GetDefaultReal(int id) {
    return Forward(
        id, [](ModemParameter& p) { return p.GetDefaultReal(); }, -1.0);
}

int ModemParameterSet::GetModemType() const {
    return image_ == nullptr ? 0 : image_->GetModemType();
}

bool ModemParameterSet::IsModelIdValid() const {
    IModemSource* modem = image_ == nullptr ? nullptr : image_->GetModem();
    return modem == nullptr || !modem->IsModelIdMissing();
}

void ModemParameterSet::ClearModelIdMissing() {
    IModemSource* modem = image_ == nullptr ? nullptr : image_->GetModem();
    if (modem != nullptr) modem->ClearModelIdMissing();
}

int ModemParameterSet::ReadBytes(int address, int count, uint8_t* out) const {
    if (address < 0 || count < 1) return rc::kBadOffsetOrLength;
    if (image_ == nullptr) return rc::kNoImage;
    return image_->ReadBytes(address, count, out);
}

int ModemParameterSet::WriteBytes(int address, int count, const uint8_t* in) {
    if (address < 0 || count < 1) return rc::kBadOffsetOrLength;
    if (image_ == nullptr) return rc::kNoImage;
    return image_->WriteBytes(address, count, in);
}

int ModemParameterSet::WriteParameterBytes(int id, const uint8_t* bytes) {
    if (id < 0 || id >= pid::kParameterCount) return rc::kBadParameterId;
    if (bytes == nullptr) return rc::kMissingArgument;
    const int type = GetModemType();
    if (type < vxl::kModemTypeQmxEarly || type > vxl::kModemTypeVxl)
        return rc::kBadModemTypeForLayout;
    int address = 0;
    int length = 0;
    int kind = 0;
    if (!vxl::LookupLocation(id, type, address, length, kind)) return rc::kNotInLocationTable;
    return WriteBytes(address, length, bytes);
}

int ModemParameterSet::ApplyDefault(ModemParameter& parameter) {
    switch (parameter.GetKind()) {
        case vxl::kKindInteger:
            return parameter.SetInt(parameter.GetDefaultInt());
        case vxl::kKindReal:
            return parameter.SetReal(parameter.GetDefaultReal());
        case vxl::kKindFlag:
            return parameter.SetBool(parameter.GetDefaultBool());
        default:
            return rc::kOk;
    }
}

int ModemParameterSet::ApplyDefaults() {
    for (int id = 0; id < pid::kParameterCount; ++id) {
        ModemParameter* p = Slot(id);
        if (id == pid::kLinkRate || p == nullptr || !p->HasDefault() || !p->IsAvailable()) continue;
        int code = ApplyDefault(*p);
        if (code != rc::kOk) return code;
    }
    // The link rates a modem permits depend on the modulation and bandwidth just set; a
    // default it does not permit is left out.
    ModemParameter* linkRate = Slot(pid::kLinkRate);
    if (linkRate != nullptr && linkRate->HasDefault() && linkRate->IsAvailable())
        ApplyDefault(*linkRate);
    return rc::kOk;
}

ModemParameterSet::Outcome ModemParameterSet::LoadOneDefault(ModemParameter& parameter,
                                                             std::string& location, int& result,
                                                             bool linkRate) {
    const int code = parameter.LoadDefault(location);
    switch (code) {
        case rc::kInvalidDefinition:
        case rc::kNoMatchingChoice:
            result = code;
            return Outcome::kReport;
        case rc::kCannotOpenIni:
        case rc::kBadIni:
            result = code;
            return linkRate ? Outcome::kReport : Outcome::kStop;
        case rc::kTakesNoDefinition:
        case rc::kBadModel:
        case rc::kBadPower:
        case rc::kBadModemType:
            result = code;
            return Outcome::kFailed;
        default:  // 0, a missing entry (91) and codes of no concern here
            return Outcome::kFine;
    }
}

int ModemParameterSet::LoadDefaults(std::string& location) {
    int result = rc::kOk;
    auto report = [&location](const ModemParameter& parameter) {
        std::string message = vxl::Format("%s:\n\n%s %s\n", location.c_str(),
                                          parameter.GetName().c_str(), kInvalidDefault);
        vxl::Ui().MessageBox(message, kErrorsCaption, vxl::MsgIcon::Exclamation,
                             vxl::MsgButtons::Ok);
    };
    for (int id = 0; id < pid::kParameterCount; ++id) {
        ModemParameter* p = Slot(id);
        if (id == pid::kLinkRate || p == nullptr) continue;
        Outcome outcome = LoadOneDefault(*p, location, result, false);
        if (outcome == Outcome::kReport) report(*p);
        if (outcome == Outcome::kStop) break;
    }
    // The link rate's valid choices depend on what was loaded before it.
    ModemParameter* linkRate = Slot(pid::kLinkRate);
    if (result == rc::kOk && linkRate != nullptr) {
        if (LoadOneDefault(*linkRate, location, result, true) == Outcome::kReport)
            report(*linkRate);
    }
    return result;
}

int ModemParameterSet::ClearChannelTable() {
    // The current channel goes first: a channel in use may not lose its frequency.
    int result = SetInt(pid::kCurrentChannel, -1);
    const uint8_t none[3] = {0, 0, 0};
    for (int n = 0; n < pid::kChannelCount; ++n) {
        for (int id : {pid::RxChannelId(n), pid::TxChannelId(n)}) {
            int code = WriteParameterBytes(id, none);
            if (result == rc::kOk) result = code;
        }
    }
    return result;
}
