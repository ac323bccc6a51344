// The two "Capturing Modem" windows: the soft-break window with the rate being tried, and the
// power-on window with its countdown and cancel request.
#pragma once

#include <memory>
#include <string>

#include "ui/operator.h"

namespace vxl {

// The port line names `device` (its number when the device is not known); `portNumber` below 1
// means every port is searched.
class SoftBreakWindow {
  public:
    SoftBreakWindow(bool show, int portNumber, const std::string& device, int baud);
    void ShowRate(int baud);

  private:
    std::unique_ptr<ProgressWindow> window_;
};

class CountdownWindow {
  public:
    CountdownWindow(int portNumber, const std::string& device);
    // Shows the remaining seconds (a negative count shows blanks).
    void ShowRemaining(long seconds);
    // True once per cancel request of the operator: a request, once taken, is used up, and
    // closes the window.
    bool TakeCancel();

  private:
    std::unique_ptr<ProgressWindow> window_;
    long shown_ = -1000;
    bool cancelTaken_ = false;
};

}  // namespace vxl
