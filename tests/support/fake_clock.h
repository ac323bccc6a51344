// Simulated time for tests: sleeping advances the clock at once, and callers may hook each
// advance (a fake serial line uses that to deliver bytes "later").
#pragma once

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <functional>

#include "util/clock.h"

namespace vxl::test {

class FakeClock : public Clock {
  public:
    explicit FakeClock(std::time_t wallStart = 1700000000) : wallStart_(wallStart) {}

    void SleepMs(int ms) override {
        if (ms > 0) Advance(ms);
    }
    int64_t SteadyMs() override { return nowMs_; }
    std::time_t WallSeconds() override {
        return wallStart_ + static_cast<std::time_t>(nowMs_ / 1000);
    }

    void Advance(int64_t ms) {
        nowMs_ += ms;
        if (onAdvance) onAdvance(nowMs_);
    }
    int64_t NowMs() const { return nowMs_; }

    // Called after every change of time with the new time.
    std::function<void(int64_t)> onAdvance;

  private:
    std::time_t wallStart_;
    int64_t nowMs_ = 0;
};

// Real time with the protocol's fixed pauses (the write pause, a command's line time) cut to a
// millisecond, for end-to-end runs against a simulator without line timing whose subject is not
// the pacing. Time-outs, guard times and capture windows are counted on the real clock.
class QuickPauseClock : public SystemClock {
  public:
    void SleepMs(int ms) override { SystemClock::SleepMs(std::min(ms, 1)); }
};

}  // namespace vxl::test
