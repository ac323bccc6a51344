#include "backup/backup_store.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "util/format.h"
#include "util/input_file.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

// A backup file is a few kilobytes; anything much larger is not one.
constexpr std::size_t kMaxBackupBytes = 1 << 20;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string FileStem(std::time_t when) {
    std::tm parts{};
    ::gmtime_r(&when, &parts);
    return Format("%04d%02d%02dT%02d%02d%02dZ", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// Names sort by time; two backups in the same second get "_02", "_03" ..., which sort after
// the first one.
std::string FreeName(const std::string& folder, std::time_t when) {
    const std::string stem = folder + "/" + FileStem(when);
    std::string path = stem + kBackupExtension;
    for (int n = 2; Exists(path) && n < 100; ++n)
        path = Format("%s_%02d%s", stem.c_str(), n, kBackupExtension);
    return path;
}

std::vector<std::string> BackupNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name[0] != '.' && EndsWith(name, kBackupExtension)) names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.rbegin(), names.rend());
    return names;
}

}  // namespace

std::string DefaultBackupRoot() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : ".") + "/.local/share";
    }
    return base + "/vxlconf/backups";
}

std::string BackupFolder(const std::string& root, const std::string& serialNumber) {
    // The serial number names a folder: only letters and digits go into it.
    std::string name;
    for (char c : serialNumber)
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) name += c;
    return root + "/" + (name.empty() ? "unknown" : name);
}

FileResult SaveBackup(const std::string& root, const BackupImage& backup, std::string& path) {
    const std::string folder = BackupFolder(root, backup.header.serialNumber);
    path = FreeName(folder, backup.header.time);
    FileResult written = WriteFileAtomically(path, FormatBackup(backup), Folders::Create);
    if (!written.ok()) return written;
    std::vector<std::string> names = BackupNames(folder);
    for (size_t i = kBackupsKept; i < names.size(); ++i)
        std::remove((folder + "/" + names[i]).c_str());
    return written;
}

std::vector<std::string> ListBackupFiles(const std::string& root, const std::string& serialNumber) {
    const std::string folder = BackupFolder(root, serialNumber);
    std::vector<std::string> paths;
    for (const std::string& name : BackupNames(folder)) paths.push_back(folder + "/" + name);
    return paths;
}

int ReadBackupFile(const std::string& path, BackupImage& backup, std::string& reason) {
    std::string text;
    if (const int code = ReadInputFile(path, kMaxBackupBytes, text, reason)) return code;
    return ParseBackup(text, backup, reason);
}

}  // namespace vxl
