#include "modem/received_bytes.h"

#include <algorithm>

#include "link/serial_link.h"

namespace vxl {

namespace {
// The port's receive buffer never holds more than this; bytes may still arrive between asking
// for the count and taking them, so the destination always has room for a full buffer.
constexpr int kPortReceiveBuffer = 1000;
}  // namespace

std::vector<uint8_t> TakeAllReceived(ISerialLink* port, int knownCount) {
    int room = std::max(knownCount, 0) + kPortReceiveBuffer;
    std::vector<uint8_t> bytes(static_cast<size_t>(room), 0);
    int length = 0;
    port->TakeReceived(bytes.data(), &length);
    bytes.resize(static_cast<size_t>(std::clamp(length, 0, room)));
    return bytes;
}

}  // namespace vxl
