// The pages driven as the operator drives them on the demo modem: what an edit sends and how the
// rules answer on the page, the end-of-transmission fields, the channel list, the grids of the
// Memory Map and Frequencies pages, the serial-number field and the channel-table export dialog.
// What the pages show after a load is kept as a whole (main_window_test).
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>

#include "gui/export_channel_table_dialog.h"
#include "gui/factory_page.h"
#include "gui/frequencies_page.h"
#include "gui/grid_ctrl.h"
#include "gui/memory_map_page.h"
#include "gui/serial_number_field.h"
#include "gui/text_fields.h"
#include "gui_test.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "params/protocol_modes.h"

namespace vxl::gui::test {

namespace {

// Types `text` over grid cell (row, column): the first character opens the editor, `key` ends
// the edit (none: the editor stays open).
void TypeInCell(GridCtrl* grid, int row, int column, const QString& text,
                Qt::Key key = Qt::Key_Down) {
    grid->setFocus();
    grid->SetFocusCell(row, column);
    QTest::keyClicks(grid, text.left(1));
    QVERIFY(grid->Editor() != nullptr);
    QTest::keyClicks(grid->Editor(), text.mid(1));
    if (key != Qt::Key_unknown) QTest::keyClick(grid->Editor(), key);
}

}  // namespace

class Pages : public QObject {
    Q_OBJECT
  private slots:
    void textFieldsTakeWhatTheModemAllows() {
        Session s;
        s.LoadDemo();
        QSignalSpy beeps(s.Find<CallSignField>("CallSign"), &FieldEdit::refused);
        s.Type("CallSign", QStringLiteral("w1aw/pabcde"));  // ten characters on this modem
        QCOMPARE(s.Find<QLineEdit>("CallSign")->text(), QStringLiteral("W1AW/PABCD"));
        QCOMPARE(s.Text(pid::kCallSign), QStringLiteral("W1AW/PABCD"));
        QCOMPARE(beeps.count(), 1);
    }

    // The mode picked shows the end-of-transmission field it uses, and so does a mode the
    // settings take by other ways (a profile, a restore). The character's arrows step through
    // the 256 codes by name, wrapping round.
    void endOfTransmissionFieldsFollowTheProtocolMode() {
        Session s;
        s.LoadDemo();
        Page* page = s.PageOf(SheetPage::SerialInterface);
        auto shows = [&](const char* name) { return s.Find(name)->isVisibleTo(page); };
        s.Pick("ProtocolMode", "Transparent w/EOT Character");
        QVERIFY(shows("EOTCharacter") && !shows("EOTCount") && !shows("EOTTimeout"));
        s.Coordinator().Settings().SetInt(pid::kEOTCharacter, 0);
        QCOMPARE(s.Find<QLineEdit>("EOTCharacter")->text(), QStringLiteral("NUL"));
        const struct {
            Qt::Key key;
            const char* shown;
            int code;
        } steps[] = {{Qt::Key_Down, "0xFF", 255}, {Qt::Key_Up, "NUL", 0}};
        for (const auto& step : steps) {
            QTest::keyClick(s.Find("eotCharacterUpDown"), step.key);
            QCOMPARE(s.Find<QLineEdit>("EOTCharacter")->text(), QString::fromLatin1(step.shown));
            QCOMPARE(s.Int(pid::kEOTCharacter), step.code);
            QCOMPARE(s.Find<IntField>("EOTCount")->Value(), step.code);  // the same byte
        }
        s.Coordinator().Settings().SetInt(pid::kProtocolMode, protocol::kDigipeater);
        QVERIFY(!shows("EOTCharacter") && !shows("EOTCount"));
        QVERIFY(page->changed());
    }

    // A time-out the modem refuses stays on screen until the next filling puts back the last one
    // it took. (The lists a mode or modulation leaves are shown whole: main_window_test.)
    void refusedTimeOutsAndSingleRatesOnTheRadioLinkPage() {
        Session s;
        s.LoadDemo();
        s.Type("TxAckTimeout", QStringLiteral("70000"));
        QCOMPARE(s.Text(pid::kTxAckTimeout), QStringLiteral("700.0"));
        s.Pick("ModulationType", "4-Level-FSK");
        QCOMPARE(s.Find<QLineEdit>("TxAckTimeout")->text(), QStringLiteral("700.0"));

        // At 12.5 kHz 4-Level-FSK has one rate: nothing to choose.
        s.Coordinator().Settings().SetInt(pid::kChannelBandwidth, 1);
        s.dialog->RunUpdatePass();
        QCOMPARE(s.Find<QComboBox>("LinkRate")->count(), 1);
        QVERIFY(!s.Find("LinkRate")->isEnabled() && s.Find("ModulationType")->isEnabled());
    }

