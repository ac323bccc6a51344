// The form of a modem serial number: YYWWnnnn, the year and week the modem was built.
#pragma once

#include <string>

namespace vxl {

// The form check of a serial number typed by the user: 8 characters, YYWW.... with YY a year
// (96 or later, or at most the reference year: the later of `currentYear` and 2004, modulo 100)
// and WW a week 1..52.
bool IsValidSerialNumberText(const std::string& text, int currentYear);
// The same with the calendar year of the clock.
bool IsValidSerialNumberText(const std::string& text);

}  // namespace vxl
