// The main window on the demo modem (fake clock): what each level shows before a load, with the
// modem loaded and after Close (kept under tests/data/gui/); the keys wherever the focus is; the
// menus reaching their models. The workflows are driven in the program itself
// (tests/gui_e2e).
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

#include "backup/backup_store.h"
#include "gui/restore_backup_dialog.h"
#include "gui_test.h"
#include "params/modem_memory_image.h"
#include "params/parameter_ids.h"
#include "window/control_ids.h"

namespace vxl::gui::test {

namespace {

// The demo modem's settings as shown now, saved as a backup taken at `time` (Program does not
// back the demo modem up: it is no modem).
void SaveDemoBackup(CCoordinator& coordinator, std::time_t time) {
    const ModemMemoryImage& image = *coordinator.Settings().Image();
    const int main = image.GetMainSize(), extension = image.GetExtensionSize();
    BackupImage backup{
        {coordinator.Settings().SerialNumberText(), "VXL", image.GetFirmwareRevisionText(), main,
         extension, image.GetModemType(), time},
        std::vector<uint8_t>(static_cast<size_t>(main + extension))};
    image.ReadBytes(image.GetBaseAddress(), main, backup.bytes.data());
    image.ReadBytes(ModemMemoryImage::kExtensionAddress, extension, backup.bytes.data() + main);
    std::string path;
    QVERIFY(SaveBackup(coordinator.Programming().GetBackupRoot(), backup, path).ok());
}

}  // namespace

class MainWindow : public QObject {
    Q_OBJECT
  private slots:
    // The tabs, the titles, the menus, the buttons and every control of each level's pages: their
    // rules, the values they show, and the names a screen reader reads.
    void eachLevelShowsItsControlsBeforeWithAndAfterAModem() {
        for (const char* level : {"end_user", "dealer", "FACTORY"}) {
            Session s(level[0] == 'e' ? std::vector<std::string>{}
                                      : std::vector<std::string>{level});
            QString shown = QStringLiteral("# before a load\n") + Describe(*s.dialog);
            s.LoadDemo();
            s.Key(Qt::Key_F6, Qt::ControlModifier);
            shown += QStringLiteral("# the demo modem loaded, Ctrl+F6\n") + Describe(*s.dialog);
            // Models and protocols that leave settings unavailable or fixed.
            const char* const others[][2] = {{"KTR RXO", "Fast Async"}, {"VXL", "TrimMark II/IIe"}};
            for (const auto& other : others) {
                if (level[0] != 'F') break;
                s.Pick("Model", QString::fromLatin1(other[0]));
                s.Pick("ProtocolMode", QString::fromLatin1(other[1]));
                shown +=
                    QStringLiteral("# %1 in %2\n").arg(other[0], other[1]) + Describe(*s.dialog);
            }
            QTest::mouseClick(s.dialog->button(DialogButton::Close), Qt::LeftButton);
            shown += QStringLiteral("# closed\n") + Describe(*s.dialog);
            VXL_COMPARE_GOLDEN(
                "gui/window_" + QString::fromLatin1(level).toLower().toStdString() + ".txt", shown);
        }
    }

    void keysReachTheirCommandsWhileAFieldHasTheFocus() {
        Session s;
        int printed = 0;  // each print is offered as a file, then cancelled
        s.dialog->SetPrintDestination([] { return std::string(); },
                                      [&printed](const std::string&) {
                                          ++printed;
                                          return std::string();
                                      });
        s.Key(Qt::Key_F2);  // port 7 is no device
        QCOMPARE(vxl::test::Captions(s.ui), std::vector<std::string>{"Attach Failed"});
        s.LoadDemo();
        QLineEdit* owner = s.Find<QLineEdit>("Owner");
        owner->setFocus();
        auto key = [&](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(owner, k, modifiers);
            s.dialog->RunUpdatePass();
        };
        key(Qt::Key_F5);
        key(Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(s.Sheet()->currentIndex(), 3);  // with a modem the Memory Map page comes up
        QTest::mouseClick(qobject_cast<QPushButton*>(
                              s.PageOf(SheetPage::MemoryMap)->Control(control::kPrintMemoryMap)),
                          Qt::LeftButton);
        QTest::mouseClick(s.dialog->button(DialogButton::Print), Qt::LeftButton);
        QCOMPARE(printed, 3);

        for (int twice = 0; twice < 2; ++twice)
            key(Qt::Key_B, Qt::AltModifier), key(Qt::Key_I, Qt::AltModifier);
        const QString title = s.dialog->windowTitle();  // each once, the path last
        QVERIFY(title.count(QString::fromStdString(s.app->BuildText())) == 1 &&
                title.endsWith(QString::fromStdString(s.app->InstallIniPath())));
        s.Type("Owner", QStringLiteral("Quay 4"));
        QVERIFY(s.Coordinator().IsModified() && s.PageOf(SheetPage::Identification)->changed());
        key(Qt::Key_F4);  // Program, answered Yes
        QVERIFY(!s.Coordinator().IsModified() && !s.PageOf(SheetPage::Identification)->changed());
        key(Qt::Key_U, Qt::AltModifier);
        QCOMPARE(vxl::test::Captions(s.ui).back(), std::string("Upgrade Modem Firmware"));
        QCOMPARE(s.ui.waitCursorDepth, 0);
    }

    void menusReachTheirModels() {
        Session s({"softbreak"});
        auto* capture = s.dialog->modemMenu()->findChild<QMenu*>(QStringLiteral("captureMenu"));
        QVERIFY(capture->actions().at(1)->isChecked());
        capture->actions().at(0)->trigger();
        QCOMPARE(s.Coordinator().Session().GetCaptureMethod(), 3);
        QVERIFY(capture->actions().at(0)->isChecked() && !capture->actions().at(1)->isChecked());
        QVERIFY(!s.dialog->button(DialogButton::Load)->whatsThis().isEmpty());

        auto* verify = s.Find<QAction>("verifyAction");
        verify->trigger();
        QVERIFY(!verify->isChecked() && !s.Coordinator().Programming().VerifiesAfterProgramming());

        // Restore From Backup... through its list: the newest, selected already, taken by Return.
        s.Coordinator().Programming().SetBackupRoot(s.dir.File("backups"));
        s.LoadDemo();
        SaveDemoBackup(s.Coordinator(), 1714566896);  // no owner
        s.Coordinator().Settings().SetText(pid::kOwner, "Quarry");
        SaveDemoBackup(s.Coordinator(), 1714567000);
        s.Coordinator().Undo();
        QTimer::singleShot(50, [] {
            auto* dialog = qobject_cast<RestoreBackupDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr && dialog->list()->topLevelItemCount() == 2)
                QTest::keyClick(dialog->list(), Qt::Key_Return);
            else if (dialog != nullptr)
                dialog->reject();
        });
        s.Find<QAction>("restoreAction")->trigger();
        QCOMPARE(s.Find<QLineEdit>("Owner")->text(), QStringLiteral("Quarry"));
        QVERIFY(s.PageOf(SheetPage::Identification)->changed());
        QVERIFY(s.dialog->button(DialogButton::Program)->isEnabled());
    }
};

VXL_GUI_SUITE(MainWindow);

}  // namespace vxl::gui::test

#include "main_window_test.moc"
