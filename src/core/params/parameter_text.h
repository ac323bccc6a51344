// Conversions between parameter values and the texts of pages and the definitions file.
#pragma once

#include <string>
#include <vector>

namespace vxl {

// A decimal number within [minimum, maximum]: 0, or 92 when the text holds no number, more than
// one character after the number, or a value outside the limits.
int ParseDecimalInt(const std::string& text, long long minimum, long long maximum, int& value);
int ParseDecimalReal(const std::string& text, double minimum, double maximum, double& value);

// "yes" or "no" in any letter case: 0, else 92.
int ParseYesNo(const std::string& text, bool& value);
const char* YesNoText(bool value);

// The position of the first non-empty text equal to `text` regardless of letter case: 0, or 93.
int MatchChoice(const std::vector<std::string>& texts, const std::string& text, int& position);

}  // namespace vxl
