#include "gui/main_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "app/channel_plan_commands.h"
#include "app/config_app.h"
#include "gui/dialog_units.h"
#include "gui/event_pump.h"
#include "gui/help_texts.h"
#include "gui/help_window.h"
#include "gui/logo_panel.h"
#include "gui/pages.h"
#include "gui/property_sheet.h"

namespace vxl::gui {

namespace {

constexpr int kDialogWidth = 379;
constexpr int kDialogHeight = 205;
constexpr int kIdleMs = 100;
constexpr DluRect kSheetArea{93, 8, 279, 170};
constexpr DluRect kLogoArea{8, 6, 78, 60};
constexpr DluRect kLoadGroup{12, 90, 72, 67};

struct ButtonRow {
    DialogButton id;
    const char* text;
    const char* name;
    DluRect rect;
    const char* tip;
};

constexpr ButtonRow kButtons[] = {
    {DialogButton::Help,
     "Help",
     "helpButton",
     {17, 73, 61, 14},
     "Learn how to use VXL Configuration Software"},
    {DialogButton::Load,
     "Load",
     "loadButton",
     {17, 99, 61, 14},
     "Connect to the modem and read its settings"},
    {DialogButton::Program,
     "Program",
     "programButton",
     {17, 118, 61, 14},
     "Program the modem with the current settings"},
    {DialogButton::Close, "Close", "closeButton", {17, 137, 61, 14}, "Detach from the modem"},
    {DialogButton::Print, "Print", "printButton", {16, 164, 61, 14}, "Print configuration report"},
    {DialogButton::Exit, "Exit", "exitButton", {16, 184, 61, 14}, "Exit this utility"},
    {DialogButton::UndoChanges,
     "Undo Changes",
     "undoButton",
     {139, 184, 92, 14},
     "Restore original settings"},
    {DialogButton::FactoryDefaults,
     "Factory Defaults",
     "defaultsButton",
     {241, 184, 92, 14},
     "Restore factory default settings"},
};

// Controls of the pages that the End User level never uses.
constexpr int kHiddenForGood[] = {1111, 1112, 1084, 1085, 1086, 1022};

constexpr const char* kSupportLine =
    "Norvale Corporation support: www.norvale.example/support  +1 555 0100 200";

}  // namespace

MainDialog::MainDialog(CConfigApp& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName(QStringLiteral("mainDialog"));
    MainDialogSettings settings;
    settings.keepOpen = app.KeepOpen();
    settings.vendorName = app.VendorName();
    settings.buildText = app.BuildText();
    settings.installIniPath = app.InstallIniPath();
    settings.companyName = app.Version().companyName;
    settings.levelName = LevelName(app.Options().level);
    model_ = std::make_unique<MainDialogModel>(app.Coordinator(), settings);
    model_->SetView(this);
    settings_ = std::make_unique<SettingsMenuModel>(app.Coordinator());
    InstallDefaultWorkflows();

    setWindowIcon(ProgramIcon());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildMenu();
    layout->setMenuBar(menuBar_);
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    layout->addWidget(client);
    BuildControls(client);
    BuildShortcuts();
    BindLevelPages();
    for (int id : kHiddenForGood) sheet_->HideControl(id);
    setWindowTitle(QString::fromStdString(model_->Title()));
    setFixedSize(sizeHint());

    idleTimer_ = new QTimer(this);
    connect(idleTimer_, &QTimer::timeout, this, &MainDialog::RunUpdatePass);
    idleTimer_->start(kIdleMs);
}

MainDialog::~MainDialog() {
    // The help window goes with the program.
    if (help_) help_->close();
    delete help_.data();
}

void MainDialog::BuildControls(QWidget* client) {
    const DialogUnits units(font());
    client->setFixedSize(units.Size(kDialogWidth, kDialogHeight));

    auto* group = new QGroupBox(client);
    group->setObjectName(QStringLiteral("loadGroup"));
    group->setGeometry(units.Rect(kLoadGroup));

    logo_ = new QLabel(client);
    logo_->setObjectName(QStringLiteral("vendorLogo"));
    logo_->setProperty("controlId", 1049);
    logo_->setAlignment(Qt::AlignCenter);
    logo_->setGeometry(units.Rect(kLogoArea));
    QPixmap pixmap = LoadImage(QString::fromStdString(app_.VendorLogoPath()), logo_->size());
    if (pixmap.isNull()) pixmap = LoadImage(QString::fromLatin1(kProgramLogo), logo_->size());
    logo_->setPixmap(pixmap);
    logo_->setToolTip(QString::fromLatin1(kSupportLine));

    for (const ButtonRow& row : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(row.text), client);
        button->setObjectName(QString::fromLatin1(row.name));
        button->setProperty("controlId", static_cast<int>(row.id));
        button->setGeometry(units.Rect(row.rect));
        button->setToolTip(QString::fromLatin1(row.tip));
        button->setWhatsThis(ControlHelpText(kMainDialogId, static_cast<int>(row.id)));
        buttons_[row.id] = button;
    }
    auto bind = [this](DialogButton id, void (MainDialogModel::*command)()) {
        connect(buttons_[id], &QPushButton::clicked, this,
                [this, command] { Run([this, command] { (model_.get()->*command)(); }); });
    };
    bind(DialogButton::Help, &MainDialogModel::Help);
    bind(DialogButton::Load, &MainDialogModel::Load);
    bind(DialogButton::Program, &MainDialogModel::Program);
    bind(DialogButton::Close, &MainDialogModel::Close);
    bind(DialogButton::Print, &MainDialogModel::Print);
    bind(DialogButton::UndoChanges, &MainDialogModel::UndoChanges);
    bind(DialogButton::FactoryDefaults, &MainDialogModel::FactoryDefaults);
    connect(buttons_[DialogButton::Exit], &QPushButton::clicked, this, &MainDialog::TryExit);
    for (auto& [id, button] : buttons_)
        button->setEnabled(id == DialogButton::Help || id == DialogButton::Load ||
                           id == DialogButton::Print || id == DialogButton::Exit);
    buttons_[DialogButton::Load]->setDefault(true);

