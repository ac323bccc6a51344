// The pictures of docs/images/ for scripts/screenshot, a developer's tool that is never installed.
//   screenshot_windows FOLDER                         draws the port dialog, the operator's
//       windows, the pages after a demo load at the End User and Factory levels and the list of
//       Restore From Backup... into FOLDER (offscreen does);
//   screenshot_windows FOLDER NAME WINDOW [x,y,w,h]   grabs the X window WINDOW of the running
//       program (or that part of the screen) as FOLDER/NAME.png.
// VXL_SCREENSHOT_PALETTE=dark draws the windows as on a dark desktop.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/config_app.h"
#include "app/version.h"
#include "backup/backup_store.h"
#include "coordinator/safety_commands.h"
#include "gui/about_box.h"
#include "gui/help_window.h"
#include "gui/main_dialog.h"
#include "gui/port_dialog.h"
#include "gui/progress_window.h"
#include "gui/property_sheet.h"
#include "gui/restore_backup_dialog.h"
#include "gui/window_front_end.h"
#include "link/port_table.h"
#include "params/definitions.h"
#include "params/modem_memory_image.h"
#include "params/parameter_ids.h"

namespace vxl::gui {
namespace {

QString folder;

[[noreturn]] void Die(const QString& why) {
    std::fprintf(stderr, "screenshot_windows: %s\n", qPrintable(why));
    std::exit(1);
}

void Save(QWidget* widget, const char* name) {
    widget->show();
    QCoreApplication::processEvents();
    const QString path = folder + QStringLiteral("/%1.png").arg(QString::fromLatin1(name));
    if (!widget->grab().save(path)) Die(QStringLiteral("cannot write ") + path);
}

// The demo modem's waits take no time.
class InstantClock : public SystemClock {
  public:
    void SleepMs(int) override {}
};

// The main window of `vxlconf ARGS` with the demo modem loaded (Alt+D).
struct DemoWindow {
    explicit DemoWindow(std::vector<std::string> args) {
        app.SetPreferencePath(
            QDir(scratch.path()).filePath(QStringLiteral("prefs.conf")).toStdString());
        app.SetInteractiveRun([](CConfigApp&) { return kExitOk; });
        for (const char* word : {"nologo", "port", "7"}) args.emplace_back(word);
        app.Run(args);
        dialog = std::make_unique<MainDialog>(app);
        app.Coordinator().SetView(dialog.get());
        dialog->show();
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog.get())) Die(QStringLiteral("no main window"));
        Key(Qt::Key_D, Qt::AltModifier);
    }
    ~DemoWindow() {
        std::string response;
        app.Coordinator().Detach(response, true);
        app.Coordinator().SetView(nullptr);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(dialog.get(), key, modifiers);
        dialog->RunUpdatePass();
    }
    // The settings as shown now, saved as a backup taken at `time` (Program backs up no demo).
    void Backup(std::time_t time) {
        CCoordinator& coordinator = app.Coordinator();
        const ModemMemoryImage& image = *coordinator.Settings().Image();
        const int main = image.GetMainSize(), extension = image.GetExtensionSize();
        BackupImage backup{
            {coordinator.Settings().SerialNumberText(), "VXL", image.GetFirmwareRevisionText(),
             main, extension, image.GetModemType(), time},
            std::vector<uint8_t>(static_cast<size_t>(main + extension))};
        image.ReadBytes(image.GetBaseAddress(), main, backup.bytes.data());
        image.ReadBytes(ModemMemoryImage::kExtensionAddress, extension, backup.bytes.data() + main);
        std::string path;
        if (!SaveBackup(coordinator.Programming().GetBackupRoot(), backup, path).ok())
            Die(QStringLiteral("cannot save a backup"));
    }

    QTemporaryDir scratch;
    CConfigApp app;
    std::unique_ptr<MainDialog> dialog;
};

void GrabWindow(const char* name, const char* window, const char* area) {
    bool ok = false;
    const WId id = QString::fromLatin1(window).toULongLong(&ok, 0);
    if (!ok) Die(QStringLiteral("not a window id: ") + QString::fromLatin1(window));
    const QStringList rect = QString::fromLatin1(area).split(QLatin1Char(','));
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap shot = rect.size() == 4 ? screen->grabWindow(id, rect[0].toInt(), rect[1].toInt(),
                                                               rect[2].toInt(), rect[3].toInt())
                                          : screen->grabWindow(id);
    const QString path = folder + QStringLiteral("/%1.png").arg(QString::fromLatin1(name));
    if (shot.isNull() || !shot.save(path)) Die(QStringLiteral("cannot grab into ") + path);
}

