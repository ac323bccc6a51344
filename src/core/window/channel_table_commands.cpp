#include "window/channel_table_commands.h"

#include <cstdint>

#include "coordinator/coordinator.h"
#include "params/serial_number.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/path_text.h"
#include "util/result_codes.h"
#include "window/main_dialog_model.h"

namespace vxl {

namespace {

constexpr const char* kUpgFilter = "Channel Table Upgrades (*.upg);;All Files (*)";

constexpr const char* kInvalidSerial =
    "Serial number should be in the form:\n\n                   YYWWxxxx\n\n where 'YY' is the "
    "year (96 - present),\n 'WW' is the week (1 - 52),\n and 'xxxx' is the sequence "
    "number.\n\nProceed anyway?";
constexpr const char* kClearedNote =
    "Channel table has been cleared.\n\nNote: new frequencies must be entered, and\na current "
    "channel selected, before changes\ncan be programmed into the modem.";

void ShowError(int action, int code) {
    Ui().MessageBox(ErrorBoxMessage(code, std::string()), ErrorBoxCaption(action), MsgIcon::Stop,
                    MsgButtons::Ok);
}

}  // namespace

std::string ExportFileNameRule::NameFor(const std::string& serialText,
                                        const std::string& fileNameText) {
    const bool following = fileNameText.find('*') != std::string::npos ||
                           (!lastMade_.empty() && fileNameText == lastMade_);
    if (!following) return fileNameText;
    lastMade_ = serialText + ".upg";
    return lastMade_;
}

bool ExportFileNameRule::IsPattern(const std::string& fileNameText) {
    return fileNameText.find_first_of("*?") != std::string::npos;
}

bool AcceptExportSerialNumber(const std::string& serialText) {
    if (IsValidSerialNumberText(serialText)) return true;
    return Ui().MessageBox(kInvalidSerial, "Invalid Serial Number", MsgIcon::Exclamation,
                           MsgButtons::YesNo) == MsgAnswer::Yes;
}

uint32_t ExportSerialNumber(const std::string& serialText) {
    // Leading digits, as the dialog's field holds only digits; beyond 32 bits they wrap.
    uint32_t value = 0;
    for (char c : serialText) {
        if (c < '0' || c > '9') break;
        value = value * 10u + static_cast<uint32_t>(c - '0');
    }
    return value;
}

int ImportChannelTableCommand(CCoordinator& coordinator, MainDialogView* view,
                              std::string& folder) {
    std::string path;
    if (!Ui().ChooseOpenFile("Import Channel Table From File", kUpgFilter, folder, path))
        return rc::kOk;
    std::string problem;
    const int result = coordinator.Settings().ImportChannelTable(path, &problem);
    if (result == rc::kOk) {
        if (view != nullptr) view->MarkPageChanged(SheetPage::Frequencies);
    } else if (!problem.empty()) {
        // A damaged or unreadable file: say what is wrong with it, not only its code.
        Ui().MessageBox(ErrorBoxMessage(result, std::string()) + "\n\n" + path + ": " + problem,
                        ErrorBoxCaption(rc::kImportFailed), MsgIcon::Stop, MsgButtons::Ok);
    } else {
        ShowError(rc::kImportFailed, result);
    }
    RememberFolderOf(path, folder);
    return result;
}

int ExportChannelTableCommand(CCoordinator& coordinator, const ChannelTableExportDialog& dialog,
                              std::string& folder) {
    ChannelTableExportChoice choice;
    if (!dialog || !dialog(folder, choice)) return rc::kOk;
    std::string problem;
    const int result = coordinator.Settings().ExportChannelTable(
        choice.path, ExportSerialNumber(choice.serialText), &problem);
    if (result == rc::kOk) {
        Ui().MessageBox(Format("Channel table written to %s", choice.path.c_str()),
                        "Channel Table Export Complete", MsgIcon::None, MsgButtons::Ok);
    } else if (!problem.empty()) {
        // The file and why it could not be written; the earlier file is as it was.
        Ui().MessageBox(
            ErrorBoxMessage(result, std::string()) + "\n\n" + choice.path + ": " + problem,
            ErrorBoxCaption(rc::kExportFailed), MsgIcon::Stop, MsgButtons::Ok);
    } else {
        ShowError(rc::kExportFailed, result);
    }
    RememberFolderOf(choice.path, folder);
    return result;
}

int ClearChannelTableCommand(CCoordinator& coordinator, MainDialogView* view) {
    if (Ui().MessageBox("Clear the channel table?", "Clear Channels", MsgIcon::Exclamation,
                        MsgButtons::YesNo) != MsgAnswer::Yes)
        return rc::kOk;
    const int result = coordinator.Settings().ClearChannelTable();
    if (result == rc::kOk) {
        if (view != nullptr) view->MarkPageChanged(SheetPage::Frequencies);
        Ui().MessageBox(kClearedNote, "Clear Channels", MsgIcon::Exclamation, MsgButtons::Ok);
    }
    return result;
}

}  // namespace vxl
