// The "Select Serial Port" dialog over the port-selection model, on pseudo-terminals: the
// rows as the model lists them, clicks on an available and a busy row, the keys, Rescan and OK.
// (The first run drives it through the selection in the window's workflow test.)
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "gui/port_dialog.h"
#include "gui_test.h"
#include "link/com_port.h"
#include "link/test_pty.h"
#include "support/recording_operator.h"

namespace vxl::gui::test {

class PortDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void showsTheModelAndFollowsItsRules();

  private:
    static void Click(QTreeWidget* list, int row, bool twice = false) {
        const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
        if (twice)  // the second click of a double click
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        else
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    static QPushButton* Button(QWidget* dialog, const char* name) {
        return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }

    std::unique_ptr<vxl::test::RecordingOperator> ui;
    std::unique_ptr<ScopedUi> uiScope;
};

void PortDialogTest::init() {
    ui = std::make_unique<vxl::test::RecordingOperator>();
    uiScope = std::make_unique<ScopedUi>(*ui);
    PortTable::Instance().BuildFrom({}, {});
}

void PortDialogTest::cleanup() {
    uiScope.reset();
    ui.reset();
}

void PortDialogTest::showsTheModelAndFollowsItsRules() {
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
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Serial Port"));
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("Serial Port"));
    QCOMPARE(list->headerItem()->text(1), QStringLiteral("Status"));
    QCOMPARE(list->topLevelItemCount(), 3);
    QCOMPARE(list->topLevelItem(1)->text(2), QString::fromStdString(com2.slavePath()));
    QVERIFY(list->topLevelItem(1)->text(1).startsWith(QStringLiteral("Unavailable: in use by ")));
    QVERIFY(!(list->topLevelItem(1)->flags() & Qt::ItemIsSelectable));
    // Every text shows whole.
    for (int column = 0; column < list->columnCount(); ++column)
        for (int row = 0; row < 3; ++row)
            QVERIFY(list->fontMetrics().horizontalAdvance(list->topLevelItem(row)->text(column)) <
                    list->columnWidth(column));
    auto* hint = dialog.findChild<QLabel*>(QStringLiteral("portHint"));
    QPushButton* ok = Button(&dialog, "Ok");
    QVERIFY(list->topLevelItem(2)->isSelected());  // the current port
    QVERIFY(ok->isEnabled() && Button(&dialog, "locateButton")->isEnabled());

    Click(list, 1);
    QCOMPARE(model.SelectedRow(), -1);
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(!ok->isEnabled());
    QVERIFY2(hint->text().contains(QString::fromStdString(com2.slavePath() + " is in use by")),
             qPrintable(hint->text()));
    Click(list, 0);
    QVERIFY(list->topLevelItem(0)->isSelected() && ok->isEnabled());
    QVERIFY(hint->text().startsWith(QStringLiteral("Choose the port")));
    // A click below the rows changes nothing.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(5, list->viewport()->height() - 3));
    QCoreApplication::processEvents();
    QCOMPARE(model.SelectedRow(), 0);
    QVERIFY(list->topLevelItem(0)->isSelected() && ok->isEnabled());

    other.Close();
    QTest::mouseClick(Button(&dialog, "rescanButton"), Qt::LeftButton);
    QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("Available"));
    QVERIFY(list->topLevelItem(1)->flags() & Qt::ItemIsSelectable);
    QVERIFY(list->topLevelItem(0)->isSelected());
    QTest::keyClick(list, Qt::Key_Down);

    QCOMPARE(model.SelectedPort(), 2);
    Click(list, 2);
    Click(list, 2, true);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(model.SelectedPort(), 3);
    QVERIFY(ui->messages.empty());
}

VXL_GUI_SUITE(PortDialogTest);

}  // namespace vxl::gui::test

#include "port_dialog_test.moc"
