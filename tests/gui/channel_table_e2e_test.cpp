// One real-time run from the factory's desk to a modem: at the Factory level, the demo modem's
// channel table (with an edit in the grid) is exported for a serial number typed into the export
// dialog; the headless import puts it into a simulated modem of that serial number, and the
// modem's stealth export shows the channels.
#include <unistd.h>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>

#include "gui/export_channel_table_dialog.h"
#include "gui/frequencies_page.h"
#include "gui/grid_ctrl.h"
#include "gui/serial_number_field.h"
#include "gui_test.h"
#include "level_window.h"
#include "link/port_table.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "sim/lib/simulator.h"
#include "support/xml_check.h"
#include "support/fake_clock.h"
#include "util/format.h"

namespace vxl::gui::test {

namespace {

constexpr char kSerial[] = "98071234";

}  // namespace

class ChannelTableEndToEnd : public QObject {
    Q_OBJECT
  private slots:
    void exportedForATypedSerialImportsIntoThatModem();
};

void ChannelTableEndToEnd::exportedForATypedSerialImportsIntoThatModem() {
    LevelWindow w({"factory"});
    w.LoadDemo();
    auto* page = w.Page<FrequenciesPage>(SheetPage::Frequencies);
    w.Sheet()->setCurrentWidget(page);
    // An edit not yet programmed goes into the file too: channel 5 receives on 461.025 MHz.
    GridCtrl* grid = page->grid();
    grid->setFocus();
    grid->SetFocusCell(6, 2);
    QTest::keyClicks(grid, QStringLiteral("4"));
    QTest::keyClicks(grid->Editor(), QStringLiteral("61.025"));
    std::vector<std::string> tx(16), rx(16);
    ModemParameterSet* demo = w.app->Coordinator().Settings().Parameters();

    // The dialog: the serial number typed, the file name following it, Export.
    w.dialog->model().InitialChannelTableDir() = w.dir.path();
    QString shownName;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<ExportChannelTableDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        poll.stop();
        QTest::keyClicks(dialog->serialNumberField(), QString::fromLatin1(kSerial));
        shownName = dialog->fileNameField()->text();
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        for (QAbstractButton* button : buttons->buttons())
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) button->click();
        if (dialog->isVisible()) dialog->reject();
    });
    poll.start(10);
    QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("exportChannelTableButton")),
                      Qt::LeftButton);
    QCOMPARE(shownName, QStringLiteral("98071234.upg"));
    const std::string file = w.dir.File("98071234.upg");
    QCOMPARE(w.Captions(), std::vector<std::string>{"Channel Table Export Complete"});
    QCOMPARE(w.ui.messages[0].text, "Channel table written to " + file);
    for (int k = 0; k < 16; ++k) {
        demo->GetText(pid::TxChannelId(k), tx[static_cast<size_t>(k)]);
        demo->GetText(pid::RxChannelId(k), rx[static_cast<size_t>(k)]);
    }
    QCOMPARE(rx[5], std::string("461.0250"));

    // The modem of that serial number takes the file headless, and its export shows it.
    vxl::test::QuickPauseClock realTime;
    ScopedClock realTimeScope(realTime);
    sim::SimOptions options;
    // Power-cycled by its operator as soon as the program asks: no guard times to wait out.
    options.operatorPowerCycleSeconds = 0.1;
    options.linkPath = w.dir.File("modem");
    options.profile.serialNumber = 98071234;
    sim::Simulator simulator(options);
    std::string error;
    QVERIFY2(simulator.Start(&error), error.c_str());
    char cwd[4096];
    QVERIFY(::getcwd(cwd, sizeof cwd) != nullptr);
    QCOMPARE(::chdir(w.dir.path().c_str()), 0);  // the stealth name is taken in lower case
    std::FILE* err = std::tmpfile();
    auto run = [&](std::vector<std::string> args) {
        CConfigApp headless;
        headless.SetPreferencePath(w.dir.File("headless.conf"));
        headless.SetErrorStream(err);
        for (const char* word : {"device", "", "poweroncapture", "nologo"}) args.emplace_back(word);
        args[args.size() - 3] = simulator.LinkPath();
        return headless.Run(args);
    };
    const int imported = run({"import", file});
    const int exported = run({"stealth", "modem"});
    QCOMPARE(::chdir(cwd), 0);
    std::fclose(err);
    simulator.Stop();
    QCOMPARE(imported, kExitOk);
    QCOMPARE(exported, kExitOk);
    const std::string xml = vxl::test::TempDir::Read(w.dir.File("modem.xml"));
    QVERIFY(vxl::test::WellFormedXml(xml));
    for (size_t k = 0; k < 16; ++k) {
        if (tx[k].empty() && rx[k].empty()) continue;
        const std::string entry =
            Format("<channel-table-entry-idx>%.2d</channel-table-entry-idx>", static_cast<int>(k));
        const size_t at = xml.find(entry);
        QVERIFY2(at != std::string::npos, entry.c_str());
        const std::string expected =
            Format("<channel-table-entry-tx>%s</channel-table-entry-tx>", tx[k].c_str()) + "\r\n" +
            Format("<channel-table-entry-rx>%s</channel-table-entry-rx>", rx[k].c_str());
        QVERIFY2(xml.find(expected, at) != std::string::npos, expected.c_str());
    }
}

VXL_GUI_SUITE(ChannelTableEndToEnd);

}  // namespace vxl::gui::test

#include "channel_table_e2e_test.moc"
