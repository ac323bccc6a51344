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

Clock& GetClock() {
    static SystemClock system;
    return Installed<Clock>::Get(system);
}

}  // namespace vxl
