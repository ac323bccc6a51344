// What the benchmarks on the demo modem share: a clock whose waits take no time (the demo's
// reads are instant), a stop with a reason, and a channel table with all 16 channels in use so
// that reports run to their longest.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "coordinator/coordinator.h"
#include "params/modem_memory_image.h"
#include "util/clock.h"

namespace vxl::bench {

class InstantClock : public SystemClock {
  public:
    void SleepMs(int) override {}
};

// Median, 99th percentile and longest of a benchmark's times.
struct Spread {
    double medianMs = 0;
    double p99Ms = 0;
    double longestMs = 0;
};

inline Spread SpreadOf(std::vector<double> ms) {
    if (ms.empty()) return {};
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back()};
}

inline double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

[[noreturn]] inline void DieDemo(const char* program, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", program, why.c_str());
    std::exit(1);
}

// Gives channels 1 to 15 the frequencies of channel 0.
inline void FillChannels(CCoordinator& coordinator, const char* program) {
    ModemMemoryImage& image = *coordinator.Settings().Image();
    uint8_t channel0[6];
    if (image.ReadBytes(0x10B, 6, channel0) != 0) DieDemo(program, "cannot read channel 0");
    for (int k = 1; k < 16; ++k)
        for (int i = 0; i < 6; ++i)
            if (coordinator.Settings().WriteByte(0x0B + 6 * k + i, channel0[i]) != 0)
                DieDemo(program, "cannot fill the channels");
}

}  // namespace vxl::bench
