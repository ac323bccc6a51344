// The README's pictures; runs only when VXL_SCREENSHOT_DIR names the folder to write to
// (scripts/screenshot). With VXL_GRAB_WINDOW (an X window id, under an X server) it grabs that
// window of the running program as VXL_GRAB_NAME.png; otherwise it draws the other windows.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

#include "app/config_app.h"
#include "app/version.h"
#include "demo_backups.h"
#include "gui/about_box.h"
#include "gui/help_window.h"
#include "gui/port_dialog.h"
#include "gui/progress_window.h"
#include "gui/restore_backup_dialog.h"
#include "gui_test.h"
#include "level_window.h"
#include "link/test_pty.h"
#include "params/parameter_ids.h"

namespace vxl::gui::test {

class Screenshots : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void windowOfTheRunningProgram();
    void portDialog();
    void operatorWindows();
    void pagesOfTheFactoryLevel();
    void pagesAfterADemoLoad();
    void restoreDialog();

  private:
    void Save(QWidget* widget, const char* name);
    QString folder_;
};

void Screenshots::initTestCase() {
    folder_ = qEnvironmentVariable("VXL_SCREENSHOT_DIR");
    if (folder_.isEmpty()) QSKIP("VXL_SCREENSHOT_DIR is not set");
    // VXL_SCREENSHOT_PALETTE=dark draws the windows as on a dark desktop.
    if (qEnvironmentVariable("VXL_SCREENSHOT_PALETTE") == QLatin1String("dark")) {
        QPalette dark(QColor(0x35, 0x35, 0x35));  // window and buttons; light text
        dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
        dark.setColor(QPalette::AlternateBase, QColor(0x40, 0x40, 0x40));
        dark.setColor(QPalette::Text, QColor(0xE8, 0xE8, 0xE8));
        dark.setColor(QPalette::Link, QColor(0x7F, 0xB8, 0xF0));
        dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
        QApplication::setPalette(dark);
    }
}

void Screenshots::Save(QWidget* widget, const char* name) {
    widget->show();
    QCoreApplication::processEvents();
    const QString path = folder_ + QStringLiteral("/%1.png").arg(QString::fromLatin1(name));
    QVERIFY2(widget->grab().save(path), qPrintable(path));
}

void Screenshots::windowOfTheRunningProgram() {
    const QString id = qEnvironmentVariable("VXL_GRAB_WINDOW");
    if (id.isEmpty()) QSKIP("VXL_GRAB_WINDOW is not set");
    bool ok = false;
    const WId window = id.toULongLong(&ok, 0);
    QVERIFY(ok);
    // VXL_GRAB_RECT "x,y,w,h" takes that part of the window (the screen, to show a progress
    // window over the main window).
    const QStringList rect = qEnvironmentVariable("VXL_GRAB_RECT").split(QLatin1Char(','));
    QPixmap shot = rect.size() == 4 ? QGuiApplication::primaryScreen()->grabWindow(
                                          window, rect[0].toInt(), rect[1].toInt(), rect[2].toInt(),
                                          rect[3].toInt())
                                    : QGuiApplication::primaryScreen()->grabWindow(window);
    QVERIFY(!shot.isNull());
    const QString path =
        folder_ + QStringLiteral("/%1.png").arg(qEnvironmentVariable("VXL_GRAB_NAME"));
    QVERIFY2(shot.save(path), qPrintable(path));
}

// The port dialog with three adapters, the second held by a terminal program, clicked.
void Screenshots::portDialog() {
    if (!qEnvironmentVariable("VXL_GRAB_WINDOW").isEmpty()) QSKIP("grabbing the program only");
    vxl::test::TestPty first(false), held(false), third(false);
    QVERIFY(first.ok() && held.ok() && third.ok());
    PortTable::Instance().BuildFrom({},
                                    {{0, first.slavePath(), "FT232R USB UART, FTDI, S/N A10K3XQ2"},
                                     {0, held.slavePath(), "USB-Serial Controller D, Prolific"},
                                     {0, third.slavePath(), "On-board serial port"}});
    // Another program holds the second line, as a terminal program would.
    int ready[2];
    QVERIFY(pipe(ready) == 0);
    const pid_t holder = fork();
    if (holder == 0) {
        prctl(PR_SET_NAME, "minicom");
        const int fd = open(held.slavePath().c_str(), O_RDWR | O_NOCTTY);
        if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 && write(ready[1], "y", 1) == 1) pause();
        _exit(1);
    }
    char answer = 0;
    QVERIFY(holder > 0 && read(ready[0], &answer, 1) == 1);
    close(ready[0]);
    close(ready[1]);
    {
        PortSelectionModel model(1, 1, false, nullptr);
        model.Probe();
        SelectPortDialog dialog(model);
        dialog.show();
        QCoreApplication::processEvents();
        QTreeWidget* list = dialog.list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->topLevelItem(1)).center());
        Save(&dialog, "port-dialog");
    }
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
}

