// The "Select Serial Port" dialog over the port-selection model, on pseudo-terminals: the rows as
// the model lists them, clicks on an available and a busy row, the keys, Rescan, a search that
// finds nothing (fake clock), and OK. What each row and hint says is the model's test
// (tests/ports); the first run opens the dialog in the program (tests/gui_e2e).
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/port_dialog.h"
#include "gui_test.h"
#include "link/com_port.h"
#include "link/test_pty.h"

namespace vxl::gui::test {

namespace {

void Click(QTreeWidget* list, int row, bool twice = false) {
    const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
    if (twice)  // the second click of a double click
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    else
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

}  // namespace

class PortDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void showsTheModelAndFollowsItsRules() {
        vxl::test::RecordingOperator ui;
        ScopedUi uiScope(ui);
        vxl::test::FakeClock clock;
        ScopedClock clockScope(clock);
        PortTable::Instance().BuildFrom({}, {});
        vxl::test::TestPty com1, com2, com3;
        QVERIFY(com1.ok() && com2.ok() && com3.ok());
        CComPort other;  // another program's hold on port 2
        QVERIFY(other.Open(true, com2.portNumber(), 9600, 0, 8, 0, 9, 100));
        PortSelectionModel model(3, 1, false, nullptr);
        QCOMPARE(model.Probe(), 2);
        SelectPortDialog dialog(model);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTreeWidget* list = dialog.list();
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("Status"));
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->topLevelItem(1)->text(2), QString::fromStdString(com2.slavePath()));
        QVERIFY(!(list->topLevelItem(1)->flags() & Qt::ItemIsSelectable));
        // Every text shows whole.
        for (int column = 0; column < list->columnCount(); ++column)
            for (int row = 0; row < 3; ++row)
                QVERIFY(list->fontMetrics().horizontalAdvance(
                            list->topLevelItem(row)->text(column)) < list->columnWidth(column));
        auto* hint = dialog.findChild<QLabel*>(QStringLiteral("portHint"));
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("Ok"));
        QVERIFY(list->topLevelItem(2)->isSelected() && ok->isEnabled());  // the current port

        Click(list, 1);
        QVERIFY(model.SelectedRow() == -1 && list->selectedItems().isEmpty() && !ok->isEnabled());
        QVERIFY2(hint->text().contains(QString::fromStdString(com2.slavePath() + " is in use by")),
                 qPrintable(hint->text()));
        Click(list, 0);
        QVERIFY(list->topLevelItem(0)->isSelected() && ok->isEnabled());
        QVERIFY(hint->text().startsWith(QStringLiteral("Choose the port")));
        // A click below the rows changes nothing.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(5, list->viewport()->height() - 3));
        QCoreApplication::processEvents();
        QVERIFY(model.SelectedRow() == 0 && list->topLevelItem(0)->isSelected() && ok->isEnabled());

        other.Close();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("rescanButton")),
                          Qt::LeftButton);
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("Available"));
        QVERIFY(list->topLevelItem(1)->flags() & Qt::ItemIsSelectable);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(model.SelectedPort(), 2);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("locateButton")),
                          Qt::LeftButton);
        QVERIFY2(hint->text().startsWith(QStringLiteral("No modem answered")),
                 qPrintable(hint->text()));
        QVERIFY(dialog.isVisible() && ok->isEnabled() && list->isEnabled());

        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.SelectedPort(), 2);
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        Click(list, 2);
        Click(list, 2, true);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.SelectedPort(), 3);
        QVERIFY(ui.messages.empty());
    }
};

VXL_GUI_SUITE(PortDialogTest);

}  // namespace vxl::gui::test

#include "port_dialog_test.moc"
