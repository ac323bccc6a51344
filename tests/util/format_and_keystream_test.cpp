#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/format.h"
#include "util/keystream.h"

namespace vxl {
namespace {

TEST(Format, PrintfFormatsOfTheSystem) {
    EXPECT_EQ(Format("%*.*d", 8, 8, 1234), "00001234");
    EXPECT_EQ(Format("%.3d-%d", 7, 3), "007-3");
    EXPECT_EQ(Format("0x%.2x", 0xc8), "0xc8");
    EXPECT_EQ(Format("%3.2f", 2.2), "2.20");
    EXPECT_EQ(Format("%s", ""), "");
}

TEST(Keystream, ScramblingTwiceGivesTheBytesBackAndNoByteIsLeftAlone) {
    std::vector<uint8_t> original(5000);
    for (size_t i = 0; i < original.size(); ++i) original[i] = static_cast<uint8_t>(i * 7);
    std::vector<uint8_t> data = original;
    ApplyKeystream(data.data(), data.size());
    for (size_t i = 0; i < data.size(); ++i) ASSERT_NE(data[i], original[i]) << i;
    ApplyKeystream(data.data(), data.size());
    EXPECT_EQ(data, original);
}

TEST(Keystream, FirstBytesFollowTheGenerator) {
    // state = seed * 22695477 + 1; r = (state >> 16) & 0x7FFF; key = r % 255 + 1
    uint32_t state = kKeystreamSeed;
    uint8_t expected[3];
    for (uint8_t& k : expected) {
        state = state * 22695477u + 1u;
        k = static_cast<uint8_t>(((state >> 16) & 0x7FFFu) % 255u + 1u);
    }
    uint8_t zeros[3] = {0, 0, 0};
    ApplyKeystream(zeros, 3);
    EXPECT_EQ(zeros[0], expected[0]);
    EXPECT_EQ(zeros[1], expected[1]);
    EXPECT_EQ(zeros[2], expected[2]);
}

}  // namespace
}  // namespace vxl
