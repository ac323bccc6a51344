#include "params/callsign_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace vxl {
namespace {

std::string Decode(const std::vector<uint8_t>& bytes) {
    return DecodeCallSign(bytes.data(), static_cast<int>(bytes.size()));
}

TEST(CallSignCodec, TextsPackIntoMorseBytes) {
    // clang-format off
    const std::tuple<std::string, int, std::vector<uint8_t>> cases[] = {
        {"KD7XYZ", 10, {0x0D, 0x0C, 0x38, 0x19, 0x1B, 0x1C, 0x00, 0x00, 0x00, 0x00}},
        {" ab1 ", 10, {0x77, 0x77, 0x2F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"A B", 8, {0x05, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"ABCDEFGHIJK", 10, {0x05, 0x18, 0x1A, 0x0C, 0x02, 0x12, 0x0E, 0x10, 0x04, 0x17}},
        {"ABCDEFGHIJK", 8, {0x05, 0x18, 0x1A, 0x0C, 0x02, 0x12, 0x0E, 0x10}},
        {"\"$'()+,-./:;=?_", 15, {0x52, 0x89, 0x5E, 0x36, 0x6D, 0x2A, 0x73, 0x61, 0x55, 0x32, 0x78,
                                  0x6A, 0x31, 0x4C, 0x4D}},
        {"123456789", 9, {0x2F, 0x27, 0x23, 0x21, 0x20, 0x30, 0x38, 0x3C, 0x3E}},
        {"*#<>@\x7F\x01", 7, {0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77}},
        {"\t\r\nE T\n ", 4, {0x02, 0x00, 0x03, 0x00}}, {"5 0 !", 5, {0x20, 0x00, 0x3F, 0x00, 0x01}},
        {"\xC3\xA9", 4, {0x77, 0x77, 0x00, 0x00}},  // bytes above 0x7F have no code
        {"", 8, {0, 0, 0, 0, 0, 0, 0, 0}}, {"KD7XYZ", 0, {}}, {"KD7XYZ", -3, {}},
    };
    // clang-format on
    for (const auto& [text, length, bytes] : cases)
        EXPECT_EQ(EncodeCallSign(text, length), bytes) << "'" << text << "' in " << length;
}

// The character shown for a code without one is BEL (0x07), written \a below.
TEST(CallSignCodec, BytesUnpackIntoText) {
    // The blank of "A B" does not come back.
    // clang-format off
    const std::pair<std::vector<uint8_t>, std::string> cases[] = {
        {{0x05, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00}, "AB"}, {{0x89}, "$"},
        {{0x00, 0x89, 0x00, 0x01}, "$!"}, {{0x00, 0x00, 0x00, 0x00}, ""}, {{}, ""},
        {{0x13, 0x15}, "\a\a"}, {{0x80, 0xFF, 0x88, 0x8A, 0x7F, 0x1E}, "\a\a\a\a\a\a"}};
    // clang-format on
    for (const auto& [bytes, text] : cases) EXPECT_EQ(Decode(bytes), text);
    const uint8_t one = 0x05;
    EXPECT_EQ(DecodeCallSign(nullptr, 10) + DecodeCallSign(&one, 0) + DecodeCallSign(&one, -1), "");
}

// White space is trimmed away before packing.
TEST(CallSignCodec, EveryCharacterWithACodeComesBackAndOthersShowTheUnknownCharacter) {
    for (int code = 0; code < 256; ++code) {
        const std::string text(1, static_cast<char>(code));
        const std::vector<uint8_t> packed = EncodeCallSign(text, 1);
        ASSERT_EQ(packed.size(), 1u);
        const bool blank = std::string(" \t\r\n").find(text) != std::string::npos;
        const bool unknown = packed[0] == kCallSignNoCharacter;
        EXPECT_EQ(Decode(packed), blank     ? ""
                                  : unknown ? std::string(1, kCallSignUnknownCharacter)
                                            : text)
            << "character " << code;
        EXPECT_EQ(packed[0] == 0, blank) << "character " << code;
        EXPECT_EQ(IsCallSignCharacter(text[0]), !blank && !unknown) << "character " << code;
    }
}

}  // namespace
}  // namespace vxl
