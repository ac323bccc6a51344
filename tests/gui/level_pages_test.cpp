// The pages of the Dealer and Factory levels and the Memory Map page through the real window
// on the demo modem: the tabs each level shows, the memory dump and its byte edits, the
// channel grid's edits, the serial-number field and the Clear User Fields button.
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>

#include "gui/factory_page.h"
#include "gui/frequencies_page.h"
#include "gui/grid_ctrl.h"
#include "gui/memory_map_page.h"
#include "gui/serial_number_field.h"
#include "gui_test.h"
#include "level_window.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"

namespace vxl::gui::test {

namespace {

// Types `text` over grid cell (row, column) and ends the edit with `key`.
void TypeInCell(GridCtrl* grid, int row, int column, const QString& text,
                Qt::Key key = Qt::Key_Down) {
    grid->setFocus();
    grid->SetFocusCell(row, column);
    QTest::keyClicks(grid, text.left(1));
    QWidget* editor = grid->Editor();
    QVERIFY(editor != nullptr);
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, key);
}

QString Trimmed(GridCtrl* grid, int row, int column) {
    return grid->GetItemText(row, column).trimmed();
}

}  // namespace

class LevelPages : public QObject {
    Q_OBJECT
  private slots:
    void eachLevelShowsItsTabsAndTitle_data();
    void eachLevelShowsItsTabsAndTitle();
    void memoryMapFollowsTheImageAndItsEditsChangeTheOtherPages();
    void frequencyCellsShowTheChannelsAsStored();
    void factoryPageTypesTheSerialNumber();
};

void LevelPages::eachLevelShowsItsTabsAndTitle_data() {
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("titleEnd");
    QTest::addColumn<QStringList>("tabs");
    const QStringList user = {"Identification", "Radio Link", "Serial Interface"};
    QTest::newRow("end user") << ""
                              << " - End User" << (user + QStringList{"Memory Map"});
    QTest::newRow("dealer") << "dealer"
                            << " - Dealer" << (user + QStringList{"Frequencies", "Memory Map"});
    QTest::newRow("factory") << "FACTORY"
                             << " - Factory"
                             << (user + QStringList{"Frequencies", "Memory Map", "Factory"});
}

void LevelPages::eachLevelShowsItsTabsAndTitle() {
    QFETCH(QString, level);
    QFETCH(QString, titleEnd);
    QFETCH(QStringList, tabs);
    std::vector<std::string> args;
    if (!level.isEmpty()) args.push_back(level.toStdString());
    LevelWindow w(args);
    QVERIFY(w.dialog->windowTitle().endsWith(titleEnd));
    QCOMPARE(w.dialog->model().LevelName(), titleEnd.mid(3).toStdString());
    w.LoadDemo();
    QCOMPARE(w.Sheet()->count(), tabs.size() - 1);
    for (int i = 1; i < w.Sheet()->count(); ++i) QVERIFY(w.Sheet()->isTabEnabled(i));
    w.Key(Qt::Key_F6, Qt::ControlModifier);
    QCOMPARE(w.Tabs(), tabs);
    QCOMPARE(w.Sheet()->currentWidget(), w.Sheet()->page(SheetPage::MemoryMap));
    // A screen reader names every field, list and grid by its label (a list on Linux through
    // the label relation, its name being its value).
    for (int i = 0; i < w.Sheet()->count(); ++i) {
        for (QWidget* control : w.Sheet()->widget(i)->findChildren<QWidget*>()) {
            const bool field =
                qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
                qobject_cast<QAbstractSpinBox*>(control) || qobject_cast<QTableView*>(control);
            if (!field || control->isHidden() || qobject_cast<QComboBox*>(control->parent()))
                continue;
            QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
            const bool named = qobject_cast<QComboBox*>(control)
                                   ? !reader->relations(QAccessible::Label).isEmpty()
                                   : !reader->text(QAccessible::Name).isEmpty();
            QVERIFY2(named, qPrintable(w.Tabs()[i] + ": " + control->objectName()));
        }
    }
}

