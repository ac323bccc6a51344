#include "params/text_parameter.h"

#include "params/modem_parameter_set.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace rc = vxl::rc;

TextParameter::TextParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info)
    : ModemParameter(owner, info) {}

int TextParameter::GetText(std::string& text) {
    if (int code = RequireAvailable()) return code;
    std::vector<uint8_t> bytes;
    int code = ReadRaw(bytes);
    if (code == rc::kOk) text = Decode(bytes);
    return code;
}

int TextParameter::SetText(const std::string& text) {
    if (int code = RequireAvailable()) return code;
    if (GetLength() < 1) return rc::kBadOffsetOrLength;
    std::string normal = text;
    if (!vxl::NormaliseText(Rule(), normal)) return rc::kInvalidDefinition;
    return WriteRaw(Encode(normal, GetLength()));
}

int TextParameter::GetMaxLength(int& length) {
    if (int code = RequireAvailable()) {
        length = 0;
        return code;
    }
    length = GetLength();
    return rc::kOk;
}

// ---- The set's view of its text fields ----

bool ModemParameterSet::GetTextRule(int id, vxl::TextRule& rule) {
    auto* text = dynamic_cast<TextParameter*>(Get(id));
    if (text == nullptr) return false;
    rule = text->Rule();
    return true;
}

std::string ModemParameterSet::WhyByteRefused(int address, uint8_t value) {
    for (int id = 0; id < vxl::pid::kParameterCount; ++id) {
        auto* text = dynamic_cast<TextParameter*>(Get(id));
        if (text == nullptr || !text->IsAvailable() || address < text->GetAddress() ||
            address >= text->GetAddress() + text->GetLength() || text->HoldsByte(value))
            continue;
        const vxl::TextRule rule = text->Rule();
        return vxl::Format(
            "0x%02X cannot be stored at 0x%04X: that byte belongs to the %s, which %s", value,
            address, rule.name, vxl::TextRuleCharacters(rule).c_str());
    }
    return std::string();
}
