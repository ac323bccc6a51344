#include "params/frequency.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <tuple>

#include "util/format.h"

namespace vxl {
namespace {

using Word = std::array<uint8_t, 3>;

Word Encode(int type, double mhz, bool rx, bool* held = nullptr) {
    Word bytes = {0xAA, 0xAA, 0xAA};
    bool ok = TryEncodeFrequency(type, mhz, bytes.data(), rx);
    if (held) *held = ok;
    return bytes;
}

double Decode(int type, const Word& bytes, bool rx) {
    double mhz = -1.0;
    DecodeFrequency(type, &mhz, bytes.data(), rx);
    return mhz;
}

std::string Hex(const Word& w) {
    return Format("%02X %02X %02X", w[0], w[1], w[2]);
}

TEST(FrequencyCodec, KnownWordsEncodeAndDecodeBothWays) {
    // Type 0 receives 45 MHz below the transmit word; type 2 sets receive control bits; type 1
    // takes the lower B of two divider pairs (428.8) and avoids B = 0 when it would need A = 255
    // (1670.3).
    // clang-format off
    const std::tuple<int, double, bool, Word> cases[] = {
        {4, 455.0, true, {0x02, 0x7C, 0x68}},   {4, 455.0, false, {0x02, 0x38, 0x60}},
        {0, 450.0, false, {0x10, 0x11, 0x97}},  {0, 495.0, true, {0x10, 0x11, 0x97}},
        {2, 160.0, false, {0x19, 0x00, 0x1C}},  {2, 115.0, true, {0x19, 0x00, 0x19}},
        {1, 450.0, false, {0x28, 0x0C, 0x00}},  {1, 397.05, true, {0x28, 0x0C, 0x00}},
        {1, 428.8, false, {0x02, 0x00, 0x00}},  {1, 1670.3, false, {0xFD, 0x82, 0x00}},
        {1, 450.0125, false, {0x28, 0x0C, 0x08}}};
    // clang-format on
    for (auto [type, mhz, rx, bytes] : cases) {
        SCOPED_TRACE(Format("type %d %s %.4f", type, rx ? "RX" : "TX", mhz));
        bool held = false;
        EXPECT_EQ(Hex(Encode(type, mhz, rx, &held)), Hex(bytes));
        EXPECT_TRUE(held);
        EXPECT_NEAR(Decode(type, bytes, rx), mhz, 1e-9);
        Word plain = {0xAA, 0xAA, 0xAA};
        EncodeFrequency(type, mhz, plain.data(), rx);
        EXPECT_EQ(Hex(plain), Hex(bytes));
    }
}

// Every typed frequency, on a step or between steps, reads back as the step at or just below it.
// Frequencies on a step come back exactly, also those without an exact binary form (truncating
// them without care stores the step below).
TEST(FrequencyCodec, RoundTripGivesTheStepAtOrJustBelow) {
    // A frequency as the operator types it: four decimals.
    auto typed = [](double mhz) { return std::strtod(Format("%.4f", mhz).c_str(), nullptr); };
    // Type and the lowest frequency it is tried from, up to 520 MHz.
    for (auto [type, low] : {std::pair{0, 130.0}, {1, 406.0}, {2, 100.0}, {4, 130.0}}) {
        const double step = FrequencyStepMhz(type);
        ASSERT_DOUBLE_EQ(step, 0.0125);
        for (bool rx : {false, true}) {
            for (double f = low; f <= 520.0; f += 0.8371) {
                const double onStep = typed(std::floor(f / step) * step);
                for (double mhz : {typed(f), onStep}) {
                    SCOPED_TRACE(Format("type %d %s %.4f", type, rx ? "RX" : "TX", mhz));
                    bool held = false;
                    double back = Decode(type, Encode(type, mhz, rx, &held), rx);
                    ASSERT_TRUE(held);
                    ASSERT_LE(back, mhz + 1e-9);
                    ASSERT_GT(back, mhz - step);
                    if (mhz == onStep) {
                        ASSERT_EQ(Format("%.4f", back), Format("%.4f", mhz));
                    }
                }
            }
        }
    }
}

TEST(FrequencyCodec, FrequenciesTheWordCannotHoldAreRefused) {
    const double inf = std::numeric_limits<double>::infinity();
    // A type without a word (3), type 1 without a divider pair, or whose word would be all zeros
    // (no frequency), and frequencies below the receiver offset, negative, beyond the field, or not
    // numbers ("": any word).
    // clang-format off
    const std::tuple<int, double, bool, const char*> cases[] = {
        {3, 450.0, false, "00 00 00"}, {1, 150.0, false, "FF 00 08"},   {1, 12.8, false, "00 00 00"},
        {1, 3.0e6, false, ""},
        {0, 10.0, true, "00 00 00"},   {4, -5.0, false, "00 00 00"},     {4, 2000.0, false, "00 00 00"},
        {2, std::nan(""), false, "00 00 00"}, {4, inf, true, "00 00 00"}};
    // clang-format on
    for (auto [type, mhz, rx, bytes] : cases) {
        bool held = true;
        const std::string word = Hex(Encode(type, mhz, rx, &held));
        EXPECT_FALSE(held) << type << " " << mhz;
        EXPECT_EQ(*bytes ? word : "", bytes) << type << " " << mhz;
    }
}

}  // namespace
}  // namespace vxl
