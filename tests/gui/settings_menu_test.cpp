// The Settings menu of the main window: its items, the check mark, and one restore of a
// demo-modem backup through the list.
#include <QLineEdit>
#include <QMenu>
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
    coordinator.Programming().SetBackupRoot(w.dir.File("backups"));
    QMenu* menu = w.dialog->settingsMenu();
    QStringList items;
    for (QAction* action : menu->actions()) items << action->text();
    QCOMPARE(items, QStringList({"&Verify After Programming", "", "&Restore From Backup...", "",
                                 "&Save Profile...", "&Load Profile..."}));
    QAction* verify = menu->actions()[0];
    QAction* restore = menu->actions()[2];
    QVERIFY(verify->isChecked() && !restore->isEnabled());
    verify->trigger();
    QVERIFY(!verify->isChecked() && !coordinator.Programming().VerifiesAfterProgramming());

    w.LoadDemo();
    QVERIFY(restore->isEnabled());
    QVERIFY(SaveDemoBackup(coordinator, 1714566896));  // no owner
    coordinator.Settings().SetText(pid::kOwner, "Quarry");
    QVERIFY(SaveDemoBackup(coordinator, 1714567000));
    coordinator.Undo();
    QTimer::singleShot(50, [] {
        auto* dialog = qobject_cast<RestoreBackupDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->list()->topLevelItemCount() == 2)
            QTest::keyClick(dialog->list(), Qt::Key_Return);  // the newest, selected already
        else if (dialog != nullptr)
            dialog->reject();
    });
    restore->trigger();
    Page* identification = w.Sheet()->page(SheetPage::Identification);
    QCOMPARE(qobject_cast<QLineEdit*>(identification->ParameterControl(pid::kOwner))->text(),
             QStringLiteral("Quarry"));
    QVERIFY(identification->changed());
    QVERIFY(w.dialog->button(DialogButton::Program)->isEnabled());
}

VXL_GUI_SUITE(SettingsMenuTest);

}  // namespace vxl::gui::test

#include "settings_menu_test.moc"
