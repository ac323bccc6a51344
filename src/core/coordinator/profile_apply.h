// Applying a settings profile to the working settings of the loaded modem.
#pragma once

#include <string>
#include <vector>

#include "coordinator/profile_file.h"

class CCoordinator;

namespace vxl {

// An entry of a profile that was not applied, and why; or (`applied`) one that was applied in
// another form than it was written, and how (a call sign upper-cased).
struct RefusedEntry {
    std::string key;
    std::string value;
    std::string why;
    bool applied = false;
};

// Applies the profile through the edit operations; every entry that was not applied, or that
// another setting's rule changed afterwards, is listed in `refused`, as is every entry stored in
// another form (marked `applied`). A text that breaks its field's rule (params/text_rules.h) is
// not applied. 0, or 57 with nothing loaded.
int ApplyProfile(CCoordinator& coordinator, const Profile& profile,
                 std::vector<RefusedEntry>& refused);

}  // namespace vxl
