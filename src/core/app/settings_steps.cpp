// The steps of the headless settings run that deal with backups and profiles, and programming
// the result once.
#include "app/config_app.h"
#include "backup/backup_store.h"
#include "coordinator/safety_commands.h"
#include "coordinator/settings_differences.h"
#include "params/modem_memory_image.h"
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
    if (result == rc::kOk && !options_.importCsvFile.empty()) {
        result = ReadChannelPlanFile(options_.importCsvFile, importPlan_, reason);
        path = &options_.importCsvFile;
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
        std::fprintf(out_, "Settings profile written to %s\n", options_.saveProfileFile.c_str());
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
    refusedEntries_ = 0;
    for (const RefusedEntry& entry : refused) {
        refusedEntries_ += entry.applied ? 0 : 1;
        std::fprintf(err_, "vxlconf: profile entry %s: %s: %s\n",
                     entry.applied ? "changed" : "refused",
                     VisibleText(entry.key + "=" + entry.value).c_str(), entry.why.c_str());
    }
    return result;
}

bool CConfigApp::ChangesSettings() const {
    return options_.defaults || !options_.importFile.empty() || !options_.restoreFile.empty() ||
           !options_.loadProfileFile.empty() || !options_.importCsvFile.empty();
}

int CConfigApp::ExportStep(std::string& detail) {
    CCoordinator& c = *coordinator_;
    std::string problem;
    int result = rc::kOk;
    if (!options_.exportFile.empty()) {
        result = c.Settings().ExportChannelTable(options_.exportFile, 0, &problem);
        if (result != rc::kOk) detail = options_.exportFile + ": " + problem;
        if (result != rc::kOk) return result;
        std::fprintf(out_, "Channel table written to %s\n", options_.exportFile.c_str());
    }
    if (!options_.exportCsvFile.empty()) {
        result = c.Settings().ExportChannelCsv(options_.exportCsvFile, &problem);
        if (result != rc::kOk) detail = options_.exportCsvFile + ": " + problem;
        if (result != rc::kOk) return result;
        std::fprintf(out_, "Channel plan written to %s\n", options_.exportCsvFile.c_str());
    }
    return rc::kOk;
}

int CConfigApp::ReportDryRun() {
    CCoordinator& c = *coordinator_;
    const ModemMemoryImage* held = c.Programming().HeldImage();
    const std::vector<SettingDifference> changes =
        held == nullptr ? std::vector<SettingDifference>()
                        : DifferencesFrom(held->ConfigurationBytes(), c.Settings());
    const std::string serial = c.Settings().SerialNumberText();
    if (changes.empty()) {
        std::fprintf(out_, "Dry run: nothing would change on modem %s; nothing was programmed.\n",
                     serial.c_str());
        return kExitOk;
    }
    std::fprintf(out_, "Dry run: %d setting%s of modem %s would change (nothing was programmed):\n",
                 static_cast<int>(changes.size()), changes.size() == 1 ? "" : "s", serial.c_str());
    std::string lines = DifferenceLines(changes);
    for (size_t at = 0; at < lines.size();) {
        const size_t end = lines.find('\n', at);
        std::fprintf(out_, "  %s\n", lines.substr(at, end - at).c_str());
        at = end + 1;
    }
    return kExitWouldChange;
}

int CConfigApp::ProgramChanges() {
    CCoordinator& c = *coordinator_;
    // A run that only reads (export, saveprofile) leaves the modem as it is, even when the
    // rules fitted a setting the modem holds.
    if (!ChangesSettings()) return rc::kOk;
    if (!c.IsModified()) {
        std::fprintf(out_, "The modem already holds these settings; nothing was programmed.\n");
        return rc::kOk;
    }
    int result = c.Program(response_);
    if (result != rc::kOk) return result;
    if (c.IsModified()) return rc::kCommandUnsuccessful;
    std::fprintf(out_, "Modem programmed with the new settings%s.\n",
                 c.Programming().VerifiesAfterProgramming() ? " (read back and verified)" : "");
    if (!c.Programming().GetLastBackupPath().empty())
        std::fprintf(out_, "Its previous settings are saved in %s\n",
                     c.Programming().GetLastBackupPath().c_str());
    return rc::kOk;
}

}  // namespace vxl
