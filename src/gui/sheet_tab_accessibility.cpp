#include "gui/sheet_tab_accessibility.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QTabBar>
#include <map>

namespace vxl::gui {

namespace {

constexpr const char* kSheetTabBarClass = "vxl::gui::SheetTabBar";

class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    TabAccessible(QTabBar* bar, int index) : bar_(bar), index_(index) {}

    bool isValid() const override { return bar_ && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return bar_ ? bar_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(bar_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QString text(QAccessible::Text t) const override {
        if (!isValid()) return QString();
        if (t == QAccessible::Name) return bar_->tabText(index_).remove(QLatin1Char('&'));
        if (t == QAccessible::Description) return bar_->tabToolTip(index_);
        return QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return QRect();
        const QRect tab = bar_->tabRect(index_);
        return QRect(bar_->mapToGlobal(tab.topLeft()), tab.size());
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.selected = index_ == bar_->currentIndex();
        s.focused = s.selected && bar_->hasFocus();
        s.disabled = !bar_->isTabEnabled(index_);
        s.invisible = !bar_->isVisible() || !bar_->isTabVisible(index_);
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (isValid() && name == pressAction()) bar_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QPointer<QTabBar> bar_;
    int index_;
};

class SheetTabBarAccessible : public QAccessibleWidget {
  public:
    explicit SheetTabBarAccessible(QTabBar* bar)
        : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~SheetTabBarAccessible() override {
        for (const auto& entry : tabs_) QAccessible::deleteAccessibleInterface(entry.second);
    }

    int childCount() const override { return Bar()->count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= Bar()->count()) return nullptr;
        auto found = tabs_.find(index);
        if (found != tabs_.end()) return QAccessible::accessibleInterface(found->second);
        auto* tab = new TabAccessible(Bar(), index);
        tabs_[index] = QAccessible::registerAccessibleInterface(tab);
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& entry : tabs_)
            if (QAccessible::accessibleInterface(entry.second) == child) return entry.first;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int index = Bar()->tabAt(Bar()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && Bar()->currentIndex() >= 0)
            return Bar()->tabText(Bar()->currentIndex()).remove(QLatin1Char('&'));
        return QAccessibleWidget::text(t);
    }

  private:
    QTabBar* Bar() const { return static_cast<QTabBar*>(widget()); }

    mutable std::map<int, QAccessible::Id> tabs_;
};

QAccessibleInterface* SheetTabFactory(const QString& key, QObject* object) {
    if (key == QLatin1String(kSheetTabBarClass)) {
        if (auto* bar = qobject_cast<QTabBar*>(object)) return new SheetTabBarAccessible(bar);
    }
    return nullptr;
}

}  // namespace

void InstallSheetTabAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(SheetTabFactory);
        return true;
    }();
    (void)installed;
}

void NotifyTabEnabledChanged(QTabBar* bar, int index) {
    if (!QAccessible::isActive()) return;
    QAccessible::State changed;
    changed.disabled = true;
    QAccessibleStateChangeEvent event(bar, changed);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}

}  // namespace vxl::gui
