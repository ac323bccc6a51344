// The sheet's tabs: three at the End User level, greyed ones neither chosen nor stepped onto,
// wrap-around, Memory Map on demand.
#include <QtTest>

#include "gui/page_registry.h"
#include "gui/property_sheet.h"
#include "gui_test.h"
#include "window/control_ids.h"

namespace vxl::gui::test {

class PropertySheetTest : public QObject {
    Q_OBJECT
  private slots:
    void arrowKeysSkipDisabledTabsAndWrap_data();
    void arrowKeysSkipDisabledTabsAndWrap();
    void greyedTabsCannotBeChosenAndMemoryMapIsAddedOnce();
};

namespace {
struct Sheet {
    Sheet()
        : sheet(nullptr, DialogUnits(QApplication::font()), StartPages(PrivilegeLevel::EndUser)) {
        sheet.show();
        sheet.activateWindow();
    }
    QStringList Titles() const {
        QStringList titles;
        for (int i = 0; i < sheet.count(); ++i) titles << sheet.tabText(i);
        return titles;
    }
    PropertySheet sheet;
};
}  // namespace

void PropertySheetTest::arrowKeysSkipDisabledTabsAndWrap_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("right steps on") << true << 0 << int(Qt::Key_Right) << 1;
    QTest::newRow("right wraps to the first") << true << 2 << int(Qt::Key_Right) << 0;
    QTest::newRow("left wraps to the last") << true << 0 << int(Qt::Key_Left) << 2;
    QTest::newRow("greyed tabs are skipped") << false << 0 << int(Qt::Key_Right) << 0;
    QTest::newRow("greyed tabs are skipped leftwards") << false << 0 << int(Qt::Key_Left) << 0;
}

void PropertySheetTest::arrowKeysSkipDisabledTabsAndWrap() {
    QFETCH(bool, enabled);
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    Sheet s;
    s.sheet.EnablePages(true);
    s.sheet.setCurrentIndex(from);
    s.sheet.EnablePages(enabled);
    if (enabled) s.sheet.setCurrentIndex(from);
    QTest::keyClick(s.sheet.tabBar(), static_cast<Qt::Key>(key));
    QCOMPARE(s.sheet.currentIndex(), to);
}

void PropertySheetTest::greyedTabsCannotBeChosenAndMemoryMapIsAddedOnce() {
    for (bool loaded : {false, true}) {
        Sheet s;
        s.sheet.EnablePages(loaded);
        QCOMPARE(s.Titles(), QStringList({"Identification", "Radio Link", "Serial Interface"}));
        QVERIFY(!s.sheet.Shows(SheetPage::Frequencies));
        QVERIFY(!s.sheet.Shows(SheetPage::Factory));
        s.sheet.setCurrentIndex(2);
        QTest::mouseClick(s.sheet.tabBar(), Qt::LeftButton, {},
                          s.sheet.tabBar()->tabRect(1).center());
        QCOMPARE(s.sheet.currentIndex(), loaded ? 1 : 0);
        QVERIFY(s.sheet.ShowMemoryMapPage(loaded));
        QVERIFY(!s.sheet.ShowMemoryMapPage(loaded));
        QCOMPARE(s.sheet.count(), 4);
        QCOMPARE(s.sheet.tabText(3), QStringLiteral("Memory Map"));
        QCOMPARE(s.sheet.isTabEnabled(3), loaded);
        QCOMPARE(s.sheet.currentIndex(), loaded ? 3 : 0);
        Page* page = s.sheet.page(SheetPage::MemoryMap);
        QVERIFY(page->Control(control::kPrintMemoryMap) != nullptr);
    }
}

VXL_GUI_SUITE(PropertySheetTest);

}  // namespace vxl::gui::test

#include "property_sheet_test.moc"
