#include "link/low_latency.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace vxl {

bool RequestLowLatency(int fd) {
    serial_struct settings{};
    if (ioctl(fd, TIOCGSERIAL, &settings) != 0) return false;
    if (settings.flags & ASYNC_LOW_LATENCY) return true;
    settings.flags |= ASYNC_LOW_LATENCY;
    return ioctl(fd, TIOCSSERIAL, &settings) == 0;
}

}  // namespace vxl
