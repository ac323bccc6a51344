#include "params/integer_parameter.h"

#include <climits>

#include "params/parameter_text.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

std::string FormatNumber(NumberStyle style, long long value) {
    switch (style) {
        case NumberStyle::kDecimal:
            return Format("%lld", value);
        case NumberStyle::kThreeDigits:
            return Format("%.3lld", value);
        case NumberStyle::kHexByte:
            return Format("0x%.2llx", static_cast<unsigned long long>(value));
        case NumberStyle::kEightDigits:
            return Format("%*.*lld", 8, 8, value);
    }
    return std::string();
}

}  // namespace vxl

namespace rc = vxl::rc;

IntegerParameter::IntegerParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info,
                                   const vxl::IntegerForm& form, vxl::BitField field)
    : ModemParameter(owner, info), form_(form), field_(field) {}

int IntegerParameter::GetInt(int& value) {
    if (int code = RequireAvailable()) return code;
    uint32_t raw = 0;
    int code = ReadField(field_, raw);
    if (code == rc::kOk) value = static_cast<int>(raw);
    return code;
}

int IntegerParameter::GetText(std::string& text) {
    int value = 0;
    int code = GetInt(value);
    if (code != rc::kOk) return code;
    // Four-byte values wider than a signed number are shown unsigned unless the form is signed.
    long long shown = form_.minimum < 0 ? static_cast<long long>(value)
                                        : static_cast<long long>(static_cast<uint32_t>(value));
    text = vxl::FormatNumber(form_.style, shown);
    return rc::kOk;
}

int IntegerParameter::SetInt(int value) {
    if (int code = RequireAvailable()) return code;
    if (form_.ranged && (value < form_.minimum || value > form_.maximum))
        return rc::kInvalidDefinition;
    return WriteField(field_, static_cast<uint32_t>(value));
}

int IntegerParameter::GetIntRange(int& minimum, int& maximum) {
    if (!form_.ranged) return rc::kNotSupported;
    minimum = static_cast<int>(form_.minimum);
    maximum = static_cast<int>(form_.maximum);
    return rc::kOk;
}

int IntegerParameter::GetChoiceCount(int, int& count) {
    if (form_.positions == 0) return rc::kNotSupported;
    count = form_.positions;
    return rc::kOk;
}

int IntegerParameter::GetChoices(std::vector<std::string>& texts, std::vector<int>& values) {
    if (form_.positions == 0) return rc::kBadParameterId;
    texts.clear();
    values.clear();
    for (int v = 0; v < form_.positions; ++v) {
        texts.push_back(vxl::FormatNumber(vxl::NumberStyle::kDecimal, v));
        values.push_back(v);
    }
    return rc::kOk;
}

int IntegerParameter::ParseInt(const std::string& text, int& value) {
    long long minimum = form_.ranged ? form_.minimum : INT_MIN;
    long long maximum = form_.ranged ? form_.maximum : INT_MAX;
    return vxl::ParseDecimalInt(text, minimum, maximum, value);
}

void IntegerParameter::ResetDefault() {
    defaultInt_ = static_cast<int>(Info().builtInDefault);
}

int IntegerParameter::StoreDefinition(const std::string& text) {
    return ParseInt(text, defaultInt_);
}
