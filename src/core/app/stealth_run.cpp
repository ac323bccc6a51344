// The stealth run: no windows; capture, read, export the settings as XML, release the modem.
#include "app/config_app.h"
#include "util/result_codes.h"

namespace vxl {

int CConfigApp::StealthRun() {
    CCoordinator& c = *coordinator_;
    if (c.GetPort() < 1) {
        lastResult_ = rc::kStealthNoPort;
        std::fprintf(err_,
                     "vxlconf: stealth run failed: code %d: no serial port (give 'port N' or "
                     "'device PATH')\n",
                     rc::kStealthNoPort);
        return kExitRunFailed;
    }
    int result = c.Attach(response_, false);
    if (result != rc::kOk) {
        // A modem without a model ID stays attached; release it like a normal end.
        if (c.IsAttached()) c.Detach(response_, options_.keepopen);
        return Fail("stealth run", result);
    }
    result = c.Read(response_, false);
    if (result != rc::kOk && result != rc::kBadOffsetOrLength) {
        c.Detach(response_, options_.keepopen);
        return Fail("stealth run", result);
    }
    result = c.ExportXmlParameters(options_.stealthName);
    std::string ignored;
    c.Detach(ignored, options_.keepopen);
    if (result != rc::kOk) {
        response_.clear();
        return Fail("XML export", result);
    }
    lastResult_ = rc::kOk;
    return kExitOk;
}

}  // namespace vxl
