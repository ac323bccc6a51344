// The headless settings run: read the input files, capture, read, then export the channel
// table and plan and save a profile (the modem as read), restore a backup, apply the factory
// defaults, apply a profile and import a channel table and plan, program what changed once (or,
// in a dry run, list it), release.
#include "app/config_app.h"
#include "params/channel_table_file.h"
#include "params/model_tables.h"
#include "util/result_codes.h"

namespace vxl {

int CConfigApp::ChannelRun() {
    CCoordinator& c = *coordinator_;
    const char* what = "channel table or defaults run";
    if (!options_.restoreFile.empty()) what = "restore";
    if (!options_.saveProfileFile.empty() || !options_.loadProfileFile.empty())
        what = "profile run";
    // Files that cannot be used are reported before the modem is touched.
    if (!options_.importFile.empty()) {
        // The import reads it again.
        ChannelTableRecord record;
        std::string problem;
        const int checked = ReadChannelTableRecord(options_.importFile, record, problem);
        if (checked != rc::kOk) return FailFile(what, checked, options_.importFile, problem);
    }
    if (int status = ReadSettingsFiles(what); status != kExitOk) return status;
    // A modem whose model ID is missing is read like any other.
    if (int status = CaptureAndRead(what, true, false); status != kExitOk) return status;
    auto release = [&](int code, const std::string& detail = std::string()) {
        Release();
        return code == rc::kOk ? kExitOk : Fail(what, code, detail);
    };
    int result;
    if (!c.IsSupportedModel()) {
        const char* name = Type4ModelName(c.GetModel());
        Release();
        lastResult_ = rc::kBadModel;
        std::fprintf(err_,
                     "vxlconf: %s failed: VXL Configuration Program does not support %s modems.\n",
                     what, name ? name : "these");
        return kExitRunFailed;
    }
    // Settings that failed their checksum are programmed back only when the operator says so:
    // the damaged byte would be stored for good.
    const bool programs = ChangesSettings();
    const bool damaged = c.Session().IsChecksumMismatch();
    if (damaged && programs && !options_.force && !options_.dryRun) {
        Release();
        if (int status = ReportInterrupt(what); status != kExitOk) return status;
        lastResult_ = rc::kCannotReadImage;
        std::fprintf(err_,
                     "vxlconf: %s failed: the settings read from the modem do not match their "
                     "checksum, even when read twice, and programming them would store a damaged "
                     "byte for good; check the connection and retry, or add 'force' to program "
                     "them anyway\n",
                     what);
        return kExitRunFailed;
    }
    if (damaged) WarnChecksumMismatch();
    response_.clear();
    // The firmware fix-up programs the modem too; a dry run programs nothing.
    if ((!damaged || options_.force) && !options_.dryRun) c.FirmwareFixUp(response_);

    response_.clear();
    std::string detail;
    if ((result = ExportStep(detail)) != rc::kOk) return release(result, detail);
    if ((result = SaveProfileStep(detail)) != rc::kOk) return release(result, detail);
    if ((result = RestoreStep(detail)) != rc::kOk) return release(result, detail);
    if (options_.defaults && (result = c.Settings().ApplyDefaults()) != rc::kOk)
        return release(result);
    if ((result = LoadProfileStep()) != rc::kOk) return release(result);
    if (!options_.importFile.empty()) {
        std::string problem;
        if ((result = c.Settings().ImportChannelTable(options_.importFile, &problem)) != rc::kOk)
            return release(result, options_.importFile + (problem.empty() ? "" : ": " + problem));
    }
    if (!options_.importCsvFile.empty()) {
        std::string problem;
        if ((result = c.Settings().ApplyChannelPlan(importPlan_, &problem)) != rc::kOk)
            return release(result, options_.importCsvFile + ": " + problem);
    }
    if (options_.dryRun) {
        const int status = ReportDryRun();
        lastResult_ = rc::kOk;
        if (int released = release(rc::kOk); released != kExitOk) return released;
        return status;
    }
    if ((result = ProgramChanges()) != rc::kOk) return release(result);
    lastResult_ = rc::kOk;
    if (int status = release(rc::kOk); status != kExitOk) return status;
    return refusedEntries_ > 0 ? kExitEntriesRefused : kExitOk;
}

}  // namespace vxl
