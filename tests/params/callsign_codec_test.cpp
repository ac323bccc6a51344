#include "params/callsign_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vxl {
namespace {

std::string Decode(const std::vector<uint8_t>& bytes) {
    return DecodeCallSign(bytes.data(), static_cast<int>(bytes.size()));
}

TEST(CallSignCodec, TextsPackIntoMorseBytes) {
    struct Case {
        std::string text;
        int length;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"KD7XYZ", 10, {0x0D, 0x0C, 0x38, 0x19, 0x1B, 0x1C, 0x00, 0x00, 0x00, 0x00}},
        {" ab1 ", 10, {0x77, 0x77, 0x2F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"A B", 8, {0x05, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"ABCDEFGHIJK", 10, {0x05, 0x18, 0x1A, 0x0C, 0x02, 0x12, 0x0E, 0x10, 0x04, 0x17}},
        {"ABCDEFGHIJK", 8, {0x05, 0x18, 0x1A, 0x0C, 0x02, 0x12, 0x0E, 0x10}},
        {"\t\r\nE T\n ", 4, {0x02, 0x00, 0x03, 0x00}},
        {"5 0 !", 5, {0x20, 0x00, 0x3F, 0x00, 0x01}},
        {"\"$'()+,-./:;=?_",
         15,
         {0x52, 0x89, 0x5E, 0x36, 0x6D, 0x2A, 0x73, 0x61, 0x55, 0x32, 0x78, 0x6A, 0x31, 0x4C,
          0x4D}},
        {"LMNOPQRSTUVW",
         12,
         {0x14, 0x07, 0x06, 0x0F, 0x16, 0x1D, 0x0A, 0x08, 0x03, 0x09, 0x11, 0x0B}},
        {"123456789", 9, {0x2F, 0x27, 0x23, 0x21, 0x20, 0x30, 0x38, 0x3C, 0x3E}},
        {"*#<>@\x7F\x01", 7, {0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77}},
        {"\xC3\xA9", 4, {0x77, 0x77, 0x00, 0x00}},  // bytes above 0x7F have no code
        {"", 8, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"KD7XYZ", 0, {}},
        {"KD7XYZ", -3, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeCallSign(c.text, c.length), c.bytes)
            << "'" << c.text << "' in " << c.length;
    }
}

// The character shown for a code without one is BEL (0x07), written \a below.
TEST(CallSignCodec, BytesUnpackIntoText) {
    struct Case {
        std::vector<uint8_t> bytes;
        std::string text;
    };
    const Case cases[] = {
        {{0x0D, 0x0C, 0x38, 0x19, 0x1B, 0x1C, 0x00, 0x00, 0x00, 0x00}, "KD7XYZ"},
        {{0x77, 0x77, 0x2F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, "\a\a1"},
        {{0x05, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00}, "AB"},  // the blank does not come back
        {{0x89}, "$"},
        {{0x00, 0x89, 0x00, 0x01}, "$!"},
        {{0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F},
         "ETIANMSURWDKGO"},
        {{0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D},
         "HVF\aL\aPJBXCYZQ"},
        {{0x80, 0xFF, 0x88, 0x8A, 0x7F, 0x1E}, "\a\a\a\a\a\a"},
        {{0x00, 0x00, 0x00, 0x00}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Decode(c.bytes), c.text);
}

TEST(CallSignCodec, EveryCharacterWithACodeComesBackAndOthersShowTheUnknownCharacter) {
    for (int code = 0; code < 256; ++code) {
        const char character = static_cast<char>(code);
        if (character == ' ') continue;
        std::vector<uint8_t> packed = EncodeCallSign(std::string(1, character), 1);
        ASSERT_EQ(packed.size(), 1u);
        // White space is trimmed away before packing.
        if (std::string("\t\r\n").find(character) != std::string::npos) {
            EXPECT_EQ(packed[0], 0);
            continue;
        }
        const std::string expected = packed[0] == kCallSignNoCharacter
                                         ? std::string(1, kCallSignUnknownCharacter)
                                         : std::string(1, character);
        EXPECT_EQ(Decode(packed), expected) << "character " << code;
    }
}

TEST(CallSignCodec, LongCallSignsKeepTheirFirstCharacters) {
    const std::string eleven = "W1AW/PORT12";
    EXPECT_EQ(Decode(EncodeCallSign(eleven, 10)), "W1AW/PORT1");
    EXPECT_EQ(Decode(EncodeCallSign(eleven, 8)), "W1AW/POR");
    EXPECT_EQ(Decode(EncodeCallSign("  " + eleven, 8)), "W1AW/POR");
}

TEST(CallSignCodec, NoBytesReadAsEmptyText) {
    EXPECT_EQ(DecodeCallSign(nullptr, 10), "");
    const uint8_t one = 0x05;
    EXPECT_EQ(DecodeCallSign(&one, 0), "");
    EXPECT_EQ(DecodeCallSign(&one, -1), "");
}

}  // namespace
}  // namespace vxl
