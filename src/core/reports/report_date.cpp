#include <algorithm>
#include <cstdio>

#include "reports/report_document.h"

namespace vxl {

namespace {
// strftime's "%b" would follow LC_TIME, which a window toolkit sets to the user's locale.
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
}  // namespace

std::string FormatReportDate(std::time_t when) {
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr) return std::string();
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s %02d, %04d  %02d:%02d:%02d",
                  kMonths[std::clamp(local.tm_mon, 0, 11)], local.tm_mday, local.tm_year + 1900,
                  local.tm_hour, local.tm_min, local.tm_sec);
    return buffer;
}

}  // namespace vxl