    void memoryMapIsFilledAtTheLoadAndItsEditsChangeTheOtherPages() {
        Session s;
        s.Key(Qt::Key_F6, Qt::ControlModifier);  // added without a modem: filled at the load
        s.LoadDemo();
        auto* page = static_cast<MemoryMapPage*>(s.PageOf(SheetPage::MemoryMap));
        GridCtrl* grid = page->grid();
        QCOMPARE(grid->RowCount(), 31);
        QVERIFY(grid->GetItemText(30, 7).isEmpty());
        grid->SetFocusCell(30, 7);  // no byte behind it: nothing to edit
        grid->setFocus();
        QTest::keyClicks(grid, QStringLiteral("1"));
        QCOMPARE(grid->Editor(), nullptr);

        // A byte edit changes the other pages at once. Byte 0x0A: the model in its high bits, the
        // frequency range in its low bits (0xD2).
        auto* frequency = s.Find<QLineEdit>("Frequency");
        const QString before = frequency->text();
        TypeInCell(grid, 1, 3, QStringLiteral("d0"));
        QCOMPARE(grid->GetItemText(1, 3), QStringLiteral("D0"));
        QVERIFY(frequency->text() != before);
        QVERIFY(page->changed() && s.Coordinator().IsModified());
        QCOMPARE(grid->FocusRow(), 2);
    }

    // A channel edit is shown as stored (the channel rules are the settings' own); a fifth decimal
    // is refused, four go into the channel. Escape drops an edit, a number outside the grid's
    // range puts back what the cell held when the focus leaves, the label column opens no editor.
    void frequencyCellsGoIntoTheChannels() {
        Session s({"dealer"});
        s.LoadDemo();
        auto* page = static_cast<FrequenciesPage*>(s.PageOf(SheetPage::Frequencies));
        GridCtrl* grid = page->grid();
        s.Sheet()->setCurrentWidget(page);
        TypeInCell(grid, 6, 2, QStringLiteral("461.5"));
        QCOMPARE(grid->GetItemText(6, 2).trimmed(), QStringLiteral("461.5000"));
        QVERIFY(page->changed());
        TypeInCell(grid, 6, 2, QStringLiteral("455.12345"), Qt::Key_unknown);
        QCOMPARE(static_cast<QLineEdit*>(grid->Editor())->text(), QStringLiteral("455.1234"));
        QTest::keyClick(grid->Editor(), Qt::Key_Up);
        auto rx = [&s](int channel) {
            double mhz = -1;
            s.Coordinator().Settings().Parameters()->GetReal(pid::RxChannelId(channel), mhz);
            return mhz;
        };
        QVERIFY(qAbs(rx(5) - 455.1234) < 0.0125);

        const double held = rx(6);
        const QString shown = grid->GetItemText(7, 2);
        TypeInCell(grid, 7, 2, QStringLiteral("460"), Qt::Key_Escape);
        TypeInCell(grid, 7, 2, QStringLiteral("495"), Qt::Key_unknown);
        s.Find("exportCsvButton")->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(grid->Editor(), nullptr);
        QCOMPARE(grid->GetItemText(7, 2), shown);
        QCOMPARE(rx(6), held);
        grid->setFocus();
        grid->SetFocusCell(7, 0);
        QTest::keyClicks(grid, QStringLiteral("4"));
        QCOMPARE(grid->Editor(), nullptr);
    }

    void factoryPageTypesTheSerialNumber() {
        Session s({"factory"});
        s.LoadDemo();
        auto* page = static_cast<FactoryPage*>(s.PageOf(SheetPage::Factory));
        s.Sheet()->setCurrentWidget(page);
        SerialNumberField* field = page->serialNumber();
        auto red = [field] { return field->palette().color(QPalette::Text) == QColor(255, 0, 0); };
        QSignalSpy refused(field, &FieldEdit::refused);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("9807123"));
        QVERIFY(red());                                // seven digits are not a serial number
        QCOMPARE(s.Int(pid::kSerialNumber), 9807123);  // but each key is handed on
        QTest::keyClicks(field, QStringLiteral("4"));
        QVERIFY(!red());
        QCOMPARE(s.Int(pid::kSerialNumber), 98071234);
        QTest::keyClicks(field, QStringLiteral("5"));  // a ninth digit beeps
        QCOMPARE(refused.count(), 1);
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(s.Int(pid::kSerialNumber), 9807123);
        QCOMPARE(s.Find<QLineEdit>("SerialNumber")->text(), QStringLiteral("09807123"));
        QCOMPARE(field->text(), QStringLiteral("9807123"));  // the typed text is left alone
        QVERIFY(page->changed());
    }

    // The file is bound to the serial number typed into the dialog, and its name follows it (the
    // file itself is the channel-table format's test, tests/coordinator).
    void exportDialogNamesTheFileAfterTheTypedSerialNumber() {
        Session s({"factory"});
        s.LoadDemo();
        s.dialog->model().InitialChannelTableDir() = s.dir.path();
        QString shownName;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog =
                qobject_cast<ExportChannelTableDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            poll.stop();
            QTest::keyClicks(dialog->serialNumberField(), QStringLiteral("98071234"));
            shownName = dialog->fileNameField()->text();
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            for (QAbstractButton* button : buttons->buttons())
                if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) button->click();
            if (dialog->isVisible()) dialog->reject();
        });
        poll.start(10);
        QTest::mouseClick(s.Find<QPushButton>("exportChannelTableButton"), Qt::LeftButton);
        QCOMPARE(shownName, QStringLiteral("98071234.upg"));
        QCOMPARE(vxl::test::Captions(s.ui),
                 std::vector<std::string>{"Channel Table Export Complete"});
        QVERIFY(QFile::exists(QString::fromStdString(s.dir.File("98071234.upg"))));
    }
};

VXL_GUI_SUITE(Pages);

}  // namespace vxl::gui::test

#include "pages_test.moc"
