#include "sim/lib/uart_resampler.h"

namespace vxl::sim {

namespace {

constexpr int kBitsPerFrame = 10;

// Time is counted in ticks of 1 / (2 x sender rate x receiver rate) seconds, so both the
// sender's bit edges and the receiver's half-bit sample points fall on whole ticks.
class Waveform {
  public:
    Waveform(const uint8_t* data, size_t length, int receiverBaud)
        : data_(data),
          bits_(static_cast<int64_t>(length) * kBitsPerFrame),
          senderBitTicks_(2LL * receiverBaud) {}

    int64_t bitCount() const { return bits_; }
    int64_t senderBitTicks() const { return senderBitTicks_; }

    // Line level (1 = mark) of sender bit `index`; idle outside the burst.
    int BitLevel(int64_t index) const {
        if (index < 0 || index >= bits_) return 1;
        const int64_t frame = index / kBitsPerFrame;
        const int bit = static_cast<int>(index % kBitsPerFrame);
        if (bit == 0) return 0;
        if (bit == kBitsPerFrame - 1) return 1;
        return (data_[frame] >> (bit - 1)) & 1;
    }
    int LevelAt(int64_t tick) const { return BitLevel(tick / senderBitTicks_); }

  private:
    const uint8_t* data_;
    int64_t bits_;
    int64_t senderBitTicks_;
};

}  // namespace

int64_t ByteTimeUs(int baud) {
    if (baud <= 0) return 0;
    return (kBitsPerFrame * 1000000LL + baud / 2) / baud;
}

std::vector<TimedByte> Resample(const uint8_t* data, size_t length, int senderBaud,
                                int receiverBaud) {
    std::vector<TimedByte> out;
    if (length == 0 || senderBaud <= 0 || receiverBaud <= 0) return out;
    if (senderBaud == receiverBaud) {
        const int64_t byteUs = ByteTimeUs(senderBaud);
        for (size_t i = 0; i < length; ++i)
            out.push_back({data[i], static_cast<int64_t>(i + 1) * byteUs});
        return out;
    }
    const Waveform wave(data, length, receiverBaud);
    const int64_t halfRxBit = senderBaud;  // ticks in half a receiver bit
    const int64_t ticksPerSecond = 2LL * senderBaud * receiverBaud;
    int64_t readyTick = 0;  // the receiver hunts for a start edge from here on
    for (int64_t bit = 0; bit < wave.bitCount(); ++bit) {
        if (!(wave.BitLevel(bit - 1) == 1 && wave.BitLevel(bit) == 0)) continue;
        const int64_t edge = bit * wave.senderBitTicks();
        if (edge < readyTick) continue;
        if (wave.LevelAt(edge + halfRxBit) != 0) {  // a glitch, not a start bit
            readyTick = edge + 1;
            continue;
        }
        int value = 0;
        for (int k = 1; k <= 8; ++k)
            value |= wave.LevelAt(edge + (2 * k + 1) * halfRxBit) << (k - 1);
        const int64_t stopSample = edge + (2 * (kBitsPerFrame - 1) + 1) * halfRxBit;
        const int64_t frameEnd = edge + 2 * kBitsPerFrame * halfRxBit;
        out.push_back({static_cast<uint8_t>(value), frameEnd * 1000000 / ticksPerSecond});
        readyTick = stopSample;
    }
    return out;
}

}  // namespace vxl::sim
