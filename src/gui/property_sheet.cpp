#include "gui/property_sheet.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProxyStyle>

#include "gui/page_registry.h"
#include "gui/sheet_tab_accessibility.h"

namespace vxl::gui {

namespace {

// Tabs with less space beside their text, so that the six tabs of the Factory level fit the
// sheet; texts that still do not fit are shortened rather than scrolled out of sight.
class CompactTabStyle : public QProxyStyle {
  public:
    // Over the style the application uses.
    CompactTabStyle() : QProxyStyle(QApplication::style()->name()) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace)
            return QProxyStyle::pixelMetric(metric, option, widget) / 3;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

SheetTabBar::SheetTabBar(QWidget* parent) : QTabBar(parent) {
    InstallSheetTabAccessibility();
}

int SheetTabBar::NearestEnabled(int index, int direction) const {
    const int n = count();
    for (int step = 0; step < n; ++step) {
        const int candidate = ((index + direction * step) % n + n) % n;
        if (isTabEnabled(candidate)) return candidate;
    }
    return -1;
}

void SheetTabBar::keyPressEvent(QKeyEvent* event) {
    int direction = 0;
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Up) direction = -1;
    if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Down) direction = 1;
    if (direction == 0 || count() == 0) {
        QTabBar::keyPressEvent(event);
        return;
    }
    const int next = NearestEnabled(currentIndex() + direction, direction);
    if (next >= 0) setCurrentIndex(next);
}

PropertySheet::PropertySheet(EditSink* sink, const DialogUnits& units,
                             const std::vector<SheetPage>& tabs, QWidget* parent)
    : QTabWidget(parent), bar_(new SheetTabBar(this)) {
    setObjectName(QStringLiteral("propertySheet"));
    auto* style = new CompactTabStyle;
    style->setParent(bar_);
    bar_->setStyle(style);
    bar_->setElideMode(Qt::ElideRight);
    bar_->setUsesScrollButtons(false);
    setTabBar(bar_);
    for (SheetPage index : kSheetPages) {
        Page* page = MakePage(index, sink, units, this);
        page->hide();
        pages_[static_cast<int>(index)] = page;
    }
    for (SheetPage index : tabs) AddPage(index);
    setCurrentIndex(0);
    // A tab that cannot be selected hands the request on to the nearest one that can.
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && !bar_->isTabEnabled(index)) {
            const int direction = index < lastIndex_ ? -1 : 1;
            setCurrentIndex(bar_->NearestEnabled(index, direction));
            return;
        }
        lastIndex_ = index;
    });
}

bool PropertySheet::Shows(SheetPage index) const {
    return indexOf(page(index)) >= 0;
}

void PropertySheet::AddPage(SheetPage index) {
    Page* added = page(index);
    if (Shows(index)) return;
    int position = 0;
    for (int i = 0; i < static_cast<int>(index); ++i) {
        if (Shows(static_cast<SheetPage>(i))) ++position;
    }
    insertTab(position, added, added->title());
    setTabEnabled(position, pagesEnabled_ || position == 0);
}

void PropertySheet::EnablePages(bool enable) {
    pagesEnabled_ = enable;
    for (int i = 1; i < count(); ++i) {
        if (isTabEnabled(i) == enable) continue;
        setTabEnabled(i, enable);
        NotifyTabEnabledChanged(bar_, i);
    }
    if (!enable) {
        setCurrentIndex(0);
        update();
    }
}

bool PropertySheet::ShowMemoryMapPage(bool loaded) {
    if (Shows(SheetPage::MemoryMap)) return false;
    AddPage(SheetPage::MemoryMap);
    if (!loaded) {
        EnablePages(false);
        return true;
    }
    setCurrentWidget(page(SheetPage::MemoryMap));
    return true;
}

void PropertySheet::Refresh(const ParameterChanges& changes, ModemParameterSet& parameters,
                            SheetPage source, int keptId) {
    for (Page* p : pages_) {
        if (Shows(p->index())) p->Refresh(changes, parameters, p->index() == source ? keptId : -1);
    }
}

void PropertySheet::UpdateControls(bool loaded, ModemParameterSet* parameters) {
    for (Page* p : pages_) {
        if (Shows(p->index())) p->UpdateControls(loaded, parameters);
    }
}

void PropertySheet::ClearChangedFlags() {
    for (Page* p : pages_) p->SetChanged(false);
}

}  // namespace vxl::gui
