// The pages of the property sheet and what a privilege level shows of them: the pages in their
// fixed order, the tabs a level starts with, and the controls no level uses.
#pragma once

#include <vector>

#include "app/privilege_level.h"

namespace vxl {

enum class SheetPage {
    Identification,
    RadioLink,
    SerialInterface,
    Frequencies,
    MemoryMap,
    Factory
};

constexpr SheetPage kSheetPages[] = {SheetPage::Identification,  SheetPage::RadioLink,
                                     SheetPage::SerialInterface, SheetPage::Frequencies,
                                     SheetPage::MemoryMap,       SheetPage::Factory};

// The tabs of a freshly opened window, in the sheet's order: Identification, Radio Link and
// Serial Interface; the Frequencies page from the Dealer level on, the Factory page at the
// Factory level. The Memory Map page comes on demand.
std::vector<SheetPage> StartPages(PrivilegeLevel level);

struct PageControl {
    SheetPage page;
    int controlId;
};

// Controls hidden for good: the data security code with its label, the channel-selection
// buttons and Rover Auto-Off.
const std::vector<PageControl>& HiddenControls();

}  // namespace vxl
