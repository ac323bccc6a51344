#include "params/text_parameter.h"

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
    return WriteRaw(Encode(text, GetLength()));
}

int TextParameter::GetMaxLength(int& length) {
    if (int code = RequireAvailable()) {
        length = 0;
        return code;
    }
    length = GetLength();
    return rc::kOk;
}
