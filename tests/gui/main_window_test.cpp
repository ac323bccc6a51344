// The main window driven as the operator drives it: keys, buttons and typing, on the demo
// modem (fake clock) and once on a simulated modem over a pseudo-terminal (real time).
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

#include "app/config_app.h"
#include "gui/help_window.h"
#include "gui/main_dialog.h"
#include "gui/property_sheet.h"
#include "gui_test.h"
#include "link/port_table.h"
#include "params/definitions.h"
#include "sim/lib/modem_memory.h"
#include "sim/lib/simulator.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"

namespace vxl::gui::test {

// Real time whose 1 ms polls last 10 ms. A reply is usually in before the first poll, so this
// costs little, but a reply that a busy machine delays still arrives within the ten polls.
class GenerousPollClock : public SystemClock {
  public:
    void SleepMs(int ms) override { SystemClock::SleepMs(ms == 1 ? 10 : ms); }
};

class MainWindow : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void startsWithNoModemOnIdentification();
    void demoEnablesThePagesAndCloseGreysThemAgain();
    void ctrlF6TwiceAddsOneTab();
    void keysWorkWhileTheSheetHasTheFocus();
    void programIsEnabledOnlyAfterAnEdit();
    void menuCarriesTheCommandsAndF1OpensTheGuide();
    void loadsAndProgramsASimulatedModem();

  private:
    void Open();
    QPushButton* Button(const char* name) const {
        return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QLineEdit* Field(const char* key) const {
        return dialog->findChild<QLineEdit*>(QString::fromLatin1(key));
    }
    PropertySheet* Sheet() const { return dialog->sheet(); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QWidget* to = nullptr) {
        QTest::keyClick(to ? to : dialog.get(), static_cast<Qt::Key>(key), modifiers);
        dialog->RunUpdatePass();
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const auto& m : ui.messages) captions.push_back(m.caption);
        return captions;
    }

    vxl::test::RecordingOperator ui;
    std::unique_ptr<ScopedUi> uiScope;
    vxl::test::FakeClock clock;
    std::unique_ptr<ScopedClock> clockScope;
    std::unique_ptr<ScopedDefinitionsPath> definitions;
    std::unique_ptr<CConfigApp> app;
    std::unique_ptr<MainDialog> dialog;
};

void MainWindow::init() {
    ui = vxl::test::RecordingOperator();
    uiScope = std::make_unique<ScopedUi>(ui);
    clockScope = std::make_unique<ScopedClock>(clock);
    definitions = std::make_unique<ScopedDefinitionsPath>(VXL_SOURCE_DATA_DIR "/vxlconf.ini");
    app = std::make_unique<CConfigApp>();
    app->Coordinator().Init(7, 1);  // a port, so that no first-run question comes up
}

void MainWindow::Open() {
    dialog = std::make_unique<MainDialog>(*app);
    app->Coordinator().SetView(dialog.get());
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    dialog->RunUpdatePass();
}

void MainWindow::cleanup() {
    if (dialog) {
        std::string response;
        app->Coordinator().Detach(response, true);
        app->Coordinator().SetView(nullptr);
    }
    dialog.reset();
    app.reset();
    definitions.reset();
    clockScope.reset();
    uiScope.reset();
}

void MainWindow::startsWithNoModemOnIdentification() {
    Open();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("VXL Configuration Program - End User"));
    QCOMPARE(Sheet()->count(), 3);
    QVERIFY(!Sheet()->isTabEnabled(1) && !Sheet()->isTabEnabled(2));
    QCOMPARE(Sheet()->currentIndex(), 0);
    QVERIFY(Button("loadButton")->isEnabled());
    QVERIFY(Button("loadButton")->isDefault());
    for (const char* name :
         {"programButton", "closeButton", "printButton", "undoButton", "defaultsButton"})
        QVERIFY2(!Button(name)->isEnabled(), name);
    QVERIFY(!Field("Owner")->isEnabled());
    QVERIFY(!Field("CallSign")->isEnabled());
    QVERIFY(dialog->findChild<QLabel*>(QStringLiteral("callSignLabel"))->isEnabled());
    QCOMPARE(Button("programButton")->property("controlId").toInt(), 1003);
}

