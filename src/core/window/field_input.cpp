#include "window/field_input.h"

#include <cctype>

namespace vxl {

namespace {

constexpr int kSerialNumberDigits = 8;

int DigitsIn(int value, int base) {
    int digits = 1;
    for (unsigned v = static_cast<unsigned>(value < 0 ? -value : value); v >= unsigned(base);
         v /= base)
        ++digits;
    return digits;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool TakesCharacters(const FieldInputRule& rule, std::string& text) {
    switch (rule.kind) {
        case FieldInputKind::Integer:
            for (char c : text)
                if (!IsDigit(c) && rule.extra.find(c) == std::string::npos) return false;
            return true;
        case FieldInputKind::Hexadecimal:
            for (char c : text)
                if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
            return true;
        case FieldInputKind::Decimal: {
            const size_t point = text.find('.');
            for (size_t i = 0; i < text.size(); ++i)
                if (!IsDigit(text[i]) && i != point) return false;
            return point == std::string::npos ||
                   static_cast<int>(text.size() - point - 1) <= rule.decimals;
        }
        case FieldInputKind::Text:
            return FitsTextRule(rule.text, text);
        case FieldInputKind::SerialNumber:
            for (char c : text)
                if (!IsDigit(c)) return false;
            return true;
    }
    return false;
}

}  // namespace

FieldInputRule IntegerInput(int maximum, bool hexadecimal, const std::string& extra) {
    FieldInputRule rule;
    rule.kind = hexadecimal ? FieldInputKind::Hexadecimal : FieldInputKind::Integer;
    rule.maxLength = DigitsIn(maximum, hexadecimal ? 16 : 10);
    rule.extra = hexadecimal ? std::string() : extra;
    return rule;
}

FieldInputRule DecimalInput(int decimals) {
    FieldInputRule rule;
    rule.kind = FieldInputKind::Decimal;
    rule.decimals = decimals;
    return rule;
}

FieldInputRule TextInput(const TextRule& text) {
    FieldInputRule rule;
    rule.kind = FieldInputKind::Text;
    rule.text = text;
    return rule;
}

FieldInputRule CallSignInput(int maxLength) {
    return TextInput(CallSignTextRule(maxLength));
}

FieldInputRule SerialNumberInput() {
    FieldInputRule rule;
    rule.kind = FieldInputKind::SerialNumber;
    rule.maxLength = kSerialNumberDigits;
    return rule;
}

bool TakeFieldInput(const FieldInputRule& rule, std::string& text) {
    std::string taken = text;
    if (!TakesCharacters(rule, taken)) return false;
    if (rule.maxLength > 0 && static_cast<int>(taken.size()) > rule.maxLength) return false;
    text = taken;
    return true;
}

}  // namespace vxl
