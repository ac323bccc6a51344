// The property sheet's tab strip as a screen reader sees it: one page tab per tab, greyed tabs
// reported disabled (Qt's own tab strip reports every tab enabled), pressed to select.
#pragma once

class QTabBar;

namespace vxl::gui {

// Installs, once, the accessibility of the tab strips of type SheetTabBar.
void InstallSheetTabAccessibility();

// Tells screen readers that tab `index` of `bar` was enabled or disabled.
void NotifyTabEnabledChanged(QTabBar* bar, int index);

}  // namespace vxl::gui
