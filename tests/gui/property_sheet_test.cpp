// The sheet's tabs: greyed ones neither chosen nor stepped onto, wrap-around, Memory Map on
// demand.
#include <QtTest>

#include "gui/page_registry.h"
#include "gui/property_sheet.h"
#include "gui_test.h"

namespace vxl::gui::test {

class PropertySheetTest : public QObject {
    Q_OBJECT
  private slots:
    void greyedTabsAreSkippedAndMemoryMapIsAddedOnce() {
        const DialogUnits units(QApplication::font());
        const struct {
            bool enabled;
            int from;
            Qt::Key key;
            int to;
        } cases[] = {
            {true, 0, Qt::Key_Right, 1},   // steps on
            {true, 2, Qt::Key_Right, 0},   // wraps to the first
            {true, 0, Qt::Key_Left, 2},    // wraps to the last
            {false, 0, Qt::Key_Right, 0},  // greyed tabs are skipped
            {false, 0, Qt::Key_Left, 0},
        };
        for (const auto& c : cases) {
            PropertySheet sheet(nullptr, units, StartPages(PrivilegeLevel::EndUser));
            sheet.show();
            sheet.EnablePages(true);
            sheet.setCurrentIndex(c.from);
            sheet.EnablePages(c.enabled);
            QTest::keyClick(sheet.tabBar(), c.key);
            QCOMPARE(sheet.currentIndex(), c.to);
        }
        // A click on a greyed tab chooses nothing; Memory Map comes once, greyed without a modem.
        for (bool loaded : {false, true}) {
            PropertySheet sheet(nullptr, units, StartPages(PrivilegeLevel::EndUser));
            sheet.show();
            sheet.EnablePages(loaded);
            sheet.setCurrentIndex(2);
            QTest::mouseClick(sheet.tabBar(), Qt::LeftButton, {},
                              sheet.tabBar()->tabRect(1).center());
            QCOMPARE(sheet.currentIndex(), loaded ? 1 : 0);
            QVERIFY(sheet.ShowMemoryMapPage(loaded) && !sheet.ShowMemoryMapPage(loaded));
            QCOMPARE(sheet.count(), 4);
            QCOMPARE(sheet.isTabEnabled(3), loaded);
            QCOMPARE(sheet.currentIndex(), loaded ? 3 : 0);
        }
    }
};

VXL_GUI_SUITE(PropertySheetTest);

}  // namespace vxl::gui::test

#include "property_sheet_test.moc"
