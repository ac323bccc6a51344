#include "coordinator/safety_commands.h"

#include "backup/backup_store.h"
#include "coordinator/coordinator.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "ui/headless_operator.h"
#include "ui/operator.h"
#include "util/file_result.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr const char* kRestoreCaption = "Restore From Backup";
constexpr const char* kSaveCaption = "Save Profile";
constexpr const char* kLoadCaption = "Load Profile";

// Building a parameter set over a backup looks its defaults up again; problems of the
// definitions file were shown when the modem was loaded and are not shown once per backup.
class QuietOperator : public HeadlessOperator {
  public:
    MsgAnswer MessageBox(const std::string&, const std::string&, MsgIcon,
                         MsgButtons buttons) override {
        return SafeDefault(buttons);
    }
};

std::string ValueOf(ModemParameterSet& set, int id) {
    std::string text;
    int number = 0;
    // The current channel's text lists the frequencies; its number is what it is.
    if (id == pid::kCurrentChannel)
        return set.GetInt(id, number) == rc::kOk ? Format("%d", number) : std::string();
    if (set.GetText(id, text) != rc::kOk) return std::string("?");
    return text;
}

std::vector<std::string> Differences(CCoordinator& coordinator, const BackupImage& backup) {
    std::vector<std::string> keys;
    ModemParameterSet* loaded = coordinator.Settings().Parameters();
    ModemMemoryImage* working = coordinator.Settings().Image();
    if (loaded == nullptr || working == nullptr) return keys;
    std::unique_ptr<ModemMemoryImage> image = working->Clone();
    if (image->WriteConfigurationBytes(backup.bytes) != rc::kOk) return keys;
    QuietOperator quiet;
    ScopedUi scope(quiet);
    std::string location;
    int status = rc::kOk;
    ModemParameterSet other(location, status, image.get());
    for (int id = 0; id < pid::kParameterCount; ++id) {
        if (loaded->Get(id) == nullptr || other.Get(id) == nullptr) continue;
        if (ValueOf(*loaded, id) != ValueOf(other, id)) keys.push_back(ProfileKey(id));
    }
    return keys;
}

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
        if (entry.problem.empty()) entry.differences = Differences(coordinator_, backup);
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
    if (result == rc::kOk) result = ApplyProfile(coordinator_, profile, refused_);
    if (result != rc::kOk) {
        Show(Format("The profile %s cannot be used: %s", path.c_str(),
                    reason.empty() ? ErrorText(result).c_str() : reason.c_str()),
             kLoadCaption, MsgIcon::Stop);
        return result;
    }
    if (refused_.empty()) {
        Show(
            "Every setting of the profile is now shown on the pages.\n\nPress Program to write "
            "them to the modem.",
            kLoadCaption, MsgIcon::None);
    } else {
        Show("These entries of the profile were not applied:\n\n" + RefusedEntriesText(refused_) +
                 "\nThe other settings are now shown on the pages. Press Program to write them "
                 "to the modem.",
             kLoadCaption, MsgIcon::Exclamation);
    }
    return rc::kOk;
}

std::string RefusedEntriesText(const std::vector<RefusedEntry>& refused) {
    std::string text;
    for (const RefusedEntry& entry : refused)
        text += entry.key + "=" + entry.value + ": " + entry.why + "\n";
    return text;
}

std::string ProgramFailureMessage(const std::string& failureText, int code,
                                  const std::string& note) {
    if (note.empty()) return failureText;
    if (code == rc::kVerifyFailed || code == rc::kBackupFailed) return note;
    return failureText + "\n\n" + note;
}

}  // namespace vxl
