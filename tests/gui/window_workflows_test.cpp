// The window's workflows in this process: Print, F5 and the Memory Map page's Print into PDF
// files (demo modem, fake clock); and, in real time against a simulated modem, the first run's
// port dialog locating the modem on its pinned port, and an upgrade from the window. Loads,
// edits, Program and a line pulled out are driven in the program itself (tests/gui_e2e).
#include <QAction>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <cstdio>

#include "app/config_app.h"
#include "gui/main_dialog.h"
#include "gui/page_registry.h"
#include "gui/port_dialog.h"
#include "gui/property_sheet.h"
#include "gui_test.h"
#include "link/port_table.h"
#include "link/test_pty.h"
#include "modem/firmware_file.h"
#include "params/definitions.h"
#include "sim/lib/modem_memory.h"
#include "sim/lib/simulator.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/format.h"
#include "util/preferences.h"
#include "window/control_ids.h"

namespace vxl::gui::test {

namespace {

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

// What one test runs in, torn down in reverse: a recording operator, fresh preferences, the
// shipped definitions, a clock (fake until a simulated modem needs real time), the application
// and its main window.
struct Session {
    ~Session() {
        if (dialog) {
            std::string response;
            app.Coordinator().Detach(response, true);
            app.Coordinator().SetView(nullptr);
        }
        dialog.reset();
        if (simulator) simulator->Stop();
    }
    vxl::test::RecordingOperator ui;
    ScopedUi uiScope{ui};
    vxl::test::TempDir dir;
    PreferenceStore prefs{dir.File("prefs.conf")};
    ScopedPrefs prefsScope{prefs};
    ScopedDefinitionsPath definitions{VXL_SOURCE_DATA_DIR "/vxlconf.ini"};
    std::unique_ptr<Clock> clock = std::make_unique<vxl::test::FakeClock>();
    std::unique_ptr<ScopedClock> clockScope = std::make_unique<ScopedClock>(*clock);
    std::unique_ptr<sim::Simulator> simulator;
    CConfigApp app;
    std::unique_ptr<MainDialog> dialog;
};

class WindowWorkflows : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        PortTable::Instance().BuildFrom({}, {});
        s = std::make_unique<Session>();
    }
    void cleanup() { s.reset(); }
    void printAndF5WriteTheReportsAsPdf();
    void theFirstRunLocatesTheModemOnItsPinnedPort();
    void loadsAndUpgradesTheModemAndRemembersTheFolder();

  private:
    // Shows the window; the first run's port dialog, when it comes, takes the activation.
    void Open(bool waitForActive = true) {
        s->dialog = std::make_unique<MainDialog>(s->app);
        s->dialog->SetPortDetector(nullptr);  // the ports of the table only
        s->app.Coordinator().SetView(s->dialog.get());
        s->dialog->show();
        s->dialog->activateWindow();
        if (waitForActive) QVERIFY(QTest::qWaitForWindowActive(s->dialog.get()));
        s->dialog->RunUpdatePass();
    }
    void StartModem(int baud);
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(s->dialog.get(), static_cast<Qt::Key>(key), modifiers);
        s->dialog->RunUpdatePass();
    }
    QString Field(const char* key) const {
        auto* field = s->dialog->findChild<QWidget*>(QString::fromLatin1(key));
        return field ? field->property("text").toString() : QString();
    }
    QAction* Action(const char* name) const {
        return s->dialog->findChild<QAction*>(QString::fromLatin1(name));
    }
    QStringList Captions() const {
        QStringList captions;
        for (const auto& m : s->ui.messages) captions << QString::fromStdString(m.caption);
        return captions;
    }

    std::unique_ptr<Session> s;
};

// A simulated modem at `baud`, in real time. A load's soft break tries 9600 baud first, the
// search of Locate Modem 38400.
void WindowWorkflows::StartModem(int baud) {
    s->clockScope.reset();
    s->clock = std::make_unique<vxl::test::QuickPauseClock>();
    s->clockScope = std::make_unique<ScopedClock>(*s->clock);
    sim::SimOptions options = sim::ProgramDefaults();
    options.linkPath = s->dir.File("modem");
    options.profile.baud = baud;
    options.lineTiming = false;  // the protocol's own waits, not the wire's, set the pace
    s->simulator = std::make_unique<sim::Simulator>(options);
    std::string error;
    QVERIFY2(s->simulator->Start(&error), error.c_str());
}

