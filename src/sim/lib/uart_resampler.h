// What a UART at one rate makes of bytes sent at another: the sender's bits (start bit, 8 data
// bits LSB first, stop bit, idle high in between) are sampled in the middle of each of the
// receiver's bit times. Equal rates give the bytes back unchanged; different rates give the
// garbage a real line gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vxl::sim {

// One byte as a receiver sees it, with the moment its stop bit ends, in microseconds from the
// start of the burst.
struct TimedByte {
    uint8_t value;
    int64_t atUs;
};

// Time one byte (10 bits) takes on the wire at `baud`, in microseconds.
int64_t ByteTimeUs(int baud);

// Decodes a burst of `length` back-to-back bytes sent at `senderBaud` with a receiver running at
// `receiverBaud`. The line is idle before and after the burst.
std::vector<TimedByte> Resample(const uint8_t* data, size_t length, int senderBaud,
                                int receiverBaud);

}  // namespace vxl::sim
