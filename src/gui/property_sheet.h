// The tabbed view of the modem's settings: six pages in a fixed order, of which the End User
// level shows Identification, Radio Link and Serial Interface, and Memory Map on demand.
// Disabled tabs are greyed and skipped, by the mouse and by the keyboard, with wrap-around.
#pragma once

#include <QTabBar>
#include <QTabWidget>
#include <array>

#include "gui/page.h"

namespace vxl::gui {

class SheetTabBar : public QTabBar {
    Q_OBJECT
  public:
    explicit SheetTabBar(QWidget* parent = nullptr);
    // The nearest enabled tab from `index` in `direction` (+1 or -1), wrapping at the ends;
    // -1 when no tab is enabled.
    int NearestEnabled(int index, int direction) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class PropertySheet : public QTabWidget {
    Q_OBJECT
  public:
    // Builds every page; `tabs` are shown from the start.
    PropertySheet(EditSink* sink, const DialogUnits& units, const std::vector<SheetPage>& tabs,
                  QWidget* parent = nullptr);

    Page* page(SheetPage index) const { return pages_[static_cast<int>(index)]; }
    // True while the page is one of the sheet's tabs.
    bool Shows(SheetPage index) const;
    // Adds a page as a tab in its place in the fixed order (nothing when it is shown already).
    void AddPage(SheetPage index);

    // Enables or disables every tab but the first; disabling makes Identification active.
    void EnablePages(bool enable);
    bool PagesEnabled() const { return pagesEnabled_; }
    // Adds the Memory Map page; with a modem loaded it becomes the active page. False when it
    // was shown already.
    bool ShowMemoryMapPage(bool loaded);

    // Every page among the tabs shows the parameters that changed; on page `source` the control
    // of `keptId` stays as the operator left it.
    void Refresh(const ParameterChanges& changes, ModemParameterSet& parameters, SheetPage source,
                 int keptId);
    void UpdateControls(bool loaded, ModemParameterSet* parameters);
    void ClearChangedFlags();

  private:
    SheetTabBar* bar_;
    std::array<Page*, 6> pages_{};
    bool pagesEnabled_ = true;
    int lastIndex_ = 0;
};

}  // namespace vxl::gui
