#include "util/clock.h"

#include <chrono>
#include <thread>

namespace vxl {

void SystemClock::SleepMs(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int64_t SystemClock::SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::time_t SystemClock::WallSeconds() {
    return std::time(nullptr);
}

namespace {
SystemClock& DefaultClock() {
    static SystemClock clock;
    return clock;
}
Clock* g_clock = nullptr;
}  // namespace

Clock& GetClock() {
    return g_clock ? *g_clock : DefaultClock();
}

void SetClock(Clock* clock) {
    g_clock = clock;
}

ScopedClock::ScopedClock(Clock& clock) : previous_(g_clock) {
    g_clock = &clock;
}

ScopedClock::~ScopedClock() {
    g_clock = previous_;
}

}  // namespace vxl
