// Applying a settings profile to the working settings of the loaded modem.
#pragma once

#include <string>
#include <vector>

#include "coordinator/profile_file.h"

class CCoordinator;

namespace vxl {

// An entry of a profile that was not applied, and why.
struct RefusedEntry {
    std::string key;
    std::string value;
    std::string why;
};

// Applies the profile through the edit operations; every entry that was not applied, or that
// another setting's rule changed afterwards, is listed in `refused`. 0, or 57 with nothing
// loaded.
int ApplyProfile(CCoordinator& coordinator, const Profile& profile,
                 std::vector<RefusedEntry>& refused);

}  // namespace vxl
