// The sheet's tabs: greyed ones neither chosen nor stepped onto, wrap-around, Memory Map on
// demand.
#include <QtTest>

#include "gui/page_registry.h"
#include "gui/property_sheet.h"
#include "gui_test.h"

namespace vxl::gui::test {

namespace {
struct Sheet {
    Sheet()
        : sheet(nullptr, DialogUnits(QApplication::font()), StartPages(PrivilegeLevel::EndUser)) {
        sheet.show();
        sheet.activateWindow();
    }
    PropertySheet sheet;
};
}  // namespace

class PropertySheetTest : public QObject {
    Q_OBJECT
  private slots:
    void arrowKeysSkipDisabledTabsAndWrap() {
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
            Sheet s;
            s.sheet.EnablePages(true);
            s.sheet.setCurrentIndex(c.from);
            s.sheet.EnablePages(c.enabled);
            if (c.enabled) s.sheet.setCurrentIndex(c.from);
            QTest::keyClick(s.sheet.tabBar(), c.key);
            QCOMPARE(s.sheet.currentIndex(), c.to);
        }
    }

    void greyedTabsCannotBeChosenAndMemoryMapIsAddedOnce() {
        for (bool loaded : {false, true}) {
            Sheet s;
            s.sheet.EnablePages(loaded);
            s.sheet.setCurrentIndex(2);
            QTest::mouseClick(s.sheet.tabBar(), Qt::LeftButton, {},
                              s.sheet.tabBar()->tabRect(1).center());
            QCOMPARE(s.sheet.currentIndex(), loaded ? 1 : 0);
            QVERIFY(s.sheet.ShowMemoryMapPage(loaded));
            QVERIFY(!s.sheet.ShowMemoryMapPage(loaded));
            QCOMPARE(s.sheet.count(), 4);
            QCOMPARE(s.sheet.isTabEnabled(3), loaded);
            QCOMPARE(s.sheet.currentIndex(), loaded ? 3 : 0);
        }
    }
};

VXL_GUI_SUITE(PropertySheetTest);

}  // namespace vxl::gui::test

#include "property_sheet_test.moc"
