// The main window driven as the operator drives it on the demo modem (fake clock): the buttons
// and pages the model enables, keys while a page field has the focus, the menu. (The guide is
// used in the program itself: tests/gui_e2e.)
#include <QLabel>
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
    void buttonsAndPagesFollowTheModem();
    void keysWorkWhileAFieldHasTheFocus();
    void menuCarriesTheCommands();
};

void MainWindow::buttonsAndPagesFollowTheModem() {
    LevelWindow w({});
    QCOMPARE(w.dialog->windowTitle(), QStringLiteral("VXL Configuration Program - End User"));
    QCOMPARE(w.Sheet()->count(), 3);
    QVERIFY(!w.Sheet()->isTabEnabled(1) && !w.Sheet()->isTabEnabled(2));
    QVERIFY(Button(w, "loadButton")->isEnabled() && Button(w, "loadButton")->isDefault());
    for (const char* name :
         {"programButton", "closeButton", "printButton", "undoButton", "defaultsButton"})
        QVERIFY2(!Button(w, name)->isEnabled(), name);
    QVERIFY(!Field(w, "Owner")->isEnabled() && !Field(w, "CallSign")->isEnabled());
    QVERIFY(w.dialog->findChild<QLabel*>(QStringLiteral("callSignLabel"))->isEnabled());
    QCOMPARE(Button(w, "programButton")->property("controlId").toInt(), 1003);

    w.LoadDemo();
    QVERIFY(w.ui.messages.empty());
    QVERIFY(w.Sheet()->isTabEnabled(1) && w.Sheet()->isTabEnabled(2));
    QCOMPARE(Field(w, "Model")->text(), QStringLiteral("VXL"));
    QVERIFY(Field(w, "Frequency")->text().endsWith(QStringLiteral(" MHz")));
    QVERIFY(Button(w, "closeButton")->isEnabled() && Button(w, "printButton")->isEnabled());
    QPushButton* program = Button(w, "programButton");
    QVERIFY(!program->isEnabled());

    // An edit enables Program as the default button; Undo takes both back.
    QLineEdit* owner = Field(w, "Owner");
    owner->setFocus();
    owner->selectAll();
    QTest::keyClicks(owner, "Dock 3");
    w.dialog->RunUpdatePass();
    QVERIFY(program->isEnabled() && program->isDefault());
    QVERIFY(w.Sheet()->page(CoordinatorPage::Identification)->changed());
    QTest::mouseClick(Button(w, "undoButton"), Qt::LeftButton);
    w.dialog->RunUpdatePass();
    QVERIFY(!program->isEnabled());
    QVERIFY(!w.Sheet()->page(CoordinatorPage::Identification)->changed());
    QVERIFY(Button(w, "closeButton")->isDefault());

    // Close greys the pages again and goes back to the first.
    w.Sheet()->setCurrentIndex(2);
    QTest::mouseClick(Button(w, "closeButton"), Qt::LeftButton);
    w.dialog->RunUpdatePass();
    QVERIFY(!w.Sheet()->isTabEnabled(1) && !w.Sheet()->isTabEnabled(2));
    QCOMPARE(w.Sheet()->currentIndex(), 0);
    QVERIFY(Field(w, "Model")->text().isEmpty());
    QVERIFY(Button(w, "loadButton")->isDefault());
}

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
    QCOMPARE(w.app->Coordinator().GetCaptureMethod(), 3);
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
