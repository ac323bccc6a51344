// The headless firmware upgrade: capture, read, upgrade from the file, release. The command
// line is the confirmation, so nothing is asked; a failure is reported in one line.
#include "app/config_app.h"
#include "coordinator/firmware_upgrade.h"
#include "modem/firmware_file.h"
#include "ui/headless_operator.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

// Keeps the workflow's messages instead of printing each as it comes, so that a failure ends in
// exactly one line and the success messages go to standard output.
class CollectingOperator : public HeadlessOperator {
  public:
    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgIcon,
                         MsgButtons buttons) override {
        messages.push_back(OneLine(text, caption));
        return SafeDefault(buttons);
    }
    std::vector<std::string> messages;
};

}  // namespace

int CConfigApp::UpgradeRun() {
    CCoordinator& c = *coordinator_;
    const char* what = "firmware upgrade";
    // The file is read and checked before the modem is captured; the workflow reads it again.
    CFirmwareFile file(options_.upgradeFile);
    int checked = file.ReadUpgradeFile();
    std::string problem = checked == rc::kOk ? file.DownloadProblem() : file.GetProblem();
    if (checked == rc::kOk && !problem.empty()) checked = rc::kCorruptFirmware;
    if (checked != rc::kOk) return FailFile(what, checked, options_.upgradeFile, problem);

    if (int status = CaptureAndRead(what, true, false); status != kExitOk) return status;
    if (c.Session().IsChecksumMismatch()) WarnChecksumMismatch();
    int result;
    CollectingOperator quiet;
    {
        ScopedUi scope(quiet);
        result = UpgradeModemFirmware(c, options_.upgradeFile, false, response_);
    }
    if (result != rc::kOk) {
        // The workflow leaves the modem attached when it fails.
        const bool inBootLoader = LeftInBootLoader(c);
        Release();
        return Fail(what, result, inBootLoader ? kLeftInBootLoader : "");
    }
    lastResult_ = rc::kOk;
    for (const std::string& message : quiet.messages) std::fprintf(out_, "%s\n", message.c_str());
    if (!c.Programming().GetLastBackupPath().empty())
        std::fprintf(out_, "The settings before the upgrade are saved in %s\n",
                     c.Programming().GetLastBackupPath().c_str());
    return kExitOk;
}

}  // namespace vxl