void LevelPages::memoryMapFollowsTheImageAndItsEditsChangeTheOtherPages() {
    LevelWindow w({});
    w.app->Coordinator().Session().SetDemoModemFactory(
        [] { return std::make_unique<SizedDemoModem>(256); });
    w.Key(Qt::Key_F6, Qt::ControlModifier);  // added without a modem: filled at the load
    w.LoadDemo();
    auto* page = w.Page<MemoryMapPage>(SheetPage::MemoryMap);
    GridCtrl* grid = page->grid();
    QCOMPARE(grid->RowCount(), 33);
    QCOMPARE(grid->ColumnCount(), 9);
    QCOMPARE(grid->GetItemText(0, 0), QStringLiteral("0x0100"));
    QCOMPARE(grid->GetItemText(31, 0), QStringLiteral("0x01F8"));
    for (int column = 0; column < 9; ++column) QVERIFY(grid->GetItemText(32, column).isEmpty());
    ModemMemoryImage* image = w.app->Coordinator().Settings().Image();
    for (int i = 0; i < 256; ++i) {
        uint8_t byte = 0;
        QCOMPARE(image->ReadBytes(0x100 + i, 1, &byte), 0);
        QCOMPARE(grid->GetItemText(i / 8, i % 8 + 1), QString::asprintf("%02X", byte));
    }
    QCOMPARE(grid->columnWidth(1), grid->ClientWidth() / 10);
    QCOMPARE(grid->columnWidth(0), grid->ClientWidth() - 8 * (grid->ClientWidth() / 10));

    // Another modem with the demo's own 246 bytes: the grid is laid out again.
    QTest::mouseClick(w.dialog->button(DialogButton::Close), Qt::LeftButton);
    w.app->Coordinator().Session().SetDemoModemFactory(
        [] { return std::make_unique<CDemoModem>(); });
    w.LoadDemo();
    QCOMPARE(grid->RowCount(), 31);
    QCOMPARE(grid->GetItemText(30, 0), QStringLiteral("0x01F0"));
    QVERIFY(!grid->GetItemText(30, 6).isEmpty());
    QVERIFY(grid->GetItemText(30, 7).isEmpty());
    grid->SetFocusCell(30, 7);  // no byte behind it: nothing to edit
    grid->setFocus();
    QTest::keyClicks(grid, QStringLiteral("1"));
    QCOMPARE(grid->Editor(), nullptr);

    // A byte edit changes the other pages at once. Byte 0x0A: the model in its high bits, the
    // frequency range in its low bits (0xD2).
    auto* frequency = w.dialog->findChild<QLineEdit*>(QStringLiteral("Frequency"));
    const QString before = frequency->text();
    QCOMPARE(grid->GetItemText(1, 3), QStringLiteral("D2"));
    TypeInCell(grid, 1, 3, QStringLiteral("d0"));
    QCOMPARE(grid->GetItemText(1, 3), QStringLiteral("D0"));
    QVERIFY(frequency->text() != before);
    QVERIFY(page->changed());
    QVERIFY(w.app->Coordinator().IsModified());
    QCOMPARE(grid->FocusRow(), 2);
}

void LevelPages::frequencyCellsShowTheChannelsAsStored() {
    LevelWindow w({"dealer"});
    w.LoadDemo();
    auto* page = w.Page<FrequenciesPage>(SheetPage::Frequencies);
    GridCtrl* grid = page->grid();
    w.Sheet()->setCurrentWidget(page);
    QCOMPARE(grid->GetItemText(0, 1), QStringLiteral("TX Frequency (MHz)"));
    QCOMPARE(grid->GetItemText(1, 0), QStringLiteral("0 "));
    QCOMPARE(grid->GetItemText(16, 0), QStringLiteral("15 "));
    QCOMPARE(grid->RowCount(), 17);
    // A channel edit is shown as stored (the channel rules are the settings' own).
    const int other = 5;
    TypeInCell(grid, other + 1, 2, QStringLiteral("461.5"));
    QCOMPARE(Trimmed(grid, other + 1, 2), QStringLiteral("461.5000"));
    QVERIFY(page->changed());

    // A fifth decimal is refused; four are taken and go into the channel.
    grid->SetFocusCell(other + 1, 2);
    QTest::keyClicks(grid, QStringLiteral("4"));
    QTest::keyClicks(grid->Editor(), QStringLiteral("55.12345"));
    QCOMPARE(static_cast<QLineEdit*>(grid->Editor())->text(), QStringLiteral("455.1234"));
    QTest::keyClick(grid->Editor(), Qt::Key_Up);
    double rx = -1;
    w.app->Coordinator().Settings().Parameters()->GetReal(pid::RxChannelId(other), rx);
    QVERIFY(qAbs(rx - 455.1234) < 0.0125);

    // Released: the grid is emptied.
    QTest::mouseClick(w.dialog->button(DialogButton::Close), Qt::LeftButton);
    for (int row = 1; row <= 16; ++row) QCOMPARE(Trimmed(grid, row, 1), QString());
}

void LevelPages::factoryPageTypesTheSerialNumber() {
    LevelWindow w({"factory"});
    w.LoadDemo();
    auto* page = w.Page<FactoryPage>(SheetPage::Factory);
    w.Sheet()->setCurrentWidget(page);
    SerialNumberField* field = page->serialNumber();
    QCOMPARE(field->text(), QStringLiteral("01427259"));
    auto red = [field] { return field->palette().color(QPalette::Text) == QColor(255, 0, 0); };
    auto stored = [&w] {
        int serial = -1;
        w.app->Coordinator().Settings().Parameters()->GetInt(pid::kSerialNumber, serial);
        return serial;
    };
    QSignalSpy refused(field, &FieldEdit::refused);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("9807123"));
    QVERIFY(red());               // seven digits are not a serial number
    QCOMPARE(stored(), 9807123);  // but each key is handed on
    QTest::keyClicks(field, QStringLiteral("4"));
    QVERIFY(!red());
    QCOMPARE(stored(), 98071234);
    QTest::keyClicks(field, QStringLiteral("5x"));  // a ninth digit and a letter beep
    QCOMPARE(refused.count(), 2);
    QCOMPARE(field->text(), QStringLiteral("98071234"));
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(stored(), 9807123);
    QCOMPARE(w.Sheet()
                 ->page(SheetPage::Identification)
                 ->findChild<QLineEdit*>(QStringLiteral("SerialNumber"))
                 ->text(),
             QStringLiteral("09807123"));                // the Identification page follows
    QCOMPARE(field->text(), QStringLiteral("9807123"));  // the typed text is left alone
    QVERIFY(page->changed());
}

VXL_GUI_SUITE(LevelPages);

}  // namespace vxl::gui::test

#include "level_pages_test.moc"
