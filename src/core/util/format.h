// printf-style formatting into a std::string; the texts of the system are printf formats.
#pragma once

#include <cstdint>
#include <string>

namespace vxl {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
Format(const char* format, ...);

// Removes blanks, tabs, CR and LF at both ends.
std::string Trim(const std::string& text);
std::string ToLower(std::string text);
bool EqualsNoCase(const std::string& a, const std::string& b);

// The length (1 to 4) of the UTF-8 character that starts at `at`, or 0 where the bytes there do
// not form one (a stray continuation byte, an overlong form, a surrogate, a cut-off sequence).
size_t Utf8Length(const std::string& text, size_t at);
// The character that starts at `at`, and `at` moved past it; false where the bytes there do not
// form one (`at` then moves past one byte).
bool NextUtf8Character(const std::string& text, size_t& at, uint32_t& character);
// `character` (below U+110000) appended as UTF-8.
void AppendUtf8(std::string& text, uint32_t character);
// The number of characters of a UTF-8 text (a byte that starts none counts as one).
size_t Utf8Characters(const std::string& text);
// A text as a message or a terminal may show it: control characters and bytes that are no UTF-8
// as \xNN (C1 controls as \uNNNN), the rest as it is.
std::string VisibleText(const std::string& text);

}  // namespace vxl
