#include "coordinator/working_settings.h"

#include "coordinator/coordinator_view.h"
#include "params/model_tables.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "params/parameter_rules.h"
#include "util/result_codes.h"

namespace vxl {

WorkingSettings::WorkingSettings() = default;

WorkingSettings::~WorkingSettings() {
    Clear();
}

int WorkingSettings::Load(std::unique_ptr<ModemMemoryImage> image,
                          std::string* definitionsLocation) {
    parameters_.reset();
    image_ = std::move(image);
    std::string location;
    int status = rc::kOk;
    parameters_ = std::make_unique<ModemParameterSet>(location, status, image_.get());
    if (definitionsLocation != nullptr) *definitionsLocation = location;
    ParameterChanges settled;
    rules::Settle(*parameters_, settled);
    return status;
}

void WorkingSettings::Clear() {
    // The parameters refer to the image.
    parameters_.reset();
    image_.reset();
}

void WorkingSettings::Release() {
    Clear();
    transmitEditable_ = true;
}

int WorkingSettings::GetModel() const {
    int model = -1;
    if (parameters_ == nullptr || parameters_->GetInt(pid::kModel, model) != rc::kOk) return -1;
    return model;
}

std::string WorkingSettings::SerialNumberText() const {
    std::string text;
    if (parameters_ == nullptr || parameters_->GetText(pid::kSerialNumber, text) != rc::kOk)
        return std::string();
    return text;
}

void WorkingSettings::Announce(ParameterChanges changes) {
    if (parameters_ != nullptr) rules::Settle(*parameters_, changes);
    if (view_ != nullptr) view_->ValuesChanged(changes);
}

// Every edit goes through the rules; a refused one changed nothing and tells nothing.
int WorkingSettings::Edit(int id, const Rule& rule) {
    if (parameters_ == nullptr) return rc::kMissingArgument;
    ParameterChanges changes;
    changes.Add(id);
    const int result = rule(*parameters_, changes);
    if (result == rc::kOk && view_ != nullptr) view_->ValuesChanged(changes);
    return result;
}

int WorkingSettings::FinishBulk(int result) {
    Announce(ParameterChanges::All());
    return result;
}

int WorkingSettings::SetInt(int id, int value) {
    return Edit(id, [&](ModemParameterSet& set, ParameterChanges& changes) {
        const int result = rules::SetInt(set, id, value, changes);
        // The model decides whether the transmit frequencies are the modem's own to set.
        if (result == rc::kOk && id == pid::kModel && set.GetModemType() == kModemTypeVxl &&
            Type4ModelName(value) != nullptr)
            transmitEditable_ = Type4IsBase(value);
        return result;
    });
}

int WorkingSettings::SetBool(int id, bool value) {
    return Edit(id, [&](ModemParameterSet& set, ParameterChanges& changes) {
        return rules::SetBool(set, id, value, changes);
    });
}

int WorkingSettings::SetReal(int id, double value) {
    return Edit(id, [&](ModemParameterSet& set, ParameterChanges& changes) {
        return rules::SetReal(set, id, value, changes);
    });
}

int WorkingSettings::SetText(int id, const std::string& text) {
    return Edit(id, [&](ModemParameterSet& set, ParameterChanges& changes) {
        return rules::SetText(set, id, text, changes);
    });
}

int WorkingSettings::WriteByte(int offset, uint8_t value, std::string* problem) {
    if (parameters_ == nullptr) return rc::kMissingArgument;
    const int address = image_->GetBaseAddress() + offset;
    const std::string why = parameters_->WhyByteRefused(address, value);
    if (!why.empty()) {
        if (problem != nullptr) *problem = why;
        return rc::kInvalidDefinition;
    }
    return FinishBulk(parameters_->WriteBytes(address, 1, &value));
}

int WorkingSettings::ApplyDefaults() {
    if (parameters_ == nullptr) return rc::kMissingArgument;
    return FinishBulk(parameters_->ApplyDefaults());
}

int WorkingSettings::ReplaceBytes(const std::vector<uint8_t>& bytes) {
    if (parameters_ == nullptr) return rc::kMissingArgument;
    const int result = image_->WriteConfigurationBytes(bytes);
    if (result != rc::kOk) return result;
    std::string location;
    parameters_->LoadDefaults(location);
    return FinishBulk(rc::kOk);
}

}  // namespace vxl
