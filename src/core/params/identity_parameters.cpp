#include "params/identity_parameters.h"

#include <algorithm>

#include "params/callsign_codec.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_ids.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace rc = vxl::rc;
namespace pid = vxl::pid;
using vxl::CatalogueRow;

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
