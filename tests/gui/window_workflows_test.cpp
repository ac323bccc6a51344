// The window's workflows end to end: Print, F5 and the Memory Map page's Print into PDF files
// (demo modem, fake clock); and, in real time against a simulated modem, the first run's port
// dialog locating the modem on its pinned port, and an upgrade from the window after which
// pulling the modem's line out is reported once.
#include <QAction>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <cstdio>

#include "app/config_app.h"
#include "gui/main_dialog.h"
#include "gui/pages.h"
#include "gui/port_dialog.h"
#include "gui/property_sheet.h"
#include "gui_test.h"
#include "link/port_table.h"
#include "link/test_pty.h"
#include "modem/firmware_file.h"
#include "params/definitions.h"
#include "sim/lib/simulator.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/format.h"
#include "util/preferences.h"

namespace vxl::gui::test {

namespace {

// Real time whose 1 ms polls last 10 ms, so that a reply a busy machine delays still comes
// within the polls an exchange allows.
class SlowPollClock : public SystemClock {
  public:
    void SleepMs(int ms) override { SystemClock::SleepMs(ms == 1 ? 10 : ms); }
};

// What a command wrote to its standard output and error.
QString Output(const std::string& command) {
    QString text;
    if (std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) text += QString::fromUtf8(buffer);
        ::pclose(pipe);
    }
    return text;
}

}  // namespace

class WindowWorkflows : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void printAndF5WriteTheReportsAsPdf();
    void theFirstRunLocatesTheModemOnItsPinnedPort();
    void upgradesFromTheWindowAndReportsTheLineUnpluggedOnce();

  private:
    // Shows the window; the first run's port dialog, when it comes, takes the activation.
    void Open(bool waitForActive = true);
    void StartModem(int baud);
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(dialog.get(), static_cast<Qt::Key>(key), modifiers);
        dialog->RunUpdatePass();
    }
    QString Field(const char* key) const {
        auto* field = dialog->findChild<QWidget*>(QString::fromLatin1(key));
        return field ? field->property("text").toString() : QString();
    }
    QAction* Action(const char* name) const {
        return dialog->findChild<QAction*>(QString::fromLatin1(name));
    }
    QStringList Captions() const {
        QStringList captions;
        for (const auto& m : ui->messages) captions << QString::fromStdString(m.caption);
        return captions;
    }

    std::unique_ptr<vxl::test::RecordingOperator> ui;
    std::unique_ptr<ScopedUi> uiScope;
    std::unique_ptr<vxl::test::TempDir> dir;
    std::unique_ptr<PreferenceStore> prefs;
    std::unique_ptr<ScopedPrefs> prefsScope;
    std::unique_ptr<ScopedDefinitionsPath> definitions;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<ScopedClock> clockScope;
    std::unique_ptr<sim::Simulator> simulator;
    std::unique_ptr<CConfigApp> app;
    std::unique_ptr<MainDialog> dialog;
};

void WindowWorkflows::init() {
    ui = std::make_unique<vxl::test::RecordingOperator>();
    uiScope = std::make_unique<ScopedUi>(*ui);
    dir = std::make_unique<vxl::test::TempDir>();
    prefs = std::make_unique<PreferenceStore>(dir->File("prefs.conf"));
    prefsScope = std::make_unique<ScopedPrefs>(*prefs);
    definitions = std::make_unique<ScopedDefinitionsPath>(VXL_SOURCE_DATA_DIR "/vxlconf.ini");
    PortTable::Instance().BuildFrom({}, {});
    app = std::make_unique<CConfigApp>();
}

void WindowWorkflows::cleanup() {
    if (dialog) {
        std::string response;
        app->Coordinator().Detach(response, true);
        app->Coordinator().SetView(nullptr);
    }
    dialog.reset();
    app.reset();
    if (simulator) simulator->Stop();
    simulator.reset();
    clockScope.reset();
    clock.reset();
    definitions.reset();
    prefsScope.reset();
    prefs.reset();
    dir.reset();
    uiScope.reset();
    ui.reset();
}

