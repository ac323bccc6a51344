// The stealth run: no windows; capture, read, export the settings as XML, release the modem.
#include "app/config_app.h"
#include "util/result_codes.h"

namespace vxl {

int CConfigApp::StealthRun() {
    // A modem without a model ID ends the run; it is still released like a normal end.
    if (int status = CaptureAndRead("stealth run", false, true); status != kExitOk) return status;
    if (coordinator_->IsChecksumMismatch()) WarnChecksumMismatch();
    int result = coordinator_->ExportXmlParameters(options_.stealthName);
    Release();
    if (result != rc::kOk) {
        response_.clear();
        return Fail("XML export", result);
    }
    lastResult_ = rc::kOk;
    return kExitOk;
}

}  // namespace vxl
