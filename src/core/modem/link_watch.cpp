#include "modem/link_watch.h"

#include <algorithm>

#include "link/serial_link.h"
#include "util/clock.h"
#include "util/interrupt.h"
#include "util/result_codes.h"

namespace vxl {

namespace {
constexpr int kWatchStepMs = 50;
}  // namespace

int StopReason(const ISerialLink* port) {
    if (PendingInterrupt() != 0) return rc::kInterrupted;
    return port ? port->LostError() : 0;
}

int SleepWatching(const ISerialLink* port, int ms) {
    Clock& clock = GetClock();
    while (ms > 0) {
        if (int stop = StopReason(port)) return stop;
        const int step = std::min(ms, kWatchStepMs);
        clock.SleepMs(step);
        ms -= step;
    }
    return StopReason(port);
}

bool IsStopCode(int code) {
    return code > 0 && code < 50;
}

}  // namespace vxl
