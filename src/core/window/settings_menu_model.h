// The Settings menu of the main window, without the window: the check item "Verify After
// Programming", "Restore From Backup..." with its choice among this modem's backups, and
// "Save Profile..." / "Load Profile..." with their file dialogs. Every message goes through the
// operator interface; the window binds its menu items to this class and shows the backup list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "coordinator/safety_commands.h"

class CCoordinator;

namespace vxl {

struct SettingsMenuState {
    bool verifyChecked = true;
    bool restoreEnabled = false;
    bool saveProfileEnabled = false;
    bool loadProfileEnabled = false;
};

// What the restore list shows of a backup besides its time and firmware: the parameters a
// restore would change (the first `limit` of them by name and how many more; with `limit` 0
// all of them, one line each with the loaded and the backup's value), or why it cannot be
// restored.
std::string BackupDifferenceText(const BackupListEntry& entry, size_t limit = 0);

class SettingsMenuModel {
  public:
    // Shows the backups (newest first) and returns the index the operator chose, or -1.
    using BackupChooser = std::function<int(const std::vector<BackupListEntry>& backups)>;
    // Told the ids of the parameters a restore or a profile changed, so that their pages are
    // marked as changed.
    using ChangedParameters = std::function<void(const std::vector<int>& ids)>;

    explicit SettingsMenuModel(CCoordinator& coordinator);

    void SetBackupChooser(BackupChooser chooser) { chooseBackup_ = std::move(chooser); }
    void SetChangedParameters(ChangedParameters marks) { markChanged_ = std::move(marks); }

    // The menu items' check mark and enabling, as of now.
    SettingsMenuState State() const;

    void ToggleVerifyAfterProgramming();
    void RestoreFromBackup();
    void SaveProfile();
    void LoadProfile();

    // The folder the profile file dialogs start in: the one of the last profile.
    std::string& InitialProfileDir() { return profileDir_; }

  private:
    // Runs `change` and reports the parameters whose shown values it changed.
    void MarkChanges(const std::function<int()>& change);

    CCoordinator& coordinator_;
    SafetyCommands commands_;
    BackupChooser chooseBackup_;
    ChangedParameters markChanged_;
    std::string profileDir_;
};

}  // namespace vxl