void Screenshots::operatorWindows() {
    if (!qEnvironmentVariable("VXL_GRAB_WINDOW").isEmpty()) QSKIP("grabbing the program only");
    const VersionTexts version = ProgramVersion();
    AboutBox about(QString(), version);
    Save(&about, "about-box");

    ProgressDialog countdown(
        nullptr, QStringLiteral("Capturing Modem"),
        {"/dev/ttyUSB0", "Please power cycle your VXL modem now",
         "to allow the VXL Configuration Software to capture it.", "Time remaining: 7 sec."},
        true);
    countdown.bar()->hide();
    Save(&countdown, "capture-countdown");

    QMessageBox box(QMessageBox::Critical, QStringLiteral("Load Failed"),
                    QStringLiteral("Connection lost during load. Please check your connection "
                                   "and retry.\n\nDiagnostic Code: 77 at Modem:155"));
    box.addButton(QStringLiteral("&Retry"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    Save(&box, "load-failed");

    HelpWindow help;
    help.ShowTopic(QStringLiteral("contents"));
    Save(&help, "help-window");
}

// `vxlconf factory` on the demo modem, with the Memory Map page added: the three grid pages.
void Screenshots::pagesOfTheFactoryLevel() {
    if (!qEnvironmentVariable("VXL_GRAB_WINDOW").isEmpty()) QSKIP("grabbing the program only");
    LevelWindow w({"factory"});
    w.LoadDemo();
    w.Key(Qt::Key_F6, Qt::ControlModifier);
    const struct {
        SheetPage page;
        const char* name;
    } shots[] = {{SheetPage::MemoryMap, "memory-map-page"},
                 {SheetPage::Frequencies, "frequencies-page"},
                 {SheetPage::Factory, "factory-page"}};
    for (const auto& shot : shots) {
        w.Sheet()->setCurrentWidget(w.Sheet()->page(shot.page));
        Save(w.dialog.get(), shot.name);
    }
}

void Screenshots::pagesAfterADemoLoad() {
    if (!qEnvironmentVariable("VXL_GRAB_WINDOW").isEmpty()) QSKIP("grabbing the program only");
    LevelWindow w({});
    w.LoadDemo();
    const char* names[] = {"page-identification", "page-radio-link", "page-serial-interface"};
    for (int tab = 0; tab < 3; ++tab) {
        w.Sheet()->setCurrentIndex(tab);
        w.dialog->RunUpdatePass();
        Save(w.dialog.get(), names[tab]);
    }
}

// Restore From Backup... on the demo modem with three backups of it: one holding other serial
// settings and an owner, one another owner, one the loaded settings.
void Screenshots::restoreDialog() {
    if (!qEnvironmentVariable("VXL_GRAB_WINDOW").isEmpty()) QSKIP("grabbing the program only");
    LevelWindow w({});
    w.LoadDemo();
    CCoordinator& coordinator = w.app->Coordinator();
    coordinator.Programming().SetBackupRoot(w.dir.File("backups"));
    coordinator.Settings().SetText(pid::kOwner, "Quarry 7");
    coordinator.Settings().SetInt(pid::kBaudRate, 3);
    coordinator.Settings().SetInt(pid::kParity, 1);
    coordinator.Settings().SetText(pid::kCallSign, "KD7XYZ");
    coordinator.Settings().SetInt(pid::kLocalAddress, 12);
    QVERIFY(SaveDemoBackup(coordinator, 1714566896));
    coordinator.Undo();
    coordinator.Settings().SetText(pid::kOwner, "Pit 4");
    QVERIFY(SaveDemoBackup(coordinator, 1715853312));
    coordinator.Undo();
    QVERIFY(SaveDemoBackup(coordinator, 1716970420));
    SafetyCommands commands(coordinator);
    RestoreBackupDialog dialog(coordinator.Settings().SerialNumberText(), commands.ListBackups());
    Save(&dialog, "restore-dialog");
}

VXL_GUI_SUITE(Screenshots);

}  // namespace vxl::gui::test

#include "screenshots_test.moc"