// A pseudo-terminal standing for an adapter: its device (the far end stays open until the end).
std::string Adapter() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {0};
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 ||
        ptsname_r(master, name, sizeof name) != 0)
        Die(QStringLiteral("no pseudo-terminal"));
    return name;
}

// The port dialog with three adapters, the second held by a terminal program, clicked.
void PortDialog() {
    const std::string first = Adapter(), held = Adapter(), third = Adapter();
    PortTable::Instance().BuildFrom({}, {{0, first, "FT232R USB UART, FTDI, S/N A10K3XQ2"},
                                         {0, held, "USB-Serial Controller D, Prolific"},
                                         {0, third, "On-board serial port"}});
    int ready[2];
    if (pipe(ready) != 0) Die(QStringLiteral("no pipe"));
    const pid_t holder = fork();
    if (holder == 0) {
        prctl(PR_SET_NAME, "minicom");
        const int fd = open(held.c_str(), O_RDWR | O_NOCTTY);
        if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 && write(ready[1], "y", 1) == 1) pause();
        _exit(1);
    }
    char answer = 0;
    if (holder <= 0 || read(ready[0], &answer, 1) != 1) Die(QStringLiteral("no holder"));
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

void OperatorWindows() {
    AboutBox about(QString(), ProgramVersion());
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

void Pages() {
    {
        DemoWindow w({});
        const char* names[] = {"page-identification", "page-radio-link", "page-serial-interface"};
        for (int tab = 0; tab < 3; ++tab) {
            w.dialog->sheet()->setCurrentIndex(tab);
            w.dialog->RunUpdatePass();
            Save(w.dialog.get(), names[tab]);
        }
    }
    DemoWindow w({"factory"});
    w.Key(Qt::Key_F6, Qt::ControlModifier);
    const struct {
        SheetPage page;
        const char* name;
    } shots[] = {{SheetPage::MemoryMap, "memory-map-page"},
                 {SheetPage::Frequencies, "frequencies-page"},
                 {SheetPage::Factory, "factory-page"}};
    for (const auto& shot : shots) {
        w.dialog->sheet()->setCurrentWidget(w.dialog->sheet()->page(shot.page));
        Save(w.dialog.get(), shot.name);
    }
}

// Restore From Backup... on the demo modem with three backups of it: one holding other serial
// settings and an owner, one another owner, one the loaded settings.
void RestoreDialog() {
    DemoWindow w({});
    CCoordinator& coordinator = w.app.Coordinator();
    coordinator.Programming().SetBackupRoot(
        QDir(w.scratch.path()).filePath(QStringLiteral("backups")).toStdString());
    coordinator.Settings().SetText(pid::kOwner, "Quarry 7");
    coordinator.Settings().SetInt(pid::kBaudRate, 3);
    coordinator.Settings().SetInt(pid::kParity, 1);
    coordinator.Settings().SetText(pid::kCallSign, "KD7XYZ");
    coordinator.Settings().SetInt(pid::kLocalAddress, 12);
    w.Backup(1714566896);
    coordinator.Undo();
    coordinator.Settings().SetText(pid::kOwner, "Pit 4");
    w.Backup(1715853312);
    coordinator.Undo();
    w.Backup(1716970420);
    SafetyCommands commands(coordinator);
    RestoreBackupDialog dialog(coordinator.Settings().SerialNumberText(), commands.ListBackups());
    Save(&dialog, "restore-dialog");
}

}  // namespace
}  // namespace vxl::gui

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: screenshot_windows FOLDER [NAME WINDOW [x,y,w,h]]\n");
        return 2;
    }
    using namespace vxl::gui;
    QApplication application(argc, argv);
    KeepCoreLocaleNeutral();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    folder = QString::fromLocal8Bit(argv[1]);
    if (argc > 2) {
        GrabWindow(argv[2], argv[3], argc > 4 ? argv[4] : "");
        return 0;
    }
    if (qEnvironmentVariable("VXL_SCREENSHOT_PALETTE") == QLatin1String("dark")) {
        QPalette dark(QColor(0x35, 0x35, 0x35));  // window and buttons; light text
        dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
        dark.setColor(QPalette::AlternateBase, QColor(0x40, 0x40, 0x40));
        dark.setColor(QPalette::Text, QColor(0xE8, 0xE8, 0xE8));
        dark.setColor(QPalette::Link, QColor(0x7F, 0xB8, 0xF0));
        dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
        QApplication::setPalette(dark);
    }
    InstantClock clock;
    vxl::ScopedClock clockScope(clock);
    vxl::ScopedDefinitionsPath definitions(VXL_SOURCE_DATA_DIR "/vxlconf.ini");
    // The operator stays the headless one: the load opens no window in front of the pages.
    PortDialog();
    OperatorWindows();
    Pages();
    RestoreDialog();
    return 0;
}