void WindowWorkflows::Open(bool waitForActive) {
    if (!clockScope) {
        clock = std::make_unique<vxl::test::FakeClock>();
        clockScope = std::make_unique<ScopedClock>(*clock);
    }
    dialog = std::make_unique<MainDialog>(*app);
    dialog->SetPortDetector(nullptr);  // the ports of the table only
    app->Coordinator().SetView(dialog.get());
    dialog->show();
    dialog->activateWindow();
    if (waitForActive) QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    dialog->RunUpdatePass();
}

// A simulated modem at `baud`, in real time. A load's soft break tries 9600 baud first, the
// search of Locate Modem 38400.
void WindowWorkflows::StartModem(int baud) {
    clock = std::make_unique<SlowPollClock>();
    clockScope = std::make_unique<ScopedClock>(*clock);
    sim::SimOptions options = sim::ProgramDefaults();
    options.linkPath = dir->File("modem");
    options.profile.baud = baud;
    options.lineTiming = false;  // the protocol's own waits, not the wire's, set the pace
    simulator = std::make_unique<sim::Simulator>(options);
    std::string error;
    QVERIFY2(simulator->Start(&error), error.c_str());
}

void WindowWorkflows::printAndF5WriteTheReportsAsPdf() {
    app->Coordinator().Init(7, 1);
    Open();
    std::vector<std::string> offered;
    std::vector<std::string> answers = {dir->File("report.pdf"), dir->File("map.pdf"), ""};
    dialog->SetPrintDestination([] { return std::string(); },
                                [&](const std::string& suggested) {
                                    offered.push_back(suggested);
                                    return answers.at(offered.size() - 1);
                                });
    Key(Qt::Key_D, Qt::AltModifier);
    const std::string serial = Field("SerialNumber").toStdString();
    QVERIFY(!serial.empty());
    Key(Qt::Key_F5);
    Key(Qt::Key_F6, Qt::ControlModifier);
    auto* print = qobject_cast<QPushButton*>(
        dialog->sheet()->page(CoordinatorPage::MemoryMap)->Control(kMemoryMapPrintButton));
    QVERIFY(print != nullptr);
    QTest::mouseClick(print, Qt::LeftButton);
    QTest::mouseClick(dialog->button(DialogButton::Print), Qt::LeftButton);  // then cancelled
    QCOMPARE(offered, (std::vector<std::string>{"vxl-report-" + serial + ".pdf",
                                                "vxl-memory-map-" + serial + ".pdf",
                                                "vxl-report-" + serial + ".pdf"}));
    QVERIFY(ui->messages.empty());
    QCOMPARE(ui->waitCursorDepth, 0);

    const QString report = Output("pdftotext -layout " + answers[0] + " -");
    QVERIFY2(report.contains(QStringLiteral("(End User)")), qPrintable(report));
    QVERIFY(report.contains(QString::fromStdString(serial)));
    QVERIFY(
        Output("pdfinfo " + answers[0]).contains(QStringLiteral("KTRCONF Configuration Report")));
    const QString listing = Output("pdftotext -layout " + answers[1] + " -");
    QVERIFY2(listing.contains(QStringLiteral("KTRCONF (User)")), qPrintable(listing));
    QVERIFY(listing.contains(QStringLiteral("0x0100")));
    QVERIFY(Output("pdfinfo " + answers[1]).contains(QStringLiteral("KTRCONF Modem Memory Map")));
}

// A fresh start: no port stored, the simulator's link pinned as port 2 beside a spare line.
void WindowWorkflows::theFirstRunLocatesTheModemOnItsPinnedPort() {
    StartModem(38400);
    vxl::test::TestPty spare(false);
    QVERIFY(spare.ok());
    prefs->SetText(kPortsSection, "COM1", spare.slavePath());
    prefs->SetText(kPortsSection, "COM2", simulator->LinkPath());
    PortTable::Instance().BuildFrom(ReadPinnedPorts(prefs->Path()), {});
    app->Coordinator().Init(-1, 1);
    QCOMPARE(app->Coordinator().GetPort(), -1);

    QStringList statuses;
    bool firstRun = false;
    QTimer driver;
    connect(&driver, &QTimer::timeout, [&] {
        auto* ports = qobject_cast<SelectPortDialog*>(QApplication::activeModalWidget());
        if (ports == nullptr) return;
        driver.stop();
        firstRun = ports->property("firstRun").toBool();
        for (int row = 0; row < ports->list()->topLevelItemCount(); ++row)
            statuses << ports->list()->topLevelItem(row)->text(1);
        ports->findChild<QPushButton*>(QStringLiteral("locateButton"))->click();
    });
    driver.start(10);
    Open(false);
    QTRY_COMPARE_WITH_TIMEOUT(app->Coordinator().GetPort(), 2, 60000);
    QVERIFY(firstRun);
    QCOMPARE(statuses, QStringList({"Available", "Available"}));
    QCOMPARE(prefs->GetInt(kPrefComPortNum, -1), 2);
    QCOMPARE(Captions(), QStringList{"Modem Found"});
    QVERIFY(ui->messages[0].text.find(simulator->LinkPath()) != std::string::npos);
    QVERIFY(dialog->button(DialogButton::Load)->isEnabled());
}

