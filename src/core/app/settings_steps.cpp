// The steps of the headless settings run that deal with backups and profiles, and programming
// the result once.
#include "app/config_app.h"
#include "backup/backup_store.h"
#include "coordinator/safety_commands.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

int CConfigApp::ReadSettingsFiles(const char* what) {
    std::string reason;
    int result = rc::kOk;
    if (!options_.restoreFile.empty())
        result = ReadBackupFile(options_.restoreFile, restoreBackup_, reason);
    const std::string* path = &options_.restoreFile;
    if (result == rc::kOk && !options_.loadProfileFile.empty()) {
        result = ReadProfileFile(options_.loadProfileFile, loadProfile_, reason);
        path = &options_.loadProfileFile;
    }
    if (result == rc::kOk) return kExitOk;
    return FailFile(what, result, *path, reason);
}

int CConfigApp::SaveProfileStep(std::string& detail) {
    if (options_.saveProfileFile.empty()) return rc::kOk;
    std::string problem;
    int result = SaveProfile(*coordinator_, options_.saveProfileFile, &problem);
    if (result != rc::kOk) detail = options_.saveProfileFile + ": " + problem;
    if (result == rc::kOk)
        std::fprintf(stdout, "Settings profile written to %s\n", options_.saveProfileFile.c_str());
    return result;
}

int CConfigApp::RestoreStep(std::string& detail) {
    if (options_.restoreFile.empty()) return rc::kOk;
    int result = coordinator_->Programming().RestoreBackup(restoreBackup_, options_.force, detail);
    if (result == rc::kBackupRefused && !options_.force &&
        detail.find("serial number") != std::string::npos)
        detail += " Give 'force' to restore it all the same.";
    return result;
}

int CConfigApp::LoadProfileStep() {
    if (options_.loadProfileFile.empty()) return rc::kOk;
    std::vector<RefusedEntry> refused;
    int result = ApplyProfile(*coordinator_, loadProfile_, refused);
    refusedEntries_ = refused.size();
    for (const RefusedEntry& entry : refused)
        std::fprintf(err_, "vxlconf: profile entry refused: %s=%s: %s\n", entry.key.c_str(),
                     entry.value.c_str(), entry.why.c_str());
    return result;
}

bool CConfigApp::ChangesSettings() const {
    return options_.defaults || !options_.importFile.empty() || !options_.restoreFile.empty() ||
           !options_.loadProfileFile.empty();
}

int CConfigApp::ProgramChanges() {
    CCoordinator& c = *coordinator_;
    // A run that only reads (export, saveprofile) leaves the modem as it is, even when the
    // rules fitted a setting the modem holds.
    if (!ChangesSettings()) return rc::kOk;
    if (!c.IsModified()) {
        std::fprintf(stdout, "The modem already holds these settings; nothing was programmed.\n");
        return rc::kOk;
    }
    int result = c.Program(response_);
    if (result != rc::kOk) return result;
    if (c.IsModified()) return rc::kCommandUnsuccessful;
    std::fprintf(stdout, "Modem programmed with the new settings%s.\n",
                 c.Programming().VerifiesAfterProgramming() ? " (read back and verified)" : "");
    if (!c.Programming().GetLastBackupPath().empty())
        std::fprintf(stdout, "Its previous settings are saved in %s\n",
                     c.Programming().GetLastBackupPath().c_str());
    return rc::kOk;
}

}  // namespace vxl
