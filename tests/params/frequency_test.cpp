#include "params/frequency.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

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

// A frequency as the operator types it: four decimals.
double Typed(double mhz) {
    return std::strtod(Format("%.4f", mhz).c_str(), nullptr);
}

struct WordCase {
    int type;
    double mhz;
    bool rx;
    Word bytes;
};

TEST(FrequencyCodec, KnownWordsEncodeAndDecodeBothWays) {
    const WordCase cases[] = {
        {4, 455.0, true, {0x02, 0x7C, 0x68}},
        {4, 455.0, false, {0x02, 0x38, 0x60}},
        {0, 450.0, false, {0x10, 0x11, 0x97}},
        {0, 495.0, true, {0x10, 0x11, 0x97}},  // 45 MHz below the TX word
        {2, 160.0, false, {0x19, 0x00, 0x1C}},
        {2, 115.0, true, {0x19, 0x00, 0x19}},  // receive control bits
        {1, 450.0, false, {0x28, 0x0C, 0x00}},
        {1, 397.05, true, {0x28, 0x0C, 0x00}},
        {1, 428.8, false, {0x02, 0x00, 0x00}},   // two pairs: the lower B wins
        {1, 1670.3, false, {0xFD, 0x82, 0x00}},  // B = 0 would need A = 255
        {1, 450.0125, false, {0x28, 0x0C, 0x08}},
    };
    for (const WordCase& c : cases) {
        SCOPED_TRACE(Format("type %d %s %.4f", c.type, c.rx ? "RX" : "TX", c.mhz));
        bool held = false;
        EXPECT_EQ(Hex(Encode(c.type, c.mhz, c.rx, &held)), Hex(c.bytes));
        EXPECT_TRUE(held);
        EXPECT_NEAR(Decode(c.type, c.bytes, c.rx), c.mhz, 1e-9);
        Word plain = {0xAA, 0xAA, 0xAA};
        EncodeFrequency(c.type, c.mhz, plain.data(), c.rx);
        EXPECT_EQ(Hex(plain), Hex(c.bytes));
    }
}

TEST(FrequencyCodec, ZeroIsAChannelWithoutFrequencyForEveryType) {
    for (int type = -1; type <= 6; ++type) {
        for (bool rx : {false, true}) {
            SCOPED_TRACE(Format("type %d rx %d", type, rx));
            bool held = false;
            EXPECT_EQ(Hex(Encode(type, 0.0, rx, &held)), "00 00 00");
            EXPECT_TRUE(held);
            EXPECT_EQ(Decode(type, {0, 0, 0}, rx), 0.0);
        }
    }
}

TEST(FrequencyCodec, TypesWithoutWordStoreNothingAndReadZero) {
    for (int type : {3, 5, -1}) {
        for (bool rx : {false, true}) {
            SCOPED_TRACE(Format("type %d rx %d", type, rx));
            bool held = true;
            EXPECT_EQ(Hex(Encode(type, 450.0, rx, &held)), "00 00 00");
            EXPECT_FALSE(held);
            EXPECT_EQ(Decode(type, {0x10, 0x11, 0x97}, rx), 0.0);
            EXPECT_EQ(FrequencyStepMhz(type), 0.0);
        }
    }
}

struct Span {
    int type;
    double low, high;
};

// Every typed frequency, on a step or between steps, reads back as the step at or just below it.
TEST(FrequencyCodec, RoundTripStaysWithinOneStepBelow) {
    const Span spans[] = {
        {0, 130.0, 520.0}, {1, 406.0, 520.0}, {2, 100.0, 520.0}, {4, 130.0, 520.0}};
    for (const Span& s : spans) {
        const double step = FrequencyStepMhz(s.type);
        ASSERT_DOUBLE_EQ(step, 0.0125);
        for (bool rx : {false, true}) {
            for (double f = s.low; f <= s.high; f += 0.8371) {
                for (double mhz : {Typed(f), Typed(std::floor(f / step) * step)}) {
                    SCOPED_TRACE(Format("type %d %s %.4f", s.type, rx ? "RX" : "TX", mhz));
                    bool held = false;
                    double back = Decode(s.type, Encode(s.type, mhz, rx, &held), rx);
                    ASSERT_TRUE(held);
                    ASSERT_LE(back, mhz + 1e-9);
                    ASSERT_GT(back, mhz - step);
                }
            }
        }
    }
}

// These sit exactly on a step but have no exact binary form; truncating them without care stores
// the step below.
TEST(FrequencyCodec, FrequenciesOnAStepComeBackExactly) {
    const WordCase cases[] = {{1, 457.275, true, {}},   {1, 406.025, true, {}},
                              {1, 519.9875, false, {}}, {4, 355.15, true, {}},
                              {0, 419.85, true, {}},    {2, 469.85, false, {}}};
    for (const WordCase& c : cases) {
        SCOPED_TRACE(Format("type %d %.4f", c.type, c.mhz));
        EXPECT_EQ(Format("%.4f", Decode(c.type, Encode(c.type, c.mhz, c.rx), c.rx)),
                  Format("%.4f", c.mhz));
    }
}

TEST(FrequencyCodec, Type1WithoutDividerPairGetsTheNoPairWord) {
    const WordCase cases[] = {
        {1, 150.0, false, {0xFF, 0x00, 0x08}},
        {1, 150.025, false, {0xFF, 0x00, 0x0C}},
        {1, 5.0, false, {0xFF, 0x00, 0x08}},
    };
    for (const WordCase& c : cases) {
        SCOPED_TRACE(Format("%.4f", c.mhz));
        bool held = true;
        EXPECT_EQ(Hex(Encode(c.type, c.mhz, c.rx, &held)), Hex(c.bytes));
        EXPECT_FALSE(held);
    }
}

TEST(FrequencyCodec, FrequenciesTheWordCannotHoldAreRefusedAndLeaveZeros) {
    const double inf = std::numeric_limits<double>::infinity();
    const WordCase cases[] = {
        {0, 10.0, true, {}},     // below the receiver offset
        {4, -5.0, false, {}},    // negative
        {4, 2000.0, false, {}},  // beyond the integer field
        {0, 3300.0, false, {}},  // beyond the integer field
        {2, 900.0, false, {}},   // beyond the integer field
        {1, 3.0e6, false, {}},   // beyond every divider pair
        {2, std::nan(""), false, {}}, {4, inf, true, {}}, {0, -inf, false, {}},
    };
    for (const WordCase& c : cases) {
        SCOPED_TRACE(Format("type %d %f", c.type, c.mhz));
        bool held = true;
        Word bytes = Encode(c.type, c.mhz, c.rx, &held);
        EXPECT_FALSE(held);
        if (c.type != 1) {
            EXPECT_EQ(Hex(bytes), "00 00 00");
        }
    }
}

TEST(FrequencyCodec, Type1WordOfZerosIsNotAFrequency) {
    bool held = true;
    EXPECT_EQ(Hex(Encode(1, 12.8, false, &held)), "00 00 00");
    EXPECT_FALSE(held);
}

TEST(FrequencyCodec, MissingArgumentsDoNotCrash) {
    EXPECT_FALSE(TryEncodeFrequency(4, 450.0, nullptr, false));
    EncodeFrequency(4, 450.0, nullptr, false);
    DecodeFrequency(4, nullptr, Word{1, 2, 3}.data(), false);
    double mhz = 7.0;
    DecodeFrequency(4, &mhz, nullptr, false);
    EXPECT_EQ(mhz, 0.0);
}

}  // namespace
}  // namespace vxl
