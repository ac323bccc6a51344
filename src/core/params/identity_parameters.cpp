#include "params/identity_parameters.h"

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

vxl::TextRule Owner::Rule() const {
    vxl::TextRule rule = vxl::OwnerTextRule();
    rule.maxLength = GetLength();
    return rule;
}

bool Owner::HoldsByte(uint8_t byte) const {
    return byte == 0 || (byte >= 0x20 && byte <= 0x7E) || byte >= 0xA0;
}

std::vector<uint8_t> Owner::Encode(const std::string& text, int length) {
    std::vector<uint8_t> bytes(static_cast<size_t>(length), 0);
    size_t n = 0;
    uint32_t character = 0;
    for (size_t at = 0; at < text.size() && n < bytes.size();)
        if (vxl::NextUtf8Character(text, at, character) && character <= 0xFF)
            bytes[n++] = static_cast<uint8_t>(character);
    return bytes;
}

std::string Owner::Decode(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (auto byte = bytes.begin(); byte != bytes.end() && *byte != 0; ++byte)
        vxl::AppendUtf8(text, HoldsByte(*byte) ? *byte : 0xFFFDu);
    return text;
}

CallSign::CallSign(ModemParameterSet* owner) : TextParameter(owner, CatalogueRow(pid::kCallSign)) {}

vxl::TextRule CallSign::Rule() const {
    return vxl::CallSignTextRule(GetLength());
}

bool CallSign::HoldsByte(uint8_t byte) const {
    return vxl::IsCallSignCode(byte);
}

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
