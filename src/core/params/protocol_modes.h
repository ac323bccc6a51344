// The protocol modes (the ProtocolMode parameter's values), their names, and which
// end-of-transmission setting each mode uses.
#pragma once

#include <string>
#include <vector>

namespace vxl::protocol {

constexpr int kTransparentTimeout = 0;
constexpr int kTransparentCharacter = 1;
constexpr int kPacketSwitched = 2;
constexpr int kDigipeater = 3;
constexpr int kFastAsync = 4;
constexpr int kTrimMark = 5;  // TrimMark II/IIe
constexpr int kTrimTalk = 6;  // TrimTalk 450s

// The modes that count their time-outs in finer steps.
constexpr bool IsTrim(int mode) {
    return mode == kTrimMark || mode == kTrimTalk;
}

// How a mode ends a transmission, and so which of the three settings that share one byte
// (EOTCharacter, EOTCount, EOTTimeout) the Serial Interface page shows and a profile carries.
enum class EotSetting { None, Character, Count };
EotSetting EotSettingOf(int mode);

// The names of the modes a modem of `modemType` offers, by value; a value without a name there
// is empty (a receive-only modem has no digipeater mode).
std::vector<std::string> ModeNames(int modemType);
// The name of mode `value` on a modem of `modemType`; empty when it has none there.
std::string ModeName(int modemType, int value);

}  // namespace vxl::protocol
