// Where backups live: one folder per modem under
// $XDG_DATA_HOME/vxlconf/backups/<serial number>/ ($HOME/.local/share when unset), one file per
// backup named after its time ("20240501T123456Z.img"), the newest 50 of each modem kept.
#pragma once

#include <string>
#include <vector>

#include "backup/backup_file.h"
#include "util/file_result.h"

namespace vxl {

constexpr int kBackupsKept = 50;
constexpr const char* kBackupExtension = ".img";

// $XDG_DATA_HOME/vxlconf/backups, or $HOME/.local/share/vxlconf/backups.
std::string DefaultBackupRoot();

// The folder of one modem's backups under `root`.
std::string BackupFolder(const std::string& root, const std::string& serialNumber);

// Writes `backup` atomically into its modem's folder (created when missing) and removes all but
// the newest kBackupsKept there. Returns success and the file's path, or why it failed (nothing
// half-written is left behind).
FileResult SaveBackup(const std::string& root, const BackupImage& backup, std::string& path);

// The backup files of one modem, newest first.
std::vector<std::string> ListBackupFiles(const std::string& root, const std::string& serialNumber);

// Reads and checks a backup file: 0, a file error (901..914), rc::kTooManyBytes or
// rc::kBackupDamaged, with the reason in `reason`.
int ReadBackupFile(const std::string& path, BackupImage& backup, std::string& reason);

}  // namespace vxl
