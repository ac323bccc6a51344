// The Settings menu of the main window: its items between Modem and Help, the check mark that
// follows the preference, and one restore of a demo-modem backup through the list.
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>

#include "demo_backups.h"
#include "gui/restore_backup_dialog.h"
#include "gui_test.h"
#include "level_window.h"
#include "params/parameter_ids.h"

namespace vxl::gui::test {

class SettingsMenuTest : public QObject {
    Q_OBJECT
  private slots:
    void menuRestoresABackupThroughItsList();
};

void SettingsMenuTest::menuRestoresABackupThroughItsList() {
    LevelWindow w({});
    CCoordinator& coordinator = w.app->Coordinator();
    coordinator.SetBackupRoot(w.dir.File("backups"));
    QStringList menus;
    for (QAction* action : w.dialog->findChild<QMenuBar*>()->actions()) menus << action->text();
    QCOMPARE(menus, QStringList({"&Modem", "&Settings", "&Help"}));
    QMenu* menu = w.dialog->settingsMenu();
    auto item = [menu](const char* name) { return menu->findChild<QAction*>(name); };
    QStringList items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) items << action->text();
    QCOMPARE(items, QStringList({"&Verify After Programming", "&Restore From Backup...",
                                 "&Save Profile...", "&Load Profile..."}));
    QVERIFY(item("verifyAction")->isChecked());
    QVERIFY(!item("restoreAction")->isEnabled());
    item("verifyAction")->trigger();
    QVERIFY(!item("verifyAction")->isChecked());
    QVERIFY(!coordinator.VerifiesAfterProgramming());
    item("verifyAction")->trigger();
    QVERIFY(item("verifyAction")->isChecked());

    w.LoadDemo();
    QVERIFY(item("restoreAction")->isEnabled() && item("loadProfileAction")->isEnabled());
    QVERIFY(!SaveDemoBackup(coordinator, 1714566896).empty());
    coordinator.SetTextParameter(pid::kOwner, "Quarry");
    QVERIFY(!SaveDemoBackup(coordinator, 1714567000).empty());
    coordinator.Undo();  // the loaded settings: no owner
    QVERIFY(!coordinator.IsModified());

    int rows = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<RestoreBackupDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        poll.stop();
        rows = dialog->list()->topLevelItemCount();
        QTest::keyClick(dialog->list(), Qt::Key_Return);  // the newest is chosen already
        if (dialog->isVisible()) dialog->reject();
    });
    poll.start(10);
    item("restoreAction")->trigger();
    QCOMPARE(rows, 2);
    Page* identification = w.Sheet()->page(CoordinatorPage::Identification);
    QCOMPARE(qobject_cast<QLineEdit*>(identification->ParameterControl(pid::kOwner))->text(),
             QStringLiteral("Quarry"));
    QVERIFY(identification->changed());
    QVERIFY(w.dialog->button(DialogButton::Program)->isEnabled());
}

VXL_GUI_SUITE(SettingsMenuTest);

}  // namespace vxl::gui::test

#include "settings_menu_test.moc"
