#include "window/settings_menu_model.h"

#include "backup/backup_store.h"
#include "coordinator/coordinator.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/path_text.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr const char* kProfileFilter = "Settings profiles (*.ini);;All files (*)";

// The shown value of every parameter, by id ("" for those the modem does not have).
std::vector<std::string> ShownValues(CCoordinator& coordinator) {
    std::vector<std::string> values(pid::kParameterCount);
    ModemParameterSet* set = coordinator.Settings().Parameters();
    if (set == nullptr) return values;
    for (int id = 0; id < pid::kParameterCount; ++id) {
        if (set->Get(id) == nullptr) continue;
        std::string text;
        int number = 0;
        if (set->GetText(id, text) != rc::kOk) text = "?";
        if (set->GetInt(id, number) == rc::kOk) text += Format("|%d", number);
        values[static_cast<size_t>(id)] = text;
    }
    return values;
}

std::string InFolder(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
}

}  // namespace

std::string BackupDifferenceText(const BackupListEntry& entry, size_t limit) {
    if (!entry.problem.empty()) return "cannot be restored: " + entry.problem;
    const std::vector<SettingDifference>& changes = entry.differences;
    if (changes.empty()) return "same as the loaded settings";
    if (limit == 0) return DifferenceLines(changes);
    const size_t shown = changes.size() <= limit ? changes.size() : limit;
    std::string text;
    for (size_t i = 0; i < shown; ++i) text += (i == 0 ? "" : ", ") + changes[i].key;
    if (shown < changes.size())
        text += Format(" and %d more", static_cast<int>(changes.size() - shown));
    return text;
}

SettingsMenuModel::SettingsMenuModel(CCoordinator& coordinator)
    : coordinator_(coordinator), commands_(coordinator) {}

SettingsMenuState SettingsMenuModel::State() const {
    SettingsMenuState state;
    state.verifyChecked = commands_.VerifyAfterProgramming();
    state.restoreEnabled = commands_.CanRestore();
    state.saveProfileEnabled = commands_.CanSaveProfile();
    state.loadProfileEnabled = commands_.CanLoadProfile();
    return state;
}

void SettingsMenuModel::ToggleVerifyAfterProgramming() {
    commands_.ToggleVerifyAfterProgramming();
}

void SettingsMenuModel::RestoreFromBackup() {
    if (!commands_.CanRestore()) return;
    const std::vector<BackupListEntry> backups = commands_.ListBackups();
    if (backups.empty()) {
        const std::string serial = coordinator_.Settings().SerialNumberText();
        Ui().MessageBox(
            Format("There are no backups of the modem with serial number %s.\n\nA "
                   "backup is saved before every Program, in the folder\n%s",
                   serial.c_str(),
                   BackupFolder(coordinator_.Programming().GetBackupRoot(), serial).c_str()),
            "Restore From Backup", MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    const int chosen = chooseBackup_ ? chooseBackup_(backups) : -1;
    if (chosen < 0 || static_cast<size_t>(chosen) >= backups.size()) return;
    const std::string path = backups[static_cast<size_t>(chosen)].path;
    MarkChanges([this, &path] { return commands_.RestoreFromBackup(path); });
}

void SettingsMenuModel::SaveProfile() {
    if (!commands_.CanSaveProfile()) return;
    std::string path;
    const std::string suggested =
        InFolder(profileDir_, "profile-" + coordinator_.Settings().SerialNumberText() + ".ini");
    if (!Ui().ChooseSaveFile("Save Profile", kProfileFilter, suggested, path)) return;
    profileDir_ = FolderOf(path);
    commands_.SaveProfile(path);
}

void SettingsMenuModel::LoadProfile() {
    if (!commands_.CanLoadProfile()) return;
    std::string path;
    if (!Ui().ChooseOpenFile("Load Profile", kProfileFilter, profileDir_, path)) return;
    profileDir_ = FolderOf(path);
    MarkChanges([this, &path] { return commands_.LoadProfile(path); });
}

void SettingsMenuModel::MarkChanges(const std::function<int()>& change) {
    const std::vector<std::string> before = ShownValues(coordinator_);
    if (change() != rc::kOk) return;
    const std::vector<std::string> after = ShownValues(coordinator_);
    std::vector<int> changed;
    for (int id = 0; id < pid::kParameterCount; ++id)
        if (before[static_cast<size_t>(id)] != after[static_cast<size_t>(id)])
            changed.push_back(id);
    if (!changed.empty() && markChanged_) markChanged_(changed);
}

}  // namespace vxl
