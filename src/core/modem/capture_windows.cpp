#include "modem/capture_windows.h"

#include <string>
#include <vector>

#include "util/format.h"

namespace vxl {

namespace {

const char kTitle[] = "Capturing Modem";
const char kAllPorts[] = "Searching all ports...";
constexpr int kRateLine = 1;
constexpr int kCountdownLine = 3;

std::string PortLine(int portNumber, const std::string& device) {
    if (portNumber < 1) return kAllPorts;
    return device.empty() ? Format("COM %d", portNumber) : device;
}

std::string CountdownText(long seconds) {
    return seconds >= 0 ? Format("Time remaining: %ld sec.", seconds) : std::string("  ");
}

}  // namespace

SoftBreakWindow::SoftBreakWindow(bool show, int portNumber, const std::string& device, int baud) {
    if (!show) return;
    window_ = Ui().OpenProgress(kTitle,
                                {"Attempting to capture modem by soft-break",
                                 Format("at %d baud.", baud), PortLine(portNumber, device)},
                                false);
    if (window_) window_->ShowBar(false);
}

void SoftBreakWindow::ShowRate(int baud) {
    if (window_) window_->SetLine(kRateLine, Format("at %d baud.", baud));
}

CountdownWindow::CountdownWindow(int portNumber, const std::string& device) {
    std::vector<std::string> lines;
    if (portNumber >= 1) {
        lines = {PortLine(portNumber, device), "Please power cycle your VXL modem now",
                 "to allow the VXL Configuration Software to capture it.", CountdownText(-1)};
    } else {
        lines = {kAllPorts, "If there is a Norvale modem on any serial port",
                 "please power cycle it to allow the VXL Software to capture it.",
                 CountdownText(-1)};
    }
    window_ = Ui().OpenProgress(kTitle, lines, true);
    if (window_) window_->ShowBar(false);
}

void CountdownWindow::ShowRemaining(long seconds) {
    // The poll loop reports many times a second; the window changes once a second.
    if (!window_ || seconds == shown_) return;
    shown_ = seconds;
    window_->SetLine(kCountdownLine, CountdownText(seconds));
}

bool CountdownWindow::TakeCancel() {
    if (!window_ || cancelTaken_ || !window_->CancelRequested()) return false;
    cancelTaken_ = true;
    // The operator's cancel closes the window at once, whatever the capture does meanwhile.
    window_.reset();
    return true;
}

}  // namespace vxl
