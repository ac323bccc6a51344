// The window's commands for safe programming and fleet work, without the window: the Settings
// menu's check item "Verify After Programming", "Restore From Backup..." with its list of this
// modem's backups, and saving and loading settings profiles. The window binds its menu items
// and file dialogs to these; every message goes through the operator interface.
#pragma once

#include <string>
#include <vector>

#include "coordinator/profile_apply.h"
#include "coordinator/settings_differences.h"

class CCoordinator;

namespace vxl {

// One row of the restore list.
struct BackupListEntry {
    std::string path;
    std::string time;      // local time, "2024-05-01 14:34:56"
    std::string firmware;  // "2.20"
    // The parameters a restore would change, from the loaded value to the backup's; empty when
    // the backup holds the loaded settings.
    std::vector<SettingDifference> differences;
    // Why the backup cannot be restored (damaged, another modem type or size); empty when it can.
    std::string problem;
};

class SafetyCommands {
  public:
    explicit SafetyCommands(CCoordinator& coordinator) : coordinator_(coordinator) {}

    // "Verify After Programming": the check mark, and a click (stored in the preferences).
    bool VerifyAfterProgramming() const;
    void ToggleVerifyAfterProgramming();

    // "Restore From Backup...", "Save Profile..." and "Load Profile..." are enabled while a
    // modem is loaded.
    bool CanRestore() const;
    bool CanSaveProfile() const { return CanRestore(); }
    bool CanLoadProfile() const { return CanRestore(); }

    // This modem's backups, newest first.
    std::vector<BackupListEntry> ListBackups() const;
    // Puts the backup at `path` into the working image and refreshes the pages; Program is left
    // to the operator. A refusal or a damaged file is shown in a message. Returns the result.
    int RestoreFromBackup(const std::string& path);

    // Writes the loaded settings as a profile; the outcome is shown in a message.
    int SaveProfile(const std::string& path);
    // Applies the profile at `path` and shows what was refused; Program is left to the operator.
    int LoadProfile(const std::string& path);
    // The entries the last LoadProfile refused.
    const std::vector<RefusedEntry>& Refused() const { return refused_; }

  private:
    CCoordinator& coordinator_;
    std::vector<RefusedEntry> refused_;
};

// The text that reports refused profile entries (or, with `applied`, those stored in another
// form), one per line: "Key=Value: why", control characters shown as \xNN.
std::string RefusedEntriesText(const std::vector<RefusedEntry>& refused, bool applied = false);

// The message for a failed Program: `failureText` (what the window or the run says about the
// failure), followed by what the coordinator found out about the modem's settings (`note`,
// GetProgramNote()); for a verification or a backup that failed, and when the modem had already
// stored the settings (`stored`, NewSettingsStored()), that finding is the message.
std::string ProgramFailureMessage(const std::string& failureText, int code, const std::string& note,
                                  bool stored = false);

}  // namespace vxl