    sheet_ = new PropertySheet(this, units, client);
    sheet_->setProperty("controlId", 1012);
    sheet_->setGeometry(units.Rect(kSheetArea));
    sheet_->EnablePages(false);
    connect(sheet_->page(CoordinatorPage::MemoryMap), &Page::buttonClicked, this, [this](int id) {
        if (id == kMemoryMapPrintButton) PrintMemoryMap();
    });
    connect(sheet_->page(CoordinatorPage::RadioLink), &Page::buttonClicked, this, [this](int id) {
        if (id == kImportChannelTableButton) Run([this] { model_->ImportChannelTable(); });
        if (id == kImportChannelCsvButton)
            Run([this] {
                ImportChannelCsvCommand(model_->Coordinator(), this,
                                        model_->InitialChannelTableDir());
            });
    });
    sheet_->setWhatsThis(ControlHelpText(kMainDialogId, 1012));
    logo_->setWhatsThis(ControlHelpText(kMainDialogId, 1049));
    for (CoordinatorPage index : kPagesInFillOrder) {
        Page* page = sheet_->page(index);
        const int dialogId = page->property("dialogId").toInt();
        for (QWidget* control : page->findChildren<QWidget*>()) {
            const int id = control->property("controlId").toInt();
            if (id != 0 && control->whatsThis().isEmpty())
                control->setWhatsThis(ControlHelpText(dialogId, id));
        }
    }
}

QPushButton* MainDialog::button(DialogButton id) const {
    auto it = buttons_.find(id);
    return it != buttons_.end() ? it->second : nullptr;
}

void MainDialog::Run(const std::function<void()>& command) {
    // A command never starts inside another one (a key that arrives while events are pumped).
    if (model_->Busy() || Pumping()) return;
    command();
    setWindowTitle(QString::fromStdString(model_->Title()));
    ApplyMenuState();
    RunUpdatePass();
}

void MainDialog::RunUpdatePass() {
    if (model_->Busy()) return;
    const ButtonState state = model_->UpdatePass();
    auto set = [this](DialogButton id, bool enabled) {
        if (buttons_[id]->isEnabled() != enabled) buttons_[id]->setEnabled(enabled);
    };
    set(DialogButton::UndoChanges, state.undoChanges);
    set(DialogButton::Program, state.program);
    set(DialogButton::Load, state.load);
    set(DialogButton::Close, state.close);
    set(DialogButton::Print, state.print);
    set(DialogButton::FactoryDefaults, state.factoryDefaults);
    if (state.makeDefault != DialogButton::None) {
        QPushButton* chosen = buttons_[state.makeDefault];
        chosen->setDefault(true);
        if (state.focusDefault && chosen->isEnabled()) chosen->setFocus(Qt::OtherFocusReason);
    }
    CCoordinator& coordinator = model_->Coordinator();
    sheet_->UpdateControls(coordinator.IsAttached(), coordinator.Settings().Parameters());
}

void MainDialog::TryExit() {
    if (model_->Busy() || Pumping()) return;
    if (model_->Exit()) done(QDialog::Accepted);
}

void MainDialog::closeEvent(QCloseEvent* event) {
    // The window's close request is Exit; done() ends the dialog when Exit agrees.
    event->ignore();
    TryExit();
}

void MainDialog::reject() {
    // Escape does not leave the program; Exit and the window's close do.
}

void MainDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!firstShow_) return;
    firstShow_ = false;
    // The first-run port question comes once the window is up.
    QTimer::singleShot(0, this, [this] { Run([this] { model_->FirstRunPortMessage(); }); });
}

}  // namespace vxl::gui
