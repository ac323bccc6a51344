#include "window/main_dialog_model.h"

#include "app/attach_failure.h"
#include "coordinator/safety_commands.h"

#include "coordinator/coordinator.h"
#include "modem/capture_methods.h"
#include "params/model_tables.h"
#include "params/modem_types.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/preferences.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr const char* kProgramTitle = "VXL Configuration Program";

constexpr const char* kMissingModelId =
    "The model ID for this modem is missing or corrupt.\nContact Norvale Corporation for "
    "assistance.";
constexpr const char* kConnectionLost =
    "Connection lost during load. Please check your connection and retry.\n\nDiagnostic Code: "
    "%d at %s";
constexpr const char* kWriteBroken =
    "Modem connection broken during write. Please check your connection and retry.";
constexpr const char* kPrintingUnavailable =
    "Printing the configuration report is not available in this version of VXL Configuration "
    "Software.";

constexpr int kProblemLoadingModem = 110;

// A device gone while the window was idle: which one, and what to do.
std::string LostDeviceMessage(const std::string& device, int port, int error, bool modified) {
    return Format(
        "The serial device %s (port %d) went away: %s.\n\nThe modem was released%s. Plug "
        "the adapter in again or check its cable, then press Load. If the adapter comes back "
        "under another name, choose it with Modem > Select Serial Port.",
        device.c_str(), port, ErrorText(error).c_str(),
        modified ? "; the changes that were not programmed could not be written to it" : "");
}

// The name of a modem family in the unsupported-modem message. The older family is named as a
// whole: its models are rows of another table and none of them is kept for editing.
std::string FamilyName(int modemType, int model) {
    if (IsQmxType(modemType)) return "QMX";
    const char* name = Type4ModelName(model);
    return name != nullptr ? name : "these";
}

bool EndsTheLoad(int code) {
    return code == rc::kBadOffsetOrLength || code == rc::kCannotReadImage || code == 109 ||
           code == rc::kCannotOpenIni;
}

}  // namespace

MainDialogModel::MainDialogModel(CCoordinator& coordinator, MainDialogSettings settings)
    : coordinator_(coordinator), settings_(std::move(settings)) {
    channelTableDir_ = Prefs().GetText(kPrefInitChannelTableDir, "");
    firmwareDir_ = Prefs().GetText(kPrefInitFirmwareDir, "");
    BuildTitle();
    menu_.selectPortEnabled = true;
    menu_.upgradeEnabled = false;
    menu_.checkedCaptureCommand = coordinator_.Session().GetCaptureMethod() == kCaptureSoftBreak
                                      ? menu::kSoftBreak
                                      : menu::kPowerOnCapture;
    nextDefault_ = DialogButton::Load;
}

MainDialogModel::~MainDialogModel() {
    Prefs().SetText(kPrefInitChannelTableDir, channelTableDir_);
    Prefs().SetText(kPrefInitFirmwareDir, firmwareDir_);
}

void MainDialogModel::BuildTitle() {
    title_ = kProgramTitle;
    // An installation without a vendor name shows no vendor part at all.
    if (!settings_.vendorName.empty() && settings_.vendorName != settings_.companyName)
        title_ += " for " + settings_.vendorName;
    title_ += " - " + settings_.levelName;
    buildAppended_ = false;
    iniAppended_ = false;
}

void MainDialogModel::ShowError(int action, int code) {
    Ui().MessageBox(ErrorBoxMessage(code, response_), ErrorBoxCaption(action), MsgIcon::Stop,
                    MsgButtons::Ok);
}

void MainDialogModel::Release() {
    response_.clear();
    coordinator_.Detach(response_, settings_.keepOpen);
}

void MainDialogModel::ShowUnsupportedModel() {
    const std::string family =
        FamilyName(coordinator_.Session().GetAttachedModemType(), coordinator_.GetModel());
    Release();
    Ui().MessageBox(Format("%s does not support %s modems.", kProgramTitle, family.c_str()),
                    "Unsupported Modem", MsgIcon::Stop, MsgButtons::Ok);
}

void MainDialogModel::FirstRunPortMessage() {
    if (coordinator_.Session().GetPort() >= 0 || !choosePort_) return;
    BusyScope busy(*this);
    coordinator_.Session().SetPort(choosePort_(true));
}

