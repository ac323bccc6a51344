#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/keystream.h"

namespace vxl {
namespace {

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
    EXPECT_EQ(std::vector<uint8_t>(zeros, zeros + 3), std::vector<uint8_t>(expected, expected + 3));
}

}  // namespace
}  // namespace vxl
