// The progress rule of the modem's long transfers (reading the image, writing it, reading it
// back): the bar runs from 0 to 100 and moves once per hundredth of the bytes actually
// transferred, so that it reaches its end with the last byte however few there are.
#pragma once

#include "ui/operator.h"

namespace vxl {

class HundredthSteps {
  public:
    static constexpr int kSteps = 100;

    // `window` may be null (no window could be opened); `total` is the number of bytes.
    HundredthSteps(ProgressWindow* window, int total) : window_(window), total_(total) {
        if (window_ == nullptr) return;
        window_->SetRange(0, kSteps);
        window_->SetStep(1);
    }
    // `done` bytes of the total are transferred.
    void Done(int done) {
        if (window_ == nullptr || total_ <= 0) return;
        const int due = static_cast<int>(static_cast<long long>(done) * kSteps / total_);
        for (; steps_ < due; ++steps_) window_->StepIt();
    }

  private:
    ProgressWindow* window_;
    int total_;
    int steps_ = 0;
};

}  // namespace vxl