void WindowWorkflows::printAndF5WriteTheReportsAsPdf() {
    s->app.Coordinator().Init(7, 1);
    Open();
    std::vector<std::string> offered;
    std::vector<std::string> answers = {s->dir.File("report.pdf"), s->dir.File("map.pdf"), ""};
    s->dialog->SetPrintDestination([] { return std::string(); },
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
        s->dialog->sheet()->page(SheetPage::MemoryMap)->Control(vxl::control::kPrintMemoryMap));
    QVERIFY(print != nullptr);
    QTest::mouseClick(print, Qt::LeftButton);
    QTest::mouseClick(s->dialog->button(DialogButton::Print), Qt::LeftButton);  // then cancelled
    QCOMPARE(offered, (std::vector<std::string>{"vxl-report-" + serial + ".pdf",
                                                "vxl-memory-map-" + serial + ".pdf",
                                                "vxl-report-" + serial + ".pdf"}));
    QVERIFY(s->ui.messages.empty());
    QCOMPARE(s->ui.waitCursorDepth, 0);

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
    s->prefs.SetText(kPortsSection, "COM1", spare.slavePath());
    s->prefs.SetText(kPortsSection, "COM2", s->simulator->LinkPath());
    PortTable::Instance().BuildFrom(ReadPinnedPorts(s->prefs.Path()), {});
    s->app.Coordinator().Init(-1, 1);
    QCOMPARE(s->app.Coordinator().Session().GetPort(), -1);

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
    QTRY_COMPARE_WITH_TIMEOUT(s->app.Coordinator().Session().GetPort(), 2, 60000);
    QVERIFY(firstRun);
    QCOMPARE(statuses, QStringList({"Available", "Available"}));
    QCOMPARE(s->prefs.GetInt(kPrefComPortNum, -1), 2);
    QCOMPARE(Captions(), QStringList{"Modem Found"});
    QVERIFY(s->ui.messages[0].text.find(s->simulator->LinkPath()) != std::string::npos);
    QVERIFY(s->dialog->button(DialogButton::Load)->isEnabled());
}

void WindowWorkflows::loadsAndUpgradesTheModemAndRemembersTheFolder() {
    StartModem(9600);
    // Firmware of revision 3.55 at the identity block, packed by the dealers' tool.
    const sim::MemoryBytes memory = s->simulator->Memory();
    std::string block(64, '\0');
    for (int i = 0; i < 64; ++i) block[i] = static_cast<char>(i < 7 ? memory[0x8400 + i] : i);
    block[2] = 35;
    block[3] = 5;
    s->dir.Write("fw.s19", FormatSrecord('0', 0, "HDR") + FormatSrecord('1', 0x8400, block) +
                               FormatSrecord('9', 0x8400, ""));
    const QString packed =
        Output("cd " + s->dir.path() + " && " VXL_BINARY_DIR "/src/vxlfw pack fw.s19 new.fw");
    QVERIFY2(packed.contains(QStringLiteral("firmware revision 3.55")), qPrintable(packed));
    s->app.Coordinator().Init(PortTable::Instance().AssignDevice(s->simulator->LinkPath()), 1);
    s->prefs.SetText(kPrefInitFirmwareDir, "/srv/firmware");  // the folder of the last upgrade
    Open();

    Key(Qt::Key_F2);
    QCOMPARE(Field("FirmwareRevision"), QStringLiteral("2.20"));
    QVERIFY(Action("upgradeAction")->isEnabled() && !Action("selectPortAction")->isEnabled());
    s->ui.ScriptFiles({s->dir.File("new.fw")});
    Action("upgradeAction")->trigger();
    QCOMPARE(Captions(), QStringList({"Upgrade Modem Firmware", "Firmware Upgrade Complete",
                                      "Power-Cycle Your Modem"}));
    QCOMPARE(s->ui.messages[1].text, std::string("Firmware revision 3.55 written to modem."));
    bool download = false;
    for (const auto& window : s->ui.progress)
        download = download || window->title == "Firmware Download";
    QVERIFY(download);
    QCOMPARE(s->ui.fileDialogs.at(0).startDir, std::string("/srv/firmware"));
    QCOMPARE(s->dialog->model().InitialFirmwareDir(), s->dir.path());
    QVERIFY(!s->app.Coordinator().IsAttached());
    QVERIFY(!Action("upgradeAction")->isEnabled() && Action("selectPortAction")->isEnabled());
    s->dialog->RunUpdatePass();
    QVERIFY(s->dialog->button(DialogButton::Load)->isDefault());

    // The window stores the firmware folder when it closes.
    s->app.Coordinator().SetView(nullptr);
    s->dialog.reset();
    QCOMPARE(s->prefs.GetText(kPrefInitFirmwareDir, ""), s->dir.path());
}

VXL_GUI_SUITE(WindowWorkflows);

}  // namespace vxl::gui::test

#include "window_workflows_test.moc"
