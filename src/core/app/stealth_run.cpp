// The read-out runs without windows: capture, read, then export the settings as XML (stealth)
// and write the printed reports as PDF files, each one asked for, and release the modem.
#include "app/config_app.h"
#include "app/report_jobs.h"
#include "reports/xml_export.h"
#include "util/result_codes.h"

namespace vxl {

int CConfigApp::StealthRun() {
    const char* what = options_.stealth ? "stealth run" : "report run";
    // A modem without a model ID ends the run; it is still released like a normal end.
    if (int status = CaptureAndRead(what, false, true); status != kExitOk) return status;
    if (coordinator_->Session().IsChecksumMismatch()) WarnChecksumMismatch();
    if (options_.stealth) {
        std::string problem;
        int result = coordinator_->Settings().ExportXml(options_.stealthName, &problem);
        if (result != rc::kOk) {
            Release();
            response_.clear();
            return Fail("XML export", result, XmlFileName(options_.stealthName) + ": " + problem);
        }
    }
    ReportJob job;
    if (!options_.reportFile.empty()) {
        int made =
            MakeConfigurationReportJob(*coordinator_, version_, job, LevelName(options_.level));
        if (!WriteReport("configuration report", job, made, options_.reportFile))
            return kExitRunFailed;
    }
    if (!options_.memoryMapFile.empty()) {
        int made = MakeMemoryMapJob(*coordinator_, version_, job);
        if (!WriteReport("memory-map listing", job, made, options_.memoryMapFile))
            return kExitRunFailed;
    }
    Release();
    lastResult_ = rc::kOk;
    return kExitOk;
}

bool CConfigApp::WriteReport(const char* what, const ReportJob& job, int jobResult,
                             const std::string& path) {
    std::string error;
    int result = jobResult;
    if (result == rc::kOk) {
        if (reportRenderer_) {
            result = reportRenderer_(job, PrintTarget{path, std::string()}, error);
        } else {
            result = rc::kNotSupported;
            error = "this build cannot draw reports";
        }
    }
    if (result == rc::kOk) {
        std::fprintf(out_, "The %s was written to %s\n", what, path.c_str());
        return true;
    }
    Release();
    response_.clear();
    if (error.empty()) {
        Fail(what, result);
    } else {
        lastResult_ = result;
        std::fprintf(err_, "vxlconf: %s failed: code %d: %s\n", what, result, error.c_str());
    }
    return false;
}

}  // namespace vxl
