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
// nor taken from one. A profile is applied through the coordinator's edit operations, so the
// rules that tie parameters together hold as if the operator had made the changes.
#pragma once

#include <string>
#include <utility>
#include <vector>

class CCoordinator;

namespace vxl {

struct Profile {
    std::string section;
    std::vector<std::pair<std::string, std::string>> entries;  // key, value; in file order
};

// An entry of a profile that was not applied, and why.
struct RefusedEntry {
    std::string key;
    std::string value;
    std::string why;
};

// The key of a parameter in profiles and lists: its catalogue key, "RXChannel_n" and
// "TXChannel_n" for the channel frequencies.
std::string ProfileKey(int id);

// The loaded modem's user settings as the text of a profile; false with nothing loaded.
bool BuildProfile(CCoordinator& coordinator, std::string& text);
// Writes the profile to `path` atomically: 0, 57 with nothing loaded, or a file error (901..914)
// with the reason in `problem`.
int SaveProfile(CCoordinator& coordinator, const std::string& path, std::string* problem = nullptr);

// Reads a profile's text: 0, or rc::kProfileDamaged with the reason.
int ParseProfile(const std::string& text, Profile& profile, std::string& reason);
// Reads and checks a profile file: 0, a file error, rc::kTooManyBytes or rc::kProfileDamaged.
int ReadProfileFile(const std::string& path, Profile& profile, std::string& reason);

// Applies the profile to the working image; every entry that was not applied, or that another
// setting's rule changed afterwards, is listed in `refused`. 0, or 57 with nothing loaded.
int ApplyProfile(CCoordinator& coordinator, const Profile& profile,
                 std::vector<RefusedEntry>& refused);

}  // namespace vxl