void WindowWorkflows::upgradesFromTheWindowAndReportsTheLineUnpluggedOnce() {
    StartModem(9600);
    // Firmware of revision 3.55 at the identity block, packed by the dealers' tool.
    const sim::MemoryBytes memory = simulator->Memory();
    std::string block(64, '\0');
    for (int i = 0; i < 64; ++i) block[i] = static_cast<char>(i < 7 ? memory[0x8400 + i] : i);
    block[2] = 35;
    block[3] = 5;
    dir->Write("fw.s19", FormatSrecord('0', 0, "HDR") + FormatSrecord('1', 0x8400, block) +
                             FormatSrecord('9', 0x8400, ""));
    const QString packed =
        Output("cd " + dir->path() + " && " VXL_BINARY_DIR "/src/vxlfw pack fw.s19 new.fw");
    QVERIFY2(packed.contains(QStringLiteral("firmware revision 3.55")), qPrintable(packed));
    app->Coordinator().Init(PortTable::Instance().AssignDevice(simulator->LinkPath()), 1);
    Open();

    Key(Qt::Key_F2);
    QCOMPARE(Field("FirmwareRevision"), QStringLiteral("2.20"));
    QVERIFY(Action("upgradeAction")->isEnabled() && !Action("selectPortAction")->isEnabled());
    ui->ScriptFiles({dir->File("new.fw")});
    Action("upgradeAction")->trigger();
    QCOMPARE(Captions(), QStringList({"Upgrade Modem Firmware", "Firmware Upgrade Complete",
                                      "Power-Cycle Your Modem"}));
    QCOMPARE(ui->messages[1].text, std::string("Firmware revision 3.55 written to modem."));
    bool download = false;
    for (const auto& window : ui->progress)
        download = download || window->title == "Firmware Download";
    QVERIFY(download);
    QCOMPARE(dialog->model().InitialFirmwareDir(), dir->path());
    QVERIFY(!app->Coordinator().IsAttached());
    QVERIFY(!Action("upgradeAction")->isEnabled() && Action("selectPortAction")->isEnabled());
    dialog->RunUpdatePass();
    QVERIFY(dialog->button(DialogButton::Load)->isDefault());

    // The operator power-cycles the modem, as told, and loads it again.
    simulator->PowerCycle();
    QVERIFY(simulator->WaitFor(
        [](const sim::SimStatus& s) { return s.mode == sim::ModemMode::kData; }, 10000));
    ui->messages.clear();
    Key(Qt::Key_F2);
    QCOMPARE(Field("FirmwareRevision"), QStringLiteral("3.55"));
    QVERIFY(dialog->sheet()->isTabEnabled(1));

    // The line is pulled out while the window is idle: one message, the pages grey.
    simulator->Unplug();
    QTRY_COMPARE_WITH_TIMEOUT(Captions(), QStringList{"Serial Device Lost"}, 10000);
    QVERIFY(ui->messages[0].text.find(simulator->LinkPath()) != std::string::npos);
    QVERIFY(!app->Coordinator().IsAttached());
    QVERIFY(!dialog->sheet()->isTabEnabled(1));
    QTest::qWait(1500);
    QCOMPARE(ui->messages.size(), size_t(1));
}

VXL_GUI_SUITE(WindowWorkflows);

}  // namespace vxl::gui::test

#include "window_workflows_test.moc"
