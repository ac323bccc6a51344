#include "params/flag_parameter.h"

#include "params/parameter_text.h"
#include "util/result_codes.h"

namespace rc = vxl::rc;

FlagParameter::FlagParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info,
                             vxl::BitField field)
    : ModemParameter(owner, info), field_(field) {}

uint32_t FlagParameter::OnValue() {
    return 1;
}

int FlagParameter::GetBool(bool& value) {
    if (int code = RequireAvailable()) return code;
    uint32_t raw = 0;
    int code = ReadField(field_, raw);
    if (code == rc::kOk) value = raw != 0;
    return code;
}

int FlagParameter::SetBool(bool value) {
    if (int code = RequireAvailable()) return code;
    return WriteField(field_, value ? OnValue() : 0);
}

int FlagParameter::GetText(std::string& text) {
    bool value = false;
    int code = GetBool(value);
    if (code == rc::kOk) text = vxl::YesNoText(value);
    return code;
}

void FlagParameter::ResetDefault() {
    defaultBool_ = Info().builtInDefault != 0.0;
}

int FlagParameter::StoreDefinition(const std::string& text) {
    return vxl::ParseYesNo(text, defaultBool_);
}
