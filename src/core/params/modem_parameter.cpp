#include "params/modem_parameter.h"

#include <cmath>

#include "params/definitions.h"
#include "params/location_table.h"
#include "params/model_tables.h"
#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "params/protocol_modes.h"
#include "util/result_codes.h"

namespace vxl {

bool RevisionAtLeast(double revision, int hundredths) {
    return std::lround(revision * 100.0) >= hundredths;
}

}  // namespace vxl

using vxl::Rule;
namespace rc = vxl::rc;

ModemParameter::ModemParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info)
    : owner_(owner),
      info_(info),
      id_(info.id),
      hasDefinition_(info.definition != vxl::Definition::kNone),
      key_(info.key != nullptr ? info.key : "") {
    vxl::LocationRow row;
    // A row of another id is refused, yet its values are taken like any other.
    if (vxl::FindLocationRow(id_, owner_->GetModemType(), row) != rc::kBadModemTypeForLayout) {
        address_ = row.address;
        length_ = row.length;
        kind_ = row.kind;
    }
}

ModemParameter::~ModemParameter() = default;

int ModemParameter::GetText(std::string&) {
    return rc::kOk;
}
int ModemParameter::GetChoiceCount(int, int&) {
    return rc::kNotSupported;
}
int ModemParameter::GetIntRange(int&, int&) {
    return rc::kNotSupported;
}
int ModemParameter::GetRealRange(double&, double&, int&) {
    return rc::kNotSupported;
}
int ModemParameter::GetChoices(std::vector<std::string>&, std::vector<int>&) {
    return rc::kBadParameterId;
}
int ModemParameter::GetBool(bool&) {
    return rc::kNotSupported;
}
int ModemParameter::GetReal(double&) {
    return rc::kNotSupported;
}
int ModemParameter::GetInt(int&) {
    return rc::kNotSupported;
}
int ModemParameter::GetMaxLength(int&) {
    return rc::kNotSupported;
}
int ModemParameter::SetText(const std::string&) {
    return rc::kNotSupported;
}
int ModemParameter::SetReal(double) {
    return rc::kNotSupported;
}
int ModemParameter::SetInt(int) {
    return rc::kNotSupported;
}
int ModemParameter::SetBool(bool) {
    return rc::kNotSupported;
}
bool ModemParameter::IsChoiceEnabled(int) {
    return false;
}
bool ModemParameter::IsAvailable() {
    return Holds(info_.available);
}
bool ModemParameter::IsEditable() {
    return Holds(info_.editable);
}
int ModemParameter::ParseReal(const std::string&, double&) {
    return rc::kNotSupported;
}
int ModemParameter::ParseInt(const std::string&, int&) {
    return rc::kNotSupported;
}
std::string ModemParameter::GetName() const {
    return key_;
}
int ModemParameter::GetKind() const {
    return kind_;
}
bool ModemParameter::HasDefault() const {
    return hasDefinition_;
}
int ModemParameter::GetDefaultInt() const {
    return defaultInt_;
}
double ModemParameter::GetDefaultReal() const {
    return defaultReal_;
}
bool ModemParameter::GetDefaultBool() const {
    return defaultBool_;
}
void ModemParameter::ResetDefault() {}
int ModemParameter::StoreDefinition(const std::string&) {
    return rc::kTakesNoDefinition;
}

int ModemParameter::LoadDefault(std::string& location) {
    ResetDefault();
    if (!hasDefinition_ ||
        (info_.definition == vxl::Definition::kFileWhenAvailable && !IsAvailable())) {
        location.clear();
        return rc::kOk;
    }
    std::string text;
    int code = ReadDefinition(text, ModemType(), CurrentModel(), location);
    if (code != rc::kOk) return code;
    return StoreDefinition(text);
}

int ModemParameter::ReadDefinition(std::string& value, int modemType, int model,
                                   std::string& location) {
    if (!hasDefinition_) return rc::kTakesNoDefinition;
    return vxl::ReadDefinitionEntry(key_, modemType, model, value, location);
}

int ModemParameter::ModemType() const {
    return owner_->GetModemType();
}

double ModemParameter::FirmwareRevision() const {
    const ModemMemoryImage* image = owner_->GetImage();
    return image == nullptr ? 0.0 : image->GetFirmwareRevision();
}

