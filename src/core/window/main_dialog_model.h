// What the main window does, without the window: its commands (Load, Program, Close, Print,
// Exit, Undo Changes, Factory Defaults, Help, the hidden keys and the menu commands) with every
// question and error box, the title, the enabling pass with its default-button handoff, and the
// state of the menu items. The window binds its widgets to this class and shows what it says.
#pragma once

#include <functional>
#include <string>

#include "coordinator/firmware_upgrade.h"
#include "window/channel_table_commands.h"
#include "window/page_plan.h"

class CCoordinator;

namespace vxl {

// Control ids of the main window's buttons.
enum class DialogButton {
    None = 0,
    Program = 1003,
    UndoChanges = 1004,
    Exit = 1007,
    Load = 1008,
    Close = 1009,
    FactoryDefaults = 1010,
    Help = 1011,
    Print = 1013
};

// Numbers of the menu commands.
namespace menu {
constexpr int kAbout = 16;
constexpr int kSelectPort = 64;
constexpr int kUpgradeFirmware = 128;
constexpr int kPowerOnCapture = 256;
constexpr int kSoftBreak = 272;
}  // namespace menu

struct MenuState {
    bool selectPortEnabled = true;
    bool upgradeEnabled = false;
    int checkedCaptureCommand = menu::kPowerOnCapture;
};

// The outcome of one enabling pass.
struct ButtonState {
    bool undoChanges = false;
    bool program = false;
    bool load = false;
    bool close = false;
    bool print = false;
    bool factoryDefaults = false;
    // The button that becomes the default push button in this pass (None: unchanged), and
    // whether it also takes the keyboard focus.
    DialogButton makeDefault = DialogButton::None;
    bool focusDefault = false;
};

// What the model asks of the window besides the coordinator's view.
class MainDialogView {
  public:
    virtual ~MainDialogView() = default;
    // Sets a page's changed flag (Factory Defaults and the channel-table commands mark the
    // pages they changed).
    virtual void MarkPageChanged(SheetPage page) = 0;
    // Clears every page's changed flag (the changes were programmed or undone).
    virtual void ClearPageMarks() = 0;
    // Adds the Memory Map page to the sheet.
    virtual void ShowMemoryMapPage() = 0;
};

// Facts of the start-up the window needs.
struct MainDialogSettings {
    bool keepOpen = false;
    std::string vendorName;
    std::string buildText;
    std::string installIniPath;
    std::string companyName;             // the maker's own name: a vendor of that name is not named
    std::string levelName = "End User";  // the privilege level, the title's last words
};

class MainDialogModel {
  public:
    // Replaceable workflows; each is called only when its command applies.
    // The port chosen (>= 0), or a negative number to keep the current one.
    using PortChooser = std::function<int(bool firstRun)>;
    // The firmware upgrade of the attached modem, file choice included (by default
    // UpgradeFirmwareFromWindow with the initial firmware folder).
    using FirmwareUpgrade = std::function<FirmwareUpgradeOutcome()>;
    // Prints the configuration report of the loaded modem.
    using ReportPrinter = std::function<void()>;
    using Action = std::function<void()>;

    MainDialogModel(CCoordinator& coordinator, MainDialogSettings settings);
    // Stores the two initial folders of the file dialogs.
    ~MainDialogModel();
    MainDialogModel(const MainDialogModel&) = delete;
    MainDialogModel& operator=(const MainDialogModel&) = delete;

