// Capture brings a modem from normal operation into command mode: by soft break ("+++" framed
// by guard times, searched over the serial rates) or by power-on capture (the capture command
// sent continuously while the operator switches the modem off and on).
#include "modem/capture_methods.h"
#include "modem/capture_steps.h"
#include "modem/capture_windows.h"
#include "modem/command_frame.h"
#include "modem/link_watch.h"
#include "modem/modem.h"
#include "util/result_codes.h"

namespace {

// The modem's start-up after a power-on capture takes this long before it answers reads.
constexpr int kPowerOnSettleMs = 1200;

}  // namespace

int CModem::Capture(std::string& status, int method, bool showDialogs) {
    status.clear();
    if (method > 0) captureMethod_ = method;
    switch (captureMethod_) {
        case vxl::kCaptureSoftBreak:
            return SoftBreak(status, showDialogs);
        case vxl::kCapturePowerOn: {
            int result = PowerOnCapture(status);
            if (result != vxl::rc::kOk) return result;
            Sync();
            return vxl::rc::kOk;
        }
        case vxl::kCaptureAutomatic:
            return AutomaticCapture(status, showDialogs);
        default:
            return vxl::rc::kOk;
    }
}

int CModem::AutomaticCapture(std::string& status, bool showDialogs) {
    int result = SoftBreak(status, showDialogs);
    if (result != vxl::rc::kOk) return result;
    Sync();
    uint8_t value = 0;
    result = ReadMemoryLocation(status, value, vxl::kCaptureCheckAddress, vxl::polls::kSingleRead);
    if (result == vxl::rc::kOk) {
        captureMethod_ = vxl::kCaptureSoftBreak;
        return vxl::rc::kOk;
    }
    if (vxl::IsStopCode(result)) return result;
    result = PowerOnCapture(status);
    if (result != vxl::rc::kOk) return result;
    if (int stop = vxl::SleepWatching(port_, kPowerOnSettleMs)) return stop;
    Sync();
    result = ReadMemoryLocation(status, value, vxl::kCaptureCheckAddress, vxl::polls::kSingleRead);
    if (result != vxl::rc::kOk) return result;
    captureMethod_ = vxl::kCapturePowerOn;
    return vxl::rc::kOk;
}

int CModem::SoftBreak(std::string& status, bool showDialog) {
    status.clear();
    if (!port_) return vxl::rc::kOk;
    int result = vxl::rc::kCommandUnsuccessful;
    const std::vector<int> candidates = vxl::SoftBreakRates(port_->GetBaud());
    vxl::SoftBreakWindow window(showDialog, port_->GetPortNumber(), port_->DevicePath(),
                                candidates.front());
    const std::vector<vxl::IndexedPort> ports{{0, port_}};
    for (size_t attempt = 0; attempt < candidates.size(); ++attempt) {
        if (int stop = vxl::SendEscapeSequence(ports)) return stop;
        uint8_t value = 0;
        result =
            ReadMemoryLocation(status, value, vxl::kCaptureCheckAddress, vxl::polls::kSingleRead);
        if (result == vxl::rc::kOk || vxl::IsStopCode(result)) break;
        if (attempt + 1 < candidates.size()) {
            port_->SetBaud(candidates[attempt + 1]);
            window.ShowRate(candidates[attempt + 1]);
            port_->Purge();
        }
        vxl::Ui().KeepAlive();
    }
    return result;
}

int CModem::PowerOnCapture(std::string& status) {
    status.clear();
    if (!port_) return vxl::rc::kOk;
    if (port_->GetBaud() != vxl::kPowerOnBaud) {
        // The modem may still run at the rate of an earlier soft break; its answer does not
        // matter, the capture below tells.
        std::string ignored;
        WriteBaudRate(ignored, vxl::kPowerOnBaud);
        port_->SetBaud(vxl::kPowerOnBaud);
    }
    port_->Purge();
    vxl::CountdownWindow window(port_->GetPortNumber(), port_->DevicePath());
    int found = -1;
    int result = vxl::RunPowerOnCapture({{0, port_}}, false, window, status, found);
    port_->Purge();
    window.ShowRemaining(0);
    return result;
}
