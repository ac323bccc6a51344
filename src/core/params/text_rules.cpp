#include "params/text_rules.h"

#include "params/callsign_codec.h"
#include "params/parameter_ids.h"
#include "util/format.h"

namespace vxl {

namespace {

constexpr int kOwnerLength = 32;
constexpr int kLongestCallSign = 10;

bool IsLatin1Printable(uint32_t c) {
    return (c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xFF);
}

uint32_t InCase(const TextRule& rule, uint32_t c) {
    if (rule.characters == TextCharacters::CallSign && c >= 'a' && c <= 'z') return c - 'a' + 'A';
    return c;
}

bool Takes(const TextRule& rule, uint32_t c) {
    if (rule.characters == TextCharacters::CallSign)
        return c < 0x80 && IsCallSignCharacter(static_cast<char>(c));
    return IsLatin1Printable(c);
}

// A character named so that the message shows no control character: U+001B.
std::string Named(uint32_t c, bool valid) {
    if (!valid) return Format("the byte 0x%02X, not UTF-8", c);
    if (c > 0x20 && c < 0x7F) return Format("'%c'", static_cast<char>(c));
    if (c == ' ') return "a blank";
    return Format("U+%04X", c);
}

}  // namespace

TextRule OwnerTextRule() {
    return {TextCharacters::Printable, kOwnerLength, "owner"};
}

TextRule CallSignTextRule(int length) {
    return {TextCharacters::CallSign, length, "call sign"};
}

TextRule TextRuleOf(int id) {
    if (id == pid::kOwner) return OwnerTextRule();
    if (id == pid::kCallSign) return CallSignTextRule(kLongestCallSign);
    return {TextCharacters::Printable, 0, "text"};
}

std::string TextRuleCharacters(const TextRule& rule) {
    if (rule.characters == TextCharacters::CallSign)
        return "takes only the letters A to Z, the digits and !\"$'()+,-./:;=?_ (the characters "
               "with a Morse code)";
    return "takes only printable characters of Western European languages, no control "
           "characters";
}

bool FitsTextRule(const TextRule& rule, std::string& text, std::string* why) {
    std::string fitted;
    size_t count = 0;
    for (size_t at = 0, position = 1; at < text.size(); ++position) {
        uint32_t c = 0;
        const bool valid = NextUtf8Character(text, at, c);
        c = InCase(rule, c);
        if (!valid || !Takes(rule, c)) {
            if (why != nullptr)
                *why = Format("character %zu (%s) cannot be stored: the %s %s", position,
                              Named(c, valid).c_str(), rule.name, TextRuleCharacters(rule).c_str());
            return false;
        }
        AppendUtf8(fitted, c);
        ++count;
    }
    if (rule.maxLength > 0 && count > static_cast<size_t>(rule.maxLength)) {
        if (why != nullptr)
            *why = Format("the %s takes at most %d characters, not %zu", rule.name, rule.maxLength,
                          count);
        return false;
    }
    text = fitted;
    return true;
}

bool NormaliseText(const TextRule& rule, std::string& text, std::string* why) {
    std::string normal = Trim(text);
    if (rule.characters == TextCharacters::CallSign) {
        std::string kept;
        for (char c : normal)
            if (c != ' ' && c != '\t') kept += c;
        normal = kept;
    }
    if (!FitsTextRule(rule, normal, why)) return false;
    text = normal;
    return true;
}

}  // namespace vxl
