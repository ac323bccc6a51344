#include "reports/protocol_mode_names.h"

namespace vxl {

namespace {

constexpr const char* kNames[] = {
    "Transparent w/EOT Timeout",
    "Transparent w/EOT Character",
    "Packet Switched",
    "Digipeater",
    "Fast Async",
    "TrimMark II/IIe",
    "TrimTalk 450s",
};

constexpr int kDigipeater = 3;
constexpr int kQmxModes = 5;
constexpr int kType4Modes = 7;
constexpr int kReceiveOnlyType = 3;

}  // namespace

std::string ProtocolModeName(int modemType, int value) {
    int count = modemType == 4 ? kType4Modes : kQmxModes;
    if (value < 0 || value >= count) return std::string();
    if (modemType == kReceiveOnlyType && value == kDigipeater) return std::string();
    return kNames[value];
}

}  // namespace vxl
