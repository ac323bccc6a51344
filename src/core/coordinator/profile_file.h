// Settings profiles: the user settings of one modem (everything the End User pages can edit,
// and the channel table) in the definitions file's form, to configure other modems alike. A
// profile is one section named after the model, one line per parameter key, each value as the
// program shows it:
//
//   ; vxlconf settings profile of modem 01427259 (VXL, firmware 2.20)
//   [VXL]
//   ProtocolMode=Packet Switched
//   BaudRate=9600
//   ...
//   RXChannel_0=455.0000
//   CurrentChannel=0
//
// Identity fields (serial number, model, band, power, firmware) are never written to a profile
// nor taken from one. This file is the format: which settings a profile holds, how each value is
// written, reading and checking a profile file. Applying one is profile_apply.
#pragma once

#include <string>
#include <utility>
#include <vector>

class CCoordinator;
class ModemParameterSet;

namespace vxl {

struct Profile {
    std::string section;
    std::vector<std::pair<std::string, std::string>> entries;  // key, value; in file order
};

// How a setting's value is written and read back.
enum class ProfileForm {
    Text,       // free text (Owner, CallSign)
    Choice,     // one of the parameter's choice texts, or a number within its limits
    Flag,       // yes / no
    Real,       // a decimal number within the parameter's limits
    Character,  // a character's name, as the EOT Character field shows it
    Channel,    // the current channel's number
};

struct ProfileSetting {
    int id;
    ProfileForm form;
};

// The settings of the End User pages, in the order they are applied: each rule's inputs before
// the values the rule may change, the channel table before the current channel.
const std::vector<ProfileSetting>& ProfileSettings();
// The identity fields, never carried.
const std::vector<int>& ProfileIdentityIds();

// The key of a parameter in profiles and lists: its catalogue key, "RXChannel_n" and
// "TXChannel_n" for the channel frequencies.
std::string ProfileKey(int id);

// The value of a setting as the pages show it; false when it cannot be read.
bool ShownProfileValue(ModemParameterSet& set, const ProfileSetting& setting, std::string& value);

// The loaded modem's user settings as the text of a profile; false with nothing loaded.
bool BuildProfile(CCoordinator& coordinator, std::string& text);
// Writes the profile to `path` atomically: 0, 57 with nothing loaded, or a file error (901..914)
// with the reason in `problem`.
int SaveProfile(CCoordinator& coordinator, const std::string& path, std::string* problem = nullptr);

// Reads a profile's text: 0, or rc::kProfileDamaged with the reason.
int ParseProfile(const std::string& text, Profile& profile, std::string& reason);
// Reads and checks a profile file: 0, a file error, rc::kTooManyBytes or rc::kProfileDamaged.
int ReadProfileFile(const std::string& path, Profile& profile, std::string& reason);

}  // namespace vxl