void MainWindow::demoEnablesThePagesAndCloseGreysThemAgain() {
    Open();
    Key(Qt::Key_D, Qt::AltModifier);
    QVERIFY(ui.messages.empty());
    QVERIFY(Sheet()->isTabEnabled(1) && Sheet()->isTabEnabled(2));
    QCOMPARE(Field("Model")->text(), QStringLiteral("VXL"));
    QVERIFY(Field("Frequency")->text().endsWith(QStringLiteral(" MHz")));
    QVERIFY(Field("Owner")->isEnabled());
    QVERIFY(Button("closeButton")->isEnabled() && Button("printButton")->isEnabled());
    Sheet()->setCurrentIndex(2);
    QTest::mouseClick(Button("closeButton"), Qt::LeftButton);
    dialog->RunUpdatePass();
    QVERIFY(!Sheet()->isTabEnabled(1) && !Sheet()->isTabEnabled(2));
    QCOMPARE(Sheet()->currentIndex(), 0);
    QVERIFY(Field("Model")->text().isEmpty());
    QVERIFY(Button("loadButton")->isDefault());
}

void MainWindow::ctrlF6TwiceAddsOneTab() {
    Open();
    Key(Qt::Key_F6, Qt::ControlModifier);
    Key(Qt::Key_F6, Qt::ControlModifier);
    QCOMPARE(Sheet()->count(), 4);
    QVERIFY(!Sheet()->isTabEnabled(3));
    QCOMPARE(Sheet()->currentIndex(), 0);
}

void MainWindow::keysWorkWhileTheSheetHasTheFocus() {
    Open();
    Key(Qt::Key_D, Qt::AltModifier);
    QLineEdit* owner = Field("Owner");
    owner->setFocus();
    QVERIFY(owner->hasFocus());
    Key(Qt::Key_F5, Qt::NoModifier, owner);
    QCOMPARE(Captions(), std::vector<std::string>{"Print"});
    Key(Qt::Key_B, Qt::AltModifier, owner);
    Key(Qt::Key_B, Qt::AltModifier, owner);
    Key(Qt::Key_I, Qt::AltModifier, owner);
    QCOMPARE(dialog->windowTitle(),
             QStringLiteral("VXL Configuration Program - End User (%1)     %2")
                 .arg(QString::fromStdString(app->BuildText()),
                      QString::fromStdString(app->InstallIniPath())));
    Key(Qt::Key_D, Qt::AltModifier, owner);
    QCOMPARE(Captions().back(), std::string("Demo Mode Failure"));
    Key(Qt::Key_F6, Qt::ControlModifier, owner);
    QCOMPARE(Sheet()->currentIndex(), 3);  // with a modem the Memory Map page comes up
}

void MainWindow::programIsEnabledOnlyAfterAnEdit() {
    Open();
    Key(Qt::Key_D, Qt::AltModifier);
    QPushButton* program = Button("programButton");
    QVERIFY(!program->isEnabled());
    QLineEdit* owner = Field("Owner");
    owner->setFocus();
    owner->selectAll();
    QTest::keyClicks(owner, "Dock 3");
    dialog->RunUpdatePass();
    QVERIFY(program->isEnabled());
    QVERIFY(program->isDefault());
    QVERIFY(dialog->sheet()->page(CoordinatorPage::Identification)->changed());
    QTest::mouseClick(Button("undoButton"), Qt::LeftButton);
    dialog->RunUpdatePass();
    QVERIFY(!program->isEnabled());
    QVERIFY(!dialog->sheet()->page(CoordinatorPage::Identification)->changed());
    QVERIFY(Button("closeButton")->isDefault());
}

