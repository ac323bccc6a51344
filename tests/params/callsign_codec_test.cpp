#include "params/callsign_codec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace vxl {
namespace {

std::vector<uint8_t> HexBytes(const std::string& text) {
    std::istringstream in(text);
    std::vector<uint8_t> bytes;
    std::string item;
    while (in >> item)
        bytes.push_back(static_cast<uint8_t>(std::strtoul(item.c_str(), nullptr, 16)));
    return bytes;
}

std::string Decode(const std::vector<uint8_t>& bytes) {
    return DecodeCallSign(bytes.data(), static_cast<int>(bytes.size()));
}

TEST(CallSignCodec, TextsPackIntoMorseBytes) {
    struct Case {
        std::string text;
        int length;
        std::string bytes;
    };
    const Case cases[] = {
        {"KD7XYZ", 10, "0D 0C 38 19 1B 1C 00 00 00 00"},
        {" ab1 ", 10, "77 77 2F 00 00 00 00 00 00 00"},
        {"A B", 8, "05 00 18 00 00 00 00 00"},
        {"ABCDEFGHIJK", 10, "05 18 1A 0C 02 12 0E 10 04 17"},
        {"ABCDEFGHIJK", 8, "05 18 1A 0C 02 12 0E 10"},
        {"\t\r\nE T\n ", 4, "02 00 03 00"},
        {"5 0 !", 5, "20 00 3F 00 01"},
        {"\"$'()+,-./:;=?_", 15, "52 89 5E 36 6D 2A 73 61 55 32 78 6A 31 4C 4D"},
        {"LMNOPQRSTUVW", 12, "14 07 06 0F 16 1D 0A 08 03 09 11 0B"},
        {"123456789", 9, "2F 27 23 21 20 30 38 3C 3E"},
        {"*#<>@\x7F\x01", 7, "77 77 77 77 77 77 77"},
        {"\xC3\xA9", 4, "77 77 00 00"},  // bytes above 0x7F have no code
        {"", 8, "00 00 00 00 00 00 00 00"},
        {"KD7XYZ", 0, ""},
        {"KD7XYZ", -3, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeCallSign(c.text, c.length), HexBytes(c.bytes))
            << "'" << c.text << "' in " << c.length;
    }
}

TEST(CallSignCodec, BytesUnpackIntoText) {
    struct Case {
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"0D 0C 38 19 1B 1C 00 00 00 00", "KD7XYZ"},
        {"77 77 2F 00 00 00 00 00 00 00",
         "\x07\x07"
         "1"},
        {"05 00 18 00 00 00 00 00", "AB"},  // the blank does not come back
        {"89", "$"},
        {"00 89 00 01", "$!"},
        {"02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F", "ETIANMSURWDKGO"},
        {"10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D", "HVF\x07L\x07PJBXCYZQ"},
        {"80 FF 88 8A 7F 1E", "\x07\x07\x07\x07\x07\x07"},
        {"00 00 00 00", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Decode(HexBytes(c.bytes)), c.text) << c.bytes;
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