// Reads the attached modem, offering a retry while the connection fails. False when the load
// ended (the modem is then released).
bool MainDialogModel::ReadModem() {
    response_.clear();
    int result = coordinator_.Read(response_, true);
    while (result != rc::kOk) {
        // The older family's models have no definitions section: that is a model this
        // program does not keep, not a lost connection.
        if (result == rc::kBadModel) {
            ShowUnsupportedModel();
            return false;
        }
        if (EndsTheLoad(result)) {
            ShowError(kProblemLoadingModem, result);
            Release();
            return false;
        }
        MsgAnswer answer = Ui().MessageBox(
            Format(kConnectionLost, result, coordinator_.Session().GetDiagnosticLocation().c_str()),
            "Load Failed", MsgIcon::Stop, MsgButtons::RetryCancel);
        if (answer != MsgAnswer::Retry) {
            Release();
            return false;
        }
        response_.clear();
        result = coordinator_.Read(response_, true);
    }
    return true;
}

void MainDialogModel::Load() {
    if (coordinator_.Session().GetPort() <= 0) return;
    if (coordinator_.IsAttached() && !(coordinator_.IsProgrammed() && !coordinator_.IsModified()))
        return;
    BusyScope busy(*this);
    WaitCursor wait;
    if (!coordinator_.IsAttached()) {
        response_.clear();
        const int result = coordinator_.Attach(response_, true);
        if (result == rc::kModelIdMissing) {
            Ui().MessageBox(kMissingModelId, "Missing Modem Model ID", MsgIcon::Stop,
                            MsgButtons::Ok);
        } else if (result == rc::kPowerOnCancelled) {
            return;  // the operator cancelled the capture: nothing went wrong
        } else if (result != rc::kOk) {
            const ModemSession& session = coordinator_.Session();
            Ui().MessageBox(AttachFailureText(result, session.GetPort(), response_,
                                              session.GetSoftBreakRatesTried()),
                            "Attach Failed", MsgIcon::Stop, MsgButtons::Ok);
            return;
        }
    }
    if (!ReadModem()) return;
    if (!coordinator_.IsSupportedModel()) {
        ShowUnsupportedModel();
        return;
    }
    response_.clear();
    coordinator_.FirmwareFixUp(response_);
    nextDefault_ = DialogButton::Close;
    menu_.upgradeEnabled = coordinator_.Session().GetAttachedModemType() == kModemTypeVxl;
    menu_.selectPortEnabled = false;
}

