// The sheet's tabs: greyed ones neither chosen nor stepped onto, Memory Map on demand.
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
        for (bool enabled : {true, false}) {  // wraps round to the last, unless it is greyed
            PropertySheet sheet(nullptr, units, StartPages(PrivilegeLevel::EndUser));
            sheet.show();
            sheet.EnablePages(enabled);
            QTest::keyClick(sheet.tabBar(), Qt::Key_Left);
            QCOMPARE(sheet.currentIndex(), enabled ? 2 : 0);
        }
        // Memory Map comes once, greyed without a modem.
        for (bool loaded : {false, true}) {
            PropertySheet sheet(nullptr, units, StartPages(PrivilegeLevel::EndUser));
            sheet.show();
            sheet.EnablePages(loaded);
            sheet.setCurrentIndex(2);
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
