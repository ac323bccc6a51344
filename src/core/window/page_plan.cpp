#include "window/page_plan.h"

#include "window/control_ids.h"

namespace vxl {

std::vector<SheetPage> StartPages(PrivilegeLevel level) {
    std::vector<SheetPage> pages = {SheetPage::Identification, SheetPage::RadioLink,
                                    SheetPage::SerialInterface};
    if (ShowsFrequenciesPage(level)) pages.push_back(SheetPage::Frequencies);
    if (ShowsFactoryPage(level)) pages.push_back(SheetPage::Factory);
    return pages;
}

const std::vector<PageControl>& HiddenControls() {
    static const std::vector<PageControl> controls = {
        {SheetPage::SerialInterface, control::kDataSecurityCode},
        {SheetPage::SerialInterface, control::kDataSecurityCodeLabel},
        {SheetPage::RadioLink, control::kManualSelection},
        {SheetPage::RadioLink, control::kAutoBaseSelection},
        {SheetPage::RadioLink, control::kAutoRoverSelection},
        {SheetPage::RadioLink, control::kRoverAutoOff},
    };
    return controls;
}

}  // namespace vxl
