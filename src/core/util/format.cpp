#include "util/format.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace vxl {

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        out.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
    return out;
}

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string ToLower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

size_t Utf8Length(const std::string& text, size_t at) {
    auto byte = [&](size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
    };
    const unsigned lead = byte(0);
    if (at >= text.size()) return 0;
    if (lead < 0x80) return 1;
    // The smallest lead byte of each length, and the range its second byte must lie in to be
    // neither overlong, a surrogate nor beyond U+10FFFF.
    size_t length = 0;
    unsigned low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (byte(1) < low || byte(1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

}  // namespace vxl

namespace vxl {

bool NextUtf8Character(const std::string& text, size_t& at, uint32_t& character) {
    const size_t length = Utf8Length(text, at);
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    if (length == 0) {
        character = at < text.size() ? byte(0) : 0;
        ++at;
        return false;
    }
    static const unsigned kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    character = byte(0) & kLeadBits[length];
    for (size_t i = 1; i < length; ++i) character = (character << 6) | (byte(i) & 0x3F);
    at += length;
    return true;
}

void AppendUtf8(std::string& text, uint32_t character) {
    auto put = [&text](uint32_t bits) { text += static_cast<char>(bits); };
    if (character < 0x80) {
        put(character);
    } else if (character < 0x800) {
        put(0xC0 | (character >> 6));
        put(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        put(0xE0 | (character >> 12));
        put(0x80 | ((character >> 6) & 0x3F));
        put(0x80 | (character & 0x3F));
    } else {
        put(0xF0 | (character >> 18));
        put(0x80 | ((character >> 12) & 0x3F));
        put(0x80 | ((character >> 6) & 0x3F));
        put(0x80 | (character & 0x3F));
    }
}

size_t Utf8Characters(const std::string& text) {
    size_t count = 0;
    uint32_t character = 0;
    for (size_t at = 0; at < text.size(); ++count) NextUtf8Character(text, at, character);
    return count;
}

std::string VisibleText(const std::string& text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t start = at;
        uint32_t c = 0;
        if (!NextUtf8Character(text, at, c) || c < 0x20 || c == 0x7F)
            out += Format("\\x%02X", static_cast<unsigned char>(text[start]));
        else if (c >= 0x80 && c < 0xA0)
            out += Format("\\u%04X", c);
        else
            out.append(text, start, at - start);
    }
    return out;
}

}  // namespace vxl