int ModemParameter::IntOf(int id, int fallback) const {
    int value = fallback;
    if (owner_->GetInt(id, value) != rc::kOk) return fallback;
    return value;
}

bool ModemParameter::Transmits() const {
    switch (ModemType()) {
        case 1:
        case 2:
            return true;
        case 4:
            return vxl::Type4Transmits(CurrentModel());
        default:
            return false;
    }
}

bool ModemParameter::Holds(Rule rule) const {
    const int type = ModemType();
    const int mode = rule >= Rule::kAddressProtocols ? CurrentProtocol() : -1;
    switch (rule) {
        case Rule::kAlways:
            return true;
        case Rule::kNever:
            return false;
        case Rule::kTransmitter:
            return Transmits();
        case Rule::kType4:
            return type == vxl::kModemTypeVxl;
        case Rule::kType4Transmitter:
            return type == vxl::kModemTypeVxl && Transmits();
        case Rule::kType4Revision104:
            return type == vxl::kModemTypeVxl && vxl::RevisionAtLeast(FirmwareRevision(), 104);
        case Rule::kRoverAutoOff:
            return type == vxl::kModemTypeVxl && vxl::RevisionAtLeast(FirmwareRevision(), 104) &&
                   CurrentModel() == 1;
        case Rule::kCallSign:
            return type == vxl::kModemTypeQmx || (type == vxl::kModemTypeVxl && Transmits());
        case Rule::kNotType3:
            return type != vxl::kModemTypeQmxReceiveOnly;
        case Rule::kAddressProtocols:
            return mode >= vxl::protocol::kTransparentTimeout &&
                   mode <= vxl::protocol::kPacketSwitched;
        case Rule::kNotFastAsync:
            return mode != vxl::protocol::kFastAsync;
        case Rule::kNotDigipeaterOrFastAsync:
            return mode != vxl::protocol::kDigipeater && mode != vxl::protocol::kFastAsync;
        case Rule::kModulationEditable: {
            int count = 0;
            owner_->GetChoiceCount(vxl::pid::kModulationType, type, count);
            return type == vxl::kModemTypeVxl && count >= 2 && !vxl::protocol::IsTrim(mode);
        }
        case Rule::kCurrentChannelEditable:
            if (type == vxl::kModemTypeVxl && owner_->IsAvailable(vxl::pid::kChannelSelectType))
                return IntOf(vxl::pid::kChannelSelectType, -1) == 0;
            return true;
    }
    return false;
}

int ModemParameter::RequireAvailable() {
    if (!info_.guardsValues || IsAvailable()) return rc::kOk;
    return rc::kNotAvailable;
}

int ModemParameter::ReadRaw(std::vector<uint8_t>& bytes) const {
    bytes.assign(static_cast<size_t>(length_ > 0 ? length_ : 0), 0);
    return owner_->ReadBytes(address_, length_, bytes.data());
}

int ModemParameter::WriteRaw(const std::vector<uint8_t>& bytes) {
    if (static_cast<int>(bytes.size()) != length_) return rc::kBadOffsetOrLength;
    return owner_->WriteBytes(address_, length_, bytes.data());
}

int ModemParameter::ReadField(vxl::BitField field, uint32_t& value) const {
    std::vector<uint8_t> bytes;
    int code = ReadRaw(bytes);
    if (code != rc::kOk) return code;
    uint32_t raw = 0;
    for (uint8_t b : bytes) raw = (raw << 8) | b;
    value = field.mask == 0 ? raw : (raw & field.mask) >> field.shift;
    return rc::kOk;
}

int ModemParameter::WriteField(vxl::BitField field, uint32_t value) {
    uint32_t raw = value;
    if (field.mask != 0) {
        uint32_t current = 0;
        int code = ReadField(vxl::kWholeValue, current);
        if (code != rc::kOk) return code;
        raw = (current & ~field.mask) | ((value << field.shift) & field.mask);
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(length_ > 0 ? length_ : 0), 0);
    for (size_t i = bytes.size(); i-- > 0;) {
        bytes[i] = static_cast<uint8_t>(raw & 0xFF);
        raw >>= 8;
    }
    return WriteRaw(bytes);
}
