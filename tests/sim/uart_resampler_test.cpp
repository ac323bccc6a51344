#include "sim/lib/uart_resampler.h"

#include <gtest/gtest.h>

#include <vector>

namespace vxl::sim {
namespace {

std::vector<uint8_t> Values(const std::vector<TimedByte>& bytes) {
    std::vector<uint8_t> values;
    for (const TimedByte& b : bytes) values.push_back(b.value);
    return values;
}

const int kRates[] = {1200, 2400, 4800, 9600, 19200, 38400};

TEST(UartResampler, EqualRatesDeliverEveryByteOneWireTimeApart) {
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[i] = static_cast<uint8_t>(i);
    for (int rate : kRates) {
        const auto out = Resample(all.data(), all.size(), rate, rate);
        EXPECT_EQ(Values(out), all) << rate;
        EXPECT_EQ(out.back().atUs, 256 * ByteTimeUs(rate)) << rate;
    }
    EXPECT_EQ(ByteTimeUs(9600), 1042);
    EXPECT_EQ(ByteTimeUs(1200), 8333);
}

// That a rate mismatch garbles the escape and the replies shows in the escape and baud-rate
// tests of the modem (modem_modes_test, modem_commands_test).
TEST(UartResampler, WorkedExamples) {
    // A zero byte at 9600 is a 9-bit low pulse: a receiver at twice the rate reads 0x00 (with a
    // framing error) and nothing after it.
    const uint8_t zero = 0x00;
    EXPECT_EQ(Values(Resample(&zero, 1, 9600, 19200)), std::vector<uint8_t>{0x00});
    // 0xFF at twice the receiver's rate is a half-bit pulse: a glitch, not a start bit.
    const uint8_t ones[] = {0xFF, 0xFF};
    EXPECT_TRUE(Resample(ones, 2, 19200, 9600).empty());
    // A receiver at half the rate samples every second bit: the 9 low bits of 0x00 at 19200
    // cover only its start bit and three data bits, the rest reads high: 0xF8.
    EXPECT_EQ(Values(Resample(&zero, 1, 19200, 9600)), std::vector<uint8_t>{0xF8});
    const uint8_t low = 0xF0;
    EXPECT_TRUE(Resample(&low, 0, 9600, 9600).empty());
    EXPECT_TRUE(Resample(&low, 1, 0, 9600).empty());
}

}  // namespace
}  // namespace vxl::sim
