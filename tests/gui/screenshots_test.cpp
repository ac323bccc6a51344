// The README's pictures; runs only when VXL_SCREENSHOT_DIR names the folder to write to
// (scripts/screenshot). With VXL_GRAB_WINDOW (an X window id, under an X server) it grabs that
// window of the running program as VXL_GRAB_NAME.png; otherwise it draws the other windows.
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QTextBrowser>
#include <QtTest>

#include "app/config_app.h"
#include "app/version.h"
#include "gui/about_box.h"
#include "gui/help_window.h"
#include "gui/progress_window.h"
#include "gui_test.h"
#include "level_window.h"

namespace vxl::gui::test {

class Screenshots : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void windowOfTheRunningProgram();
    void operatorWindows();
    void pagesOfTheFactoryLevel();
    void pagesAfterADemoLoad();

  private:
    void Save(QWidget* widget, const char* name);
    QString folder_;
};

void Screenshots::initTestCase() {
    folder_ = qEnvironmentVariable("VXL_SCREENSHOT_DIR");
    if (folder_.isEmpty()) QSKIP("VXL_SCREENSHOT_DIR is not set");
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

void Screenshots::operatorWindows() {
    if (!qEnvironmentVariable("VXL_GRAB_WINDOW").isEmpty()) QSKIP("grabbing the program only");
    const VersionTexts version = ProgramVersion();
    AboutBox about(QString(), version);
    Save(&about, "about-box");

    ProgressDialog countdown(
        nullptr, QStringLiteral("Capturing Modem"),
        {"Using serial port 1", "Please power cycle your VXL modem now",
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
        CoordinatorPage page;
        const char* name;
    } shots[] = {{CoordinatorPage::MemoryMap, "memory-map-page"},
                 {CoordinatorPage::Frequencies, "frequencies-page"},
                 {CoordinatorPage::Factory, "factory-page"}};
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

VXL_GUI_SUITE(Screenshots);

}  // namespace vxl::gui::test

#include "screenshots_test.moc"
