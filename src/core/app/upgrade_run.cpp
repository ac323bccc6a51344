// The headless firmware upgrade: capture, read, upgrade from the file, release. The command
// line is the confirmation, so nothing is asked; a failure is reported in one line.
#include "app/config_app.h"
#include "coordinator/firmware_upgrade.h"
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
    if (c.GetPort() < 1) {
        lastResult_ = rc::kStealthNoPort;
        std::fprintf(err_,
                     "vxlconf: firmware upgrade failed: no serial port (give 'port N' or "
                     "'device PATH')\n");
        return kExitRunFailed;
    }
    int result = c.Attach(response_, false);
    if (result != rc::kOk && result != rc::kModelIdMissing) {
        if (c.IsAttached()) c.Detach(response_, options_.keepopen);
        return Fail("firmware upgrade", result);
    }
    result = c.Read(response_, false);
    if (result != rc::kOk) {
        c.Detach(response_, options_.keepopen);
        return Fail("firmware upgrade", result);
    }
    CollectingOperator quiet;
    {
        ScopedUi scope(quiet);
        result = UpgradeModemFirmware(c, options_.upgradeFile, false, response_);
    }
    if (result != rc::kOk) {
        // The workflow leaves the modem attached when it fails; release it, keeping the
        // loader's response for the report.
        std::string ignored;
        if (c.IsAttached()) c.Detach(ignored, options_.keepopen);
        return Fail("firmware upgrade", result);
    }
    lastResult_ = rc::kOk;
    for (const std::string& message : quiet.messages) std::fprintf(stdout, "%s\n", message.c_str());
    return kExitOk;
}

}  // namespace vxl