    void SetView(MainDialogView* view) { view_ = view; }
    void SetPortChooser(PortChooser chooser) { choosePort_ = std::move(chooser); }
    void SetFirmwareUpgrade(FirmwareUpgrade upgrade) { upgradeFirmware_ = std::move(upgrade); }
    // The configuration report behind Print and F5, and the memory-map listing behind the Memory
    // Map page's Print. Without one, its Print says printing is not available.
    void SetConfigurationReportPrinter(ReportPrinter printer) { printReport_ = std::move(printer); }
    void SetMemoryMapPrinter(ReportPrinter printer) { printMemoryMap_ = std::move(printer); }
    // The Frequencies page's export dialog.
    void SetChannelTableExportDialog(ChannelTableExportDialog dialog) {
        exportDialog_ = std::move(dialog);
    }
    void SetHelp(Action openHelp) { openHelp_ = std::move(openHelp); }
    void SetAbout(Action showAbout) { showAbout_ = std::move(showAbout); }

    const std::string& Title() const { return title_; }
    // The privilege level's name, as the title ends and the configuration report names it.
    const std::string& LevelName() const { return settings_.levelName; }
    const std::string& Response() const { return response_; }
    CCoordinator& Coordinator() { return coordinator_; }
    std::string& InitialChannelTableDir() { return channelTableDir_; }
    std::string& InitialFirmwareDir() { return firmwareDir_; }

    // The first-run port question: asks for a port while none is configured.
    void FirstRunPortMessage();

    void Load();
    void Program();
    void Close();
    void Print();
    // True when the window may end (nothing unsaved, or the operator agreed); the modem is
    // then released with its reset.
    bool Exit();
    void UndoChanges();
    void FactoryDefaults();
    void Help();

    // Import Channel Table: asks for a channel-table file and imports it into the loaded
    // settings; a file it refuses is named in the error box with what is wrong with it.
    void ImportChannelTable();
    // A push button of a page: the channel-table commands, the Memory Map page's Print and the
    // Factory page's operations. Other buttons do nothing.
    void PageButton(SheetPage page, int controlId);
    // The Memory Map page's Print: the listing of the attached modem.
    void PrintMemoryMap();

    // Alt+D, Alt+B, Alt+I, Ctrl+F6.
    void StartDemo();
    void AppendBuildText();
    void AppendIniPath();
    void ShowMemoryMap();

    // A menu command (its low four bits are ignored). Unknown commands do nothing.
    void MenuCommand(int command);
    // Brings the upgrade and port items up to date with the attached modem, as before every
    // menu command.
    const MenuState& RefreshMenu();
    const MenuState& Menu() const { return menu_; }

    // The enabling pass the window runs when it becomes idle.
    ButtonState UpdatePass();
    // Asked by the window now and then while it is idle: when the attached modem's device has
    // gone away, says so once (the device, and what to do) and releases the modem, so that
    // the pages grey and Load is offered again. True when it did.
    bool CheckDevice();
    // True while a command runs (the window then runs no enabling pass).
    bool Busy() const { return busy_ > 0; }

  private:
    // Marks the model busy while a command runs, so that an enabling pass that the window's
    // event processing starts in the middle of it leaves the buttons alone.
    class BusyScope {
      public:
        explicit BusyScope(MainDialogModel& model) : model_(model) { ++model_.busy_; }
        ~BusyScope() { --model_.busy_; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

      private:
        MainDialogModel& model_;
    };
    void BuildTitle();
    void ShowError(int action, int code);
    void ShowUnsupportedModel();
    void Release();
    bool ReadModem();

    CCoordinator& coordinator_;
    MainDialogSettings settings_;
    MainDialogView* view_ = nullptr;
    PortChooser choosePort_;
    FirmwareUpgrade upgradeFirmware_;
    ReportPrinter printReport_;
    ReportPrinter printMemoryMap_;
    ChannelTableExportDialog exportDialog_;
    Action openHelp_;
    Action showAbout_;

    std::string title_;
    std::string response_;
    std::string channelTableDir_;
    std::string firmwareDir_;
    DialogButton nextDefault_ = DialogButton::None;
    bool lastModified_ = false;
    bool buildAppended_ = false;
    bool iniAppended_ = false;
    bool demoBusy_ = false;
    int busy_ = 0;
    MenuState menu_;
};

}  // namespace vxl
