#include "coordinator/safety_commands.h"

#include "backup/backup_store.h"
#include "coordinator/coordinator.h"
#include "params/modem_memory_image.h"
#include "ui/operator.h"
#include "util/file_result.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr const char* kRestoreCaption = "Restore From Backup";
constexpr const char* kSaveCaption = "Save Profile";
constexpr const char* kLoadCaption = "Load Profile";

void Show(const std::string& text, const char* caption, MsgIcon icon) {
    Ui().MessageBox(text, caption, icon, MsgButtons::Ok);
}

}  // namespace

bool SafetyCommands::VerifyAfterProgramming() const {
    return coordinator_.Programming().VerifiesAfterProgramming();
}

void SafetyCommands::ToggleVerifyAfterProgramming() {
    coordinator_.Programming().SetVerifyAfterProgramming(
        !coordinator_.Programming().VerifiesAfterProgramming(), true);
}

bool SafetyCommands::CanRestore() const {
    return coordinator_.IsLoaded();
}

std::vector<BackupListEntry> SafetyCommands::ListBackups() const {
    std::vector<BackupListEntry> entries;
    if (!CanRestore()) return entries;
    const ModemMemoryImage* working = coordinator_.Settings().Image();
    for (const std::string& path : ListBackupFiles(coordinator_.Programming().GetBackupRoot(),
                                                   coordinator_.Settings().SerialNumberText())) {
        BackupListEntry entry;
        entry.path = path;
        BackupImage backup;
        std::string reason;
        if (ReadBackupFile(path, backup, reason) != rc::kOk) {
            entry.problem = "damaged: " + reason;
        } else if (backup.header.modemType != working->GetModemType() ||
                   backup.header.mainSize != working->GetMainSize() ||
                   backup.header.extensionSize != working->GetExtensionSize()) {
            entry.problem = "taken with another firmware or memory size";
        }
        if (entry.problem.empty()) {
            // What restoring it would change: from the loaded settings to the backup's.
            entry.differences = DifferencesFrom(backup.bytes, coordinator_.Settings());
            for (SettingDifference& d : entry.differences) std::swap(d.before, d.after);
        }
        entry.time = FormatLocalTime(backup.header.time);
        entry.firmware = backup.header.firmware;
        entries.push_back(std::move(entry));
    }
    return entries;
}

int SafetyCommands::RestoreFromBackup(const std::string& path) {
    BackupImage backup;
    std::string reason;
    int result = ReadBackupFile(path, backup, reason);
    if (result == rc::kOk) result = coordinator_.Programming().RestoreBackup(backup, false, reason);
    if (result != rc::kOk) {
        Show(Format("The backup %s cannot be restored: %s", path.c_str(),
                    reason.empty() ? ErrorText(result).c_str() : reason.c_str()),
             kRestoreCaption, MsgIcon::Stop);
        return result;
    }
    Show(Format("The settings of the backup taken %s are now shown on the pages.\n\nPress "
                "Program to write them to the modem.",
                FormatLocalTime(backup.header.time).c_str()),
         kRestoreCaption, MsgIcon::None);
    return rc::kOk;
}

int SafetyCommands::SaveProfile(const std::string& path) {
    std::string problem;
    int result = vxl::SaveProfile(coordinator_, path, &problem);
    if (result != rc::kOk) {
        Show("The profile could not be written: " + FileErrorText(result, path, problem),
             kSaveCaption, MsgIcon::Stop);
        return result;
    }
    Show(Format("Settings profile written to %s", path.c_str()), kSaveCaption, MsgIcon::None);
    return rc::kOk;
}

int SafetyCommands::LoadProfile(const std::string& path) {
    refused_.clear();
    Profile profile;
    std::string reason;
    int result = ReadProfileFile(path, profile, reason);
    // What the profile changes is shown before it is kept: applied, compared, and put back when
    // the operator says No.
    const std::vector<uint8_t> shown = coordinator_.IsLoaded()
                                           ? coordinator_.Settings().Image()->ConfigurationBytes()
                                           : std::vector<uint8_t>();
    if (result == rc::kOk) result = ApplyProfile(coordinator_, profile, refused_);
    if (result != rc::kOk) {
        Show(Format("The profile %s cannot be used: %s", path.c_str(),
                    reason.empty() ? ErrorText(result).c_str() : reason.c_str()),
             kLoadCaption, MsgIcon::Stop);
        return result;
    }
    const std::string refusedLines = RefusedEntriesText(refused_);
    const std::string changedLines = RefusedEntriesText(refused_, true);
    const bool anyRefused = !refusedLines.empty();
    std::string refusedText;
    if (anyRefused)
        refusedText = "These entries of the profile cannot be applied:\n\n" + refusedLines + "\n";
    if (!changedLines.empty())
        refusedText +=
            "These entries of the profile were stored in another form:\n\n" + changedLines + "\n";
    const std::vector<SettingDifference> changes = DifferencesFrom(shown, coordinator_.Settings());
    if (changes.empty()) {
        Show(refusedText + "The pages already show the profile's settings; nothing changes.",
             kLoadCaption, anyRefused ? MsgIcon::Exclamation : MsgIcon::None);
        return rc::kOk;
    }
    const std::string question = refusedText + "Loading the profile changes these settings:\n\n" +
                                 DifferenceLines(changes) +
                                 "\nShow them on the pages? Program then writes them to the "
                                 "modem.";
    if (Ui().MessageBox(question, kLoadCaption,
                        anyRefused ? MsgIcon::Exclamation : MsgIcon::Question,
                        MsgButtons::YesNo) != MsgAnswer::Yes)
        coordinator_.Settings().ReplaceBytes(shown);
    return rc::kOk;
}

std::string RefusedEntriesText(const std::vector<RefusedEntry>& refused, bool applied) {
    std::string text;
    for (const RefusedEntry& entry : refused)
        if (entry.applied == applied)
            text += VisibleText(entry.key + "=" + entry.value) + ": " + entry.why + "\n";
    return text;
}

std::string ProgramFailureMessage(const std::string& failureText, int code, const std::string& note,
                                  bool stored) {
    if (note.empty()) return failureText;
    if (stored || code == rc::kVerifyFailed || code == rc::kBackupFailed) return note;
    return failureText + "\n\n" + note;
}

}  // namespace vxl
