// The main window on the demo modem (fake clock): keys while a page field has the focus, and the
// menu. Buttons and pages that follow the modem, and the guide, are driven in the program
// itself (tests/gui_e2e).
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include "gui_test.h"
#include "level_window.h"

namespace vxl::gui::test {

namespace {
QPushButton* Button(LevelWindow& w, const char* name) {
    return w.dialog->findChild<QPushButton*>(QString::fromLatin1(name));
}
QLineEdit* Field(LevelWindow& w, const char* key) {
    return w.dialog->findChild<QLineEdit*>(QString::fromLatin1(key));
}
}  // namespace

class MainWindow : public QObject {
    Q_OBJECT
  private slots:
    void keysWorkWhileAFieldHasTheFocus();
    void menuCarriesTheCommands();
};

void MainWindow::keysWorkWhileAFieldHasTheFocus() {
    LevelWindow w({});
    w.LoadDemo();
    QLineEdit* owner = Field(w, "Owner");
    owner->setFocus();
    QVERIFY(owner->hasFocus());
    auto key = [&](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(owner, k, modifiers);
        w.dialog->RunUpdatePass();
    };
    int printed = 0;
    w.dialog->SetPrintDestination(
        [] { return std::string(); },
        [&printed](const std::string&) { return ++printed, std::string(); });
    key(Qt::Key_F5);
    QCOMPARE(printed, 1);
    key(Qt::Key_B, Qt::AltModifier);
    key(Qt::Key_B, Qt::AltModifier);
    key(Qt::Key_I, Qt::AltModifier);
    QCOMPARE(w.dialog->windowTitle(),
             QStringLiteral("VXL Configuration Program - End User (%1)     %2")
                 .arg(QString::fromStdString(w.app->BuildText()),
                      QString::fromStdString(w.app->InstallIniPath())));
    key(Qt::Key_D, Qt::AltModifier);
    QCOMPARE(w.Captions().back(), std::string("Demo Mode Failure"));
    key(Qt::Key_F6, Qt::ControlModifier);
    QCOMPARE(w.Sheet()->currentIndex(), 3);  // with a modem the Memory Map page comes up
    key(Qt::Key_F6, Qt::ControlModifier);
    QCOMPARE(w.Sheet()->count(), 4);
}

void MainWindow::menuCarriesTheCommands() {
    LevelWindow w({"softbreak"});
    QStringList items;
    QMenu* menu = w.dialog->modemMenu();
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
    QCOMPARE(w.app->Coordinator().Session().GetCaptureMethod(), 3);
    QVERIFY(capture->actions().at(0)->isChecked() && !capture->actions().at(1)->isChecked());
    auto* about = w.dialog->findChild<QAction*>(QStringLiteral("aboutAction"));
    QCOMPARE(about->text(), QStringLiteral("&About VXL Configuration Software..."));
    // A further menu goes between the program's own menus and Help.
    QVERIFY(w.dialog->AddMenu(QStringLiteral("&Tools")) != nullptr);
    QStringList bar;
    for (QAction* action : w.dialog->findChild<QMenuBar*>()->actions()) bar << action->text();
    QCOMPARE(bar, QStringList({"&Modem", "&Settings", "&Tools", "&Help"}));
    QVERIFY(!Button(w, "loadButton")->whatsThis().isEmpty());
}

VXL_GUI_SUITE(MainWindow);

}  // namespace vxl::gui::test

#include "main_window_test.moc"
