// Every sleep and clock read of the modem protocol goes through this interface, so tests can
// run the protocol's waits (guard times, capture windows, poll loops) in simulated time.
#pragma once

#include "util/installed.h"

#include <cstdint>
#include <ctime>

namespace vxl {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual void SleepMs(int ms) = 0;
    // Monotonic milliseconds since an arbitrary origin.
    virtual int64_t SteadyMs() = 0;
    // Wall-clock time in whole seconds (the capture window counts these).
    virtual std::time_t WallSeconds() = 0;
};

// Real time: the steady clock and the wall clock of the system.
class SystemClock : public Clock {
  public:
    void SleepMs(int ms) override;
    int64_t SteadyMs() override;
    std::time_t WallSeconds() override;
};

// The clock the core uses; the system clock until a caller installs another.
Clock& GetClock();

using ScopedClock = Installed<Clock>::Scope;

}  // namespace vxl
