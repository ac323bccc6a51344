// The main window's menu bar (the commands of the system menu, by their numbers) and its
// keyboard shortcuts, which work wherever the focus is in the window.
#include <QMenuBar>
#include <QShortcut>
#include <QWhatsThis>

#include "app/config_app.h"
#include "coordinator/coordinator.h"
#include "gui/main_dialog.h"
#include "gui/page.h"
#include "gui/property_sheet.h"
#include "gui/restore_backup_dialog.h"
#include "window/diagnostic_trace_menu.h"

namespace vxl::gui {

void MainDialog::BuildMenu() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("menuBar"));
    modemMenu_ = menuBar_->addMenu(tr("&Modem"));
    modemMenu_->setObjectName(QStringLiteral("modemMenu"));
    auto command = [this](QAction* action, int number) {
        action->setData(number);
        connect(action, &QAction::triggered, this,
                [this, number] { Run([this, number] { model_->MenuCommand(number); }); });
        return action;
    };
    selectPortAction_ =
        command(modemMenu_->addAction(tr("&Select Serial Port...")), menu::kSelectPort);
    selectPortAction_->setObjectName(QStringLiteral("selectPortAction"));
    QMenu* capture = modemMenu_->addMenu(tr("Set Capture Method"));
    capture->setObjectName(QStringLiteral("captureMenu"));
    powerOnAction_ = command(capture->addAction(tr("Power On Capture")), menu::kPowerOnCapture);
    softBreakAction_ = command(capture->addAction(tr("Soft Break")), menu::kSoftBreak);
    powerOnAction_->setCheckable(true);
    softBreakAction_->setCheckable(true);
    upgradeAction_ =
        command(modemMenu_->addAction(tr("&Upgrade modem firmware")), menu::kUpgradeFirmware);
    upgradeAction_->setObjectName(QStringLiteral("upgradeAction"));
    // The menu shows what the commands would do now.
    connect(modemMenu_, &QMenu::aboutToShow, this, [this] {
        model_->RefreshMenu();
        ApplyMenuState();
    });
    // Further menus go between Modem and Help.
    QMenu* help = helpMenu_ = menuBar_->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    connect(help->addAction(tr("&Help Topics\tF1")), &QAction::triggered, this,
            [this] { Run([this] { model_->Help(); }); });
    connect(help->addAction(tr("What's &This?\tShift+F1")), &QAction::triggered, this,
            [] { QWhatsThis::enterWhatsThisMode(); });
    // The diagnostic trace records until it is stopped here or the program ends.
    auto trace = std::make_shared<DiagnosticTraceMenu>(model_->Coordinator(), app_.Version());
    QAction* traceAction = help->addAction(QString::fromStdString(trace->ItemText()));
    traceAction->setObjectName(QStringLiteral("traceAction"));
    connect(traceAction, &QAction::triggered, this,
            [this, trace] { Run([trace] { trace->Click(); }); });
    connect(help, &QMenu::aboutToShow, this, [trace, traceAction] {
        traceAction->setText(QString::fromStdString(trace->ItemText()));
    });
    help->addSeparator();
    QAction* about =
        command(help->addAction(tr("&About VXL Configuration Software...")), menu::kAbout);
    about->setObjectName(QStringLiteral("aboutAction"));
    BuildSettingsMenu();
    ApplyMenuState();
}

void MainDialog::BuildSettingsMenu() {
    settingsMenu_ = AddMenu(tr("&Settings"));
    settingsMenu_->setObjectName(QStringLiteral("settingsMenu"));
    auto item = [this](const QString& text, const char* name,
                       void (SettingsMenuModel::*command)()) {
        QAction* action = settingsMenu_->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                [this, command] { Run([this, command] { (settings_.get()->*command)(); }); });
        return action;
    };
    verifyAction_ = item(tr("&Verify After Programming"), "verifyAction",
                         &SettingsMenuModel::ToggleVerifyAfterProgramming);
    verifyAction_->setCheckable(true);
    settingsMenu_->addSeparator();
    restoreAction_ =
        item(tr("&Restore From Backup..."), "restoreAction", &SettingsMenuModel::RestoreFromBackup);
    settingsMenu_->addSeparator();
    saveProfileAction_ =
        item(tr("&Save Profile..."), "saveProfileAction", &SettingsMenuModel::SaveProfile);
    loadProfileAction_ =
        item(tr("&Load Profile..."), "loadProfileAction", &SettingsMenuModel::LoadProfile);
    connect(settingsMenu_, &QMenu::aboutToShow, this, &MainDialog::ApplyMenuState);

    settings_->SetBackupChooser([this](const std::vector<BackupListEntry>& backups) {
        return ChooseBackup(this, model_->Coordinator().Settings().SerialNumberText(), backups);
    });
    // The pages that show a parameter the restore or the profile changed are marked changed.
    settings_->SetChangedParameters([this](const std::vector<int>& ids) {
        for (SheetPage index : kSheetPages) {
            Page* page = sheet_->page(index);
            for (int id : ids)
                if (page->ParameterControl(id) != nullptr) page->SetChanged(true);
        }
    });
}

void MainDialog::BuildShortcuts() {
    struct Key {
        QKeySequence keys;
        std::function<void()> command;
    };
    const Key keys[] = {
        {QKeySequence(Qt::Key_F1), [this] { model_->Help(); }},
        {QKeySequence(Qt::Key_F2), [this] { model_->Load(); }},
        {QKeySequence(Qt::Key_F4), [this] { model_->Program(); }},
        {QKeySequence(Qt::Key_F5), [this] { model_->Print(); }},
        {QKeySequence(Qt::ALT | Qt::Key_D), [this] { model_->StartDemo(); }},
        {QKeySequence(Qt::ALT | Qt::Key_B), [this] { model_->AppendBuildText(); }},
        {QKeySequence(Qt::ALT | Qt::Key_I), [this] { model_->AppendIniPath(); }},
        {QKeySequence(Qt::ALT | Qt::Key_U),
         [this] { model_->MenuCommand(menu::kUpgradeFirmware); }},
        {QKeySequence(Qt::CTRL | Qt::Key_F6), [this] { model_->ShowMemoryMap(); }},
    };
    for (const Key& key : keys) {
        auto* shortcut = new QShortcut(key.keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        std::function<void()> command = key.command;
        connect(shortcut, &QShortcut::activated, this, [this, command] { Run(command); });
    }
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });
}

QMenu* MainDialog::AddMenu(const QString& title) {
    auto* added = new QMenu(title, menuBar_);
    menuBar_->insertMenu(helpMenu_->menuAction(), added);
    return added;
}

void MainDialog::ApplyMenuState() {
    const MenuState& state = model_->Menu();
    selectPortAction_->setEnabled(state.selectPortEnabled);
    upgradeAction_->setEnabled(state.upgradeEnabled);
    powerOnAction_->setChecked(state.checkedCaptureCommand == menu::kPowerOnCapture);
    softBreakAction_->setChecked(state.checkedCaptureCommand == menu::kSoftBreak);
    const SettingsMenuState settings = settings_->State();
    verifyAction_->setChecked(settings.verifyChecked);
    restoreAction_->setEnabled(settings.restoreEnabled);
    saveProfileAction_->setEnabled(settings.saveProfileEnabled);
    loadProfileAction_->setEnabled(settings.loadProfileEnabled);
}

}  // namespace vxl::gui