void MainWindow::menuCarriesTheCommandsAndF1OpensTheGuide() {
    Open();
    QStringList items;
    QMenu* menu = dialog->modemMenu();
    emit menu->aboutToShow();
    for (QAction* action : menu->actions())
        items << QStringLiteral("%1=%2%3").arg(action->text(), action->data().toString(),
                                               action->isEnabled() ? "" : "-");
    QCOMPARE(items, QStringList({"&Select Serial Port...=64",
                                 "Set Capture Method=", "&Upgrade modem firmware=128-"}));
    QMenu* capture = menu->findChild<QMenu*>(QStringLiteral("captureMenu"));
    QStringList checks;
    for (QAction* action : capture->actions())
        checks << action->text() + (action->isChecked() ? "*" : "");
    QCOMPARE(checks, QStringList({"Power On Capture", "Soft Break*"}));
    capture->actions().at(0)->trigger();
    QCOMPARE(app->Coordinator().GetCaptureMethod(), 3);
    QVERIFY(capture->actions().at(0)->isChecked() && !capture->actions().at(1)->isChecked());
    auto* about = dialog->findChild<QAction*>(QStringLiteral("aboutAction"));
    QCOMPARE(about->text(), QStringLiteral("&About VXL Configuration Software..."));
    QVERIFY(dialog->AddMenu(QStringLiteral("&Settings")) != nullptr);
    QCOMPARE(dialog->findChild<QMenuBar*>()->actions().at(1)->text(), QStringLiteral("&Settings"));

    QVERIFY(!Button("loadButton")->whatsThis().isEmpty());
    Key(Qt::Key_F1);
    auto* help = qobject_cast<HelpWindow*>([] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("helpWindow")) return w;
        return static_cast<QWidget*>(nullptr);
    }());
    QVERIFY(help != nullptr && help->isVisible());
    QCOMPARE(help->browser()->source().fragment(), QStringLiteral("contents"));
    QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("dialout")));
}

void MainWindow::loadsAndProgramsASimulatedModem() {
    // Real time against the simulator, with room for a busy machine: the image read gives a
    // reply ten 1 ms polls, which a simulator thread scheduled late can miss.
    GenerousPollClock generous;
    clockScope.reset();
    clockScope = std::make_unique<ScopedClock>(generous);
    vxl::test::TempDir dir;
    sim::SimOptions options = sim::ProgramDefaults();
    options.linkPath = dir.File("modem");
    options.profile.serialNumber = 4711;
    sim::Simulator simulator(options);
    std::string error;
    QVERIFY2(simulator.Start(&error), error.c_str());
    app->Coordinator().Init(PortTable::Instance().AssignDevice(simulator.LinkPath()), 1);
    Open();

    Key(Qt::Key_F2);
    QVERIFY2(ui.messages.empty(), ui.messages.empty() ? "" : ui.messages[0].text.c_str());
    QCOMPARE(Field("SerialNumber")->text().toInt(), 4711);
    QVERIFY(Sheet()->isTabEnabled(1));
    QVERIFY(!Button("programButton")->isEnabled());
    QVERIFY(!Button("loadButton")->isEnabled());
    QVERIFY(Button("closeButton")->isDefault());
    bool read = false;
    for (const auto& window : ui.progress) read = read || window->title == "Reading Modem";
    QVERIFY(read);

    // An edit on each of two pages.
    for (auto [tab, key, text] : {std::tuple{0, "Owner", "Quay"}, {1, "LocalAddress", "42"}}) {
        Sheet()->setCurrentIndex(tab);
        Field(key)->setFocus();
        Field(key)->selectAll();
        QTest::keyClicks(Field(key), text);
    }
    dialog->RunUpdatePass();
    QVERIFY(Button("programButton")->isEnabled());
    Key(Qt::Key_F4);  // answered Yes by the recording operator
    QCOMPARE(Captions(), std::vector<std::string>{"Programming"});
    QVERIFY(!Button("programButton")->isEnabled());
    QVERIFY(Button("loadButton")->isEnabled());  // programmed and unchanged: Load reloads
    const sim::MemoryBytes stored = simulator.StoredMemory();
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(&stored[0x16B]), 4), QByteArray("Quay"));
    QCOMPARE(int(stored[0x194]), 42);
    QVERIFY(sim::ConfigChecksumValid(stored, sim::DefaultConfigSize(options.profile)));
    simulator.Stop();
    clockScope.reset();
}

VXL_GUI_SUITE(MainWindow);

}  // namespace vxl::gui::test

#include "main_window_test.moc"
