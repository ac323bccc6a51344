#include "params/serial_number.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "util/clock.h"

namespace vxl {

namespace {

// The form's limits. Years from 96 on are of the last century; the reference year is never
// before the year this program was built, even when the clock is wrong.
struct SerialNumberForm {
    size_t length;
    int oldestYear;
    int buildYear;
    int weeksPerYear;
};
constexpr SerialNumberForm kForm{8, 96, 2004, 52};

// Two decimal digits at `at`, or -1.
int TwoDigits(const std::string& text, size_t at) {
    if (!std::isdigit(static_cast<unsigned char>(text[at])) ||
        !std::isdigit(static_cast<unsigned char>(text[at + 1])))
        return -1;
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

}  // namespace

bool IsValidSerialNumberText(const std::string& text, int currentYear) {
    if (text.size() != kForm.length) return false;
    const int year = TwoDigits(text, 0);
    const int week = TwoDigits(text, 2);
    if (year < 0 || week < 0) return false;
    const int reference = std::max(currentYear, kForm.buildYear) % 100;
    return (year >= kForm.oldestYear || year <= reference) && week >= 1 &&
           week <= kForm.weeksPerYear;
}

bool IsValidSerialNumberText(const std::string& text) {
    std::time_t now = GetClock().WallSeconds();
    std::tm local{};
    localtime_r(&now, &local);
    return IsValidSerialNumberText(text, local.tm_year + 1900);
}

}  // namespace vxl
