// printf-style formatting into a std::string; the texts of the system are printf formats.
#pragma once

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

}  // namespace vxl
