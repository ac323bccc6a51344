// The window never freezes while the core works on the GUI thread: every protocol sleep and
// every long wait processes the pending events instead of blocking, so painting, timers and
// progress windows go on. User input is dropped meanwhile, except for progress windows (the
// capture countdown's cancel), so nothing re-enters the coordinator.
#pragma once

#include "util/clock.h"

namespace vxl::gui {

// Processes events for `ms` milliseconds (at least once), dropping user input that is not
// meant for a progress window. Off the GUI thread it only sleeps.
void PumpEvents(int ms);

// True while PumpEvents runs.
bool Pumping();

// Marks a top-level widget as one that still takes input while events are pumped.
constexpr const char* kTakesInputWhileBusy = "vxlTakesInputWhileBusy";

// Real time whose sleeps pump events.
class PumpingClock : public Clock {
  public:
    void SleepMs(int ms) override { PumpEvents(ms); }
    int64_t SteadyMs() override { return system_.SteadyMs(); }
    std::time_t WallSeconds() override { return system_.WallSeconds(); }

  private:
    SystemClock system_;
};

}  // namespace vxl::gui
