// USB serial adapters (FTDI chips above all) hold received bytes for up to 16 ms before they
// pass them on; their drivers shorten that to about 1 ms when asked for low latency.
#pragma once

namespace vxl {

// Asks the driver of the open terminal `fd` for low latency. Drivers without the request (a
// pseudo-terminal, most on-board UARTs) refuse it; that is not an error. True when the driver
// took it.
bool RequestLowLatency(int fd);

}  // namespace vxl
