// The headless channel-table and defaults run: capture, read, then export the channel table,
// apply the factory defaults and/or import a channel table, program what changed, release.
#include "app/config_app.h"
#include "params/channel_table_file.h"
#include "params/model_tables.h"
#include "util/result_codes.h"

namespace vxl {

int CConfigApp::ChannelRun() {
    CCoordinator& c = *coordinator_;
    const char* what = "channel table or defaults run";
    if (!options_.importFile.empty()) {
        // Checked before the modem is captured; the import reads it again.
        ChannelTableRecord record;
        std::string problem;
        const int checked = ReadChannelTableRecord(options_.importFile, record, problem);
        if (checked != rc::kOk) return FailFile(what, checked, options_.importFile, problem);
    }
    // A modem whose model ID is missing is read like any other.
    if (int status = CaptureAndRead(what, true, false); status != kExitOk) return status;
    auto release = [&](int code) {
        Release();
        return code == rc::kOk ? kExitOk : Fail(what, code);
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
    const bool programs = options_.defaults || !options_.importFile.empty();
    const bool damaged = c.IsChecksumMismatch();
    if (damaged && programs && !options_.force) {
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
    // The firmware fix-up programs the modem too.
    if (!damaged || options_.force) c.FirmwareFixUp(response_);

    response_.clear();
    if (!options_.exportFile.empty()) {
        result = c.ExportChannelTable(options_.exportFile, 0);
        if (result != rc::kOk) return release(result);
        std::fprintf(stdout, "Channel table written to %s\n", options_.exportFile.c_str());
    }
    if (options_.defaults && (result = c.ApplyDefaults()) != rc::kOk) return release(result);
    if (!options_.importFile.empty()) {
        std::string problem;
        if ((result = c.ImportChannelTable(options_.importFile, &problem)) != rc::kOk) {
            response_ = problem;
            return release(result);
        }
    }
    if (c.IsModified()) {
        result = c.Program(response_);
        if (result != rc::kOk) return release(result);
        if (c.IsModified()) return release(rc::kCommandUnsuccessful);
        std::fprintf(stdout, "Modem programmed with the new settings.\n");
    } else {
        std::fprintf(stdout, "The modem already holds these settings; nothing was programmed.\n");
    }
    lastResult_ = rc::kOk;
    return release(rc::kOk);
}

}  // namespace vxl
