// The two "Capturing Modem" windows: the soft-break window with the rate being tried, and the
// power-on window with its countdown and cancel request.
#pragma once

#include <memory>

#include "ui/operator.h"

namespace vxl {

// `portNumber` below 1 means every port is searched.
class SoftBreakWindow {
  public:
    SoftBreakWindow(bool show, int portNumber, int baud);
    void ShowRate(int baud);

  private:
    std::unique_ptr<ProgressWindow> window_;
};

class CountdownWindow {
  public:
    explicit CountdownWindow(int portNumber);
    // Shows the remaining seconds (a negative count shows blanks).
    void ShowRemaining(long seconds);
    // True once per cancel request of the operator: a request, once taken, is used up.
    bool TakeCancel();

  private:
    std::unique_ptr<ProgressWindow> window_;
    long shown_ = -1000;
    bool cancelTaken_ = false;
};

}  // namespace vxl
