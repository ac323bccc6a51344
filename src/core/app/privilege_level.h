// The privilege level the program runs at. End User shows the operator's pages; Dealer adds the
// Frequencies page, Factory the Frequencies and Factory pages. The level's name ends the window
// title and is printed in the configuration report.
#pragma once

namespace vxl {

enum class PrivilegeLevel { EndUser, Dealer, Factory };

// "End User", "Dealer" or "Factory".
const char* LevelName(PrivilegeLevel level);
bool ShowsFrequenciesPage(PrivilegeLevel level);
bool ShowsFactoryPage(PrivilegeLevel level);

}  // namespace vxl