void MainDialogModel::Program() {
    if (!coordinator_.IsModified()) return;
    BusyScope busy(*this);
    if (Ui().MessageBox("Program modem with new settings?", "Programming", MsgIcon::None,
                        MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    WaitCursor wait;
    response_.clear();
    int result = coordinator_.Program(response_);
    while (result != rc::kOk) {
        // With what reading the settings back found: whether the modem holds them. A modem that
        // stored them and only failed the read-back lost no settings.
        const ModemProgramming& programming = coordinator_.Programming();
        const bool stored = programming.NewSettingsStored();
        const char* caption = result == rc::kVerifyFailed || stored ? "Verification Failed"
                              : result == rc::kBackupFailed         ? "Backup Failed"
                                                                    : "Connection Lost";
        if (Ui().MessageBox(
                ProgramFailureMessage(kWriteBroken, result, programming.GetProgramNote(), stored),
                caption, MsgIcon::Stop, MsgButtons::RetryCancel) != MsgAnswer::Retry)
            return;
        response_.clear();
        result = coordinator_.Program(response_);
    }
    if (view_ != nullptr) view_->ClearPageMarks();
    nextDefault_ = DialogButton::Close;
}

void MainDialogModel::Close() {
    if (!coordinator_.IsAttached()) return;
    BusyScope busy(*this);
    if (coordinator_.IsModified() &&
        Ui().MessageBox("Close without programming your changes into this modem?", "Close Modem",
                        MsgIcon::None, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    WaitCursor wait;
    Release();
    nextDefault_ = DialogButton::Load;
    menu_.upgradeEnabled = false;
    menu_.selectPortEnabled = true;
}

void MainDialogModel::Print() {
    if (!coordinator_.IsAttached()) return;
    BusyScope busy(*this);
    if (printReport_) {
        WaitCursor wait;
        printReport_();
    } else {
        Ui().MessageBox(kPrintingUnavailable, "Print", MsgIcon::Exclamation, MsgButtons::Ok);
    }
    nextDefault_ = DialogButton::Close;
}

bool MainDialogModel::Exit() {
    BusyScope busy(*this);
    if (coordinator_.IsModified() &&
        Ui().MessageBox("Exit without programming your changes into this modem?", "Exit?",
                        MsgIcon::None, MsgButtons::YesNo) != MsgAnswer::Yes)
        return false;
    // Leaving the program always returns the modem to normal operation.
    response_.clear();
    coordinator_.Detach(response_, false);
    return true;
}

void MainDialogModel::UndoChanges() {
    BusyScope busy(*this);
    if (view_ != nullptr) view_->ClearPageMarks();
    response_.clear();
    coordinator_.Undo();
}

void MainDialogModel::FactoryDefaults() {
    BusyScope busy(*this);
    coordinator_.Settings().ApplyDefaults();
    if (view_ != nullptr) {
        view_->MarkPageChanged(SheetPage::RadioLink);
        view_->MarkPageChanged(SheetPage::SerialInterface);
    }
}

void MainDialogModel::Help() {
    if (openHelp_) openHelp_();
}

void MainDialogModel::StartDemo() {
    if (demoBusy_) return;
    demoBusy_ = true;
    BusyScope busy(*this);
    const int result = coordinator_.StartDemo();
    if (result != rc::kOk) {
        ShowError(rc::kAlreadyDemo, result);
    } else {
        // As after a load: Enter then closes the modem instead of ending the program (Load,
        // the default so far, is greyed once a modem is attached).
        nextDefault_ = DialogButton::Close;
    }
    demoBusy_ = false;
}

void MainDialogModel::AppendBuildText() {
    if (buildAppended_) return;
    title_ += " (" + settings_.buildText + ")";
    buildAppended_ = true;
}

void MainDialogModel::AppendIniPath() {
    if (iniAppended_) return;
    title_ += "     " + settings_.installIniPath;
    iniAppended_ = true;
}

const MenuState& MainDialogModel::RefreshMenu() {
    const bool upgradable = coordinator_.Session().GetAttachedModemType() == kModemTypeVxl;
    menu_.upgradeEnabled = upgradable;
    menu_.selectPortEnabled = !upgradable;
    return menu_;
}

void MainDialogModel::MenuCommand(int command) {
    RefreshMenu();
    BusyScope busy(*this);
    switch (command & ~0xF) {
        case menu::kAbout:
            if (showAbout_) showAbout_();
            break;
        case menu::kSelectPort:
            if (choosePort_) coordinator_.Session().SetPort(choosePort_(false));
            break;
        case menu::kUpgradeFirmware:
            if (coordinator_.IsAttached()) {
                const FirmwareUpgradeOutcome outcome =
                    upgradeFirmware_
                        ? upgradeFirmware_()
                        : UpgradeFirmwareFromWindow(coordinator_, firmwareDir_, response_);
                // A successful upgrade releases the modem: the next step is a fresh load.
                if (outcome.loadBecomesDefault) nextDefault_ = DialogButton::Load;
                menu_.upgradeEnabled = outcome.upgradeEnabled;
                menu_.selectPortEnabled = outcome.selectPortEnabled;
            }
            break;
        case menu::kPowerOnCapture:
            coordinator_.Session().SetCaptureMethod(kCapturePowerOn);
            menu_.checkedCaptureCommand = menu::kPowerOnCapture;
            break;
        case menu::kSoftBreak:
            coordinator_.Session().SetCaptureMethod(kCaptureSoftBreak);
            menu_.checkedCaptureCommand = menu::kSoftBreak;
            break;
        default:
            break;
    }
}

bool MainDialogModel::CheckDevice() {
    if (Busy()) return false;
    BusyScope busy(*this);
    const bool modified = coordinator_.IsModified();
    const int error = coordinator_.ReleaseLostDevice();
    if (error == 0) return false;
    nextDefault_ = DialogButton::Load;
    menu_.upgradeEnabled = false;
    menu_.selectPortEnabled = true;
    Ui().MessageBox(LostDeviceMessage(coordinator_.Session().GetLostDevice(),
                                      coordinator_.Session().GetPort(), error, modified),
                    "Serial Device Lost", MsgIcon::Stop, MsgButtons::Ok);
    return true;
}

ButtonState MainDialogModel::UpdatePass() {
    ButtonState state;
    const bool modified = coordinator_.IsModified();
    const bool attached = coordinator_.IsAttached();
    auto takeDefault = [&](DialogButton button) {
        if (nextDefault_ != button) return;
        state.makeDefault = button;
        state.focusDefault = true;
        nextDefault_ = DialogButton::None;
    };

    state.undoChanges = modified;
    state.program = coordinator_.MayProgram();
    if (modified != lastModified_) {
        if (modified) {
            state.makeDefault = DialogButton::Program;
        } else {
            nextDefault_ = DialogButton::Close;
        }
    }
    lastModified_ = modified;
    state.load = coordinator_.Session().GetPort() >= 1 &&
                 (!attached || (coordinator_.IsProgrammed() && !modified));
    takeDefault(DialogButton::Load);
    state.close = attached;
    takeDefault(DialogButton::Close);
    state.print = attached;
    state.factoryDefaults = attached;
    return state;
}

}  // namespace vxl
