#include "params/identity_parameters.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "params/callsign_codec.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_ids.h"
#include "util/clock.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace rc = vxl::rc;
namespace pid = vxl::pid;
using vxl::CatalogueRow;

namespace vxl {

namespace {

// The year this program was built; serial numbers from before the clock's year are accepted
// up to it even when the clock is wrong.
constexpr int kBuildYear = 2004;
constexpr int kSerialNumberLength = 8;
constexpr int kOldestYear = 96;
constexpr int kWeeksPerYear = 52;

// Two decimal digits at `at`, or -1.
int TwoDigits(const std::string& text, size_t at) {
    if (!std::isdigit(static_cast<unsigned char>(text[at])) ||
        !std::isdigit(static_cast<unsigned char>(text[at + 1])))
        return -1;
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

}  // namespace

bool IsValidSerialNumberText(const std::string& text, int currentYear) {
    if (text.size() != kSerialNumberLength) return false;
    const int year = TwoDigits(text, 0);
    const int week = TwoDigits(text, 2);
    if (year < 0 || week < 0) return false;
    const int reference = std::max(currentYear, kBuildYear) % 100;
    return (year >= kOldestYear || year <= reference) && week >= 1 && week <= kWeeksPerYear;
}

bool IsValidSerialNumberText(const std::string& text) {
    std::time_t now = GetClock().WallSeconds();
    std::tm local{};
    localtime_r(&now, &local);
    return IsValidSerialNumberText(text, local.tm_year + 1900);
}

}  // namespace vxl

SerialNumber::SerialNumber(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kSerialNumber), vxl::kEightDigitForm) {}

int SerialNumber::SetText(const std::string& text) {
    int value = 0;
    int code = ParseInt(vxl::Trim(text), value);
    if (code != rc::kOk) return code;
    return SetInt(value);
}

Owner::Owner(ModemParameterSet* owner) : TextParameter(owner, CatalogueRow(pid::kOwner)) {}

std::vector<uint8_t> Owner::Encode(const std::string& text, int length) {
    std::string kept = vxl::Trim(text).substr(0, static_cast<size_t>(length));
    std::vector<uint8_t> bytes(static_cast<size_t>(length), 0);
    std::copy(kept.begin(), kept.end(), bytes.begin());
    return bytes;
}

std::string Owner::Decode(const std::vector<uint8_t>& bytes) {
    auto end = std::find(bytes.begin(), bytes.end(), 0);
    return std::string(bytes.begin(), end);
}

CallSign::CallSign(ModemParameterSet* owner) : TextParameter(owner, CatalogueRow(pid::kCallSign)) {}

std::vector<uint8_t> CallSign::Encode(const std::string& text, int length) {
    return vxl::EncodeCallSign(text, length);
}

std::string CallSign::Decode(const std::vector<uint8_t>& bytes) {
    return vxl::DecodeCallSign(bytes.data(), static_cast<int>(bytes.size()));
}

LastFailure::LastFailure(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kLastFailure), vxl::kHexForm) {}

SystemClock::SystemClock(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kSystemClock), vxl::kHexForm) {}

ModemEnable::ModemEnable(ModemParameterSet* owner)
    : FlagParameter(owner, CatalogueRow(pid::kModemEnable), vxl::kBit7) {}

DataSecurityCode::DataSecurityCode(ModemParameterSet* owner)
    : IntegerParameter(owner, CatalogueRow(pid::kDataSecurityCode), vxl::kSignedEightDigitForm) {}
