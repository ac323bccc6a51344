// Which settings differ between two images of one modem, by parameter, with the values as the
// pages show them: the one list behind the restore list, the dry run and the question Load
// Profile asks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vxl {

class WorkingSettings;

struct SettingDifference {
    int id = 0;
    std::string key;  // "BaudRate", "RXChannel_3", "TXChannel_3" (ProfileKey)
    std::string before;
    std::string after;
};

// The parameters whose shown values differ between the settings in `bytes` (the N + E
// configuration bytes of an image laid out as the loaded one) and the loaded working settings,
// in id order: `before` as in `bytes`, `after` as loaded. Empty with nothing loaded or bytes
// that do not fit the image.
std::vector<SettingDifference> DifferencesFrom(const std::vector<uint8_t>& bytes,
                                               const WorkingSettings& settings);

// The list as the operator reads it, one line each: "BaudRate: 9600 -> 19200" (an empty value
// shows as "(empty)").
std::string DifferenceLines(const std::vector<SettingDifference>& differences);

}  // namespace vxl
