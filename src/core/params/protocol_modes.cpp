#include "params/protocol_modes.h"

#include "params/modem_types.h"

namespace vxl::protocol {

namespace {

const std::vector<std::string> kNames = {
    "Transparent w/EOT Timeout",
    "Transparent w/EOT Character",
    "Packet Switched",
    "Digipeater",
    "Fast Async",
    "TrimMark II/IIe",
    "TrimTalk 450s",
};

constexpr int kQmxModes = kFastAsync + 1;

}  // namespace

EotSetting EotSettingOf(int mode) {
    switch (mode) {
        case kTransparentCharacter:
            return EotSetting::Character;
        case kTransparentTimeout:
        case kFastAsync:
        case kTrimMark:
        case kTrimTalk:
            return EotSetting::Count;
        default:
            return EotSetting::None;
    }
}

std::vector<std::string> ModeNames(int modemType) {
    if (modemType == kModemTypeVxl) return kNames;
    if (!IsQmxType(modemType)) return {};
    std::vector<std::string> names(kNames.begin(), kNames.begin() + kQmxModes);
    if (modemType == kModemTypeQmxReceiveOnly) names[kDigipeater].clear();
    return names;
}

std::string ModeName(int modemType, int value) {
    const std::vector<std::string> names = ModeNames(modemType);
    if (value < 0 || value >= static_cast<int>(names.size())) return std::string();
    return names[static_cast<size_t>(value)];
}

}  // namespace vxl::protocol
