// The modem's text fields: every character the call sign's Morse codes hold, and what the owner
// and the call sign take (their characters, case and length), checked alike for a whole text handed
// in, a field's text as it is typed and a byte typed into the memory map.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modem_under_test.h"
#include "params/callsign_codec.h"
#include "params/text_rules.h"

namespace vxl {
namespace {

const std::string kUnknown = "\xEF\xBF\xBD";  // what a byte without a character reads as

// Every character with a code comes back as itself and is one the field takes; any other
// comes back as U+FFFD, never as a control character.
TEST(CallSignCodec, EveryCharacterWithACodeComesBack) {
    for (int code = 1; code < 256; ++code) {
        const std::string text(1, static_cast<char>(code));
        const std::vector<uint8_t> packed = EncodeCallSign("A" + text, 2);
        const bool blank = std::string(" \t\r\n").find(text) != std::string::npos;
        const bool known = packed[1] != kCallSignNoCharacter && !blank;
        EXPECT_EQ(DecodeCallSign(packed.data(), 2), "A" + (known   ? text
                                                           : blank ? std::string()
                                                                   : kUnknown))
            << code;
        EXPECT_EQ(IsCallSignCharacter(text[0]), known) << code;
        EXPECT_EQ(IsCallSignCode(packed[1]), known || blank) << code;
    }
}

// A text handed in whole is trimmed, a call sign upper-cased without blanks; a text that breaks
// the rule is refused with the character or the length that breaks it. As it is typed, a
// field's text is only put in its case.
TEST(TextRules, WhatTheOwnerAndTheCallSignTake) {
    const TextRule owner = OwnerTextRule(), call = CallSignTextRule(6);
    const std::string full = std::string(16, 'x') + std::string(16, 'y');
    const struct {
        const TextRule& rule;
        std::string text;
        const char* whole;  // NormaliseText's text, or nullptr when it refuses
        const char* typed;  // FitsTextRule's, or nullptr when it refuses
        const char* why;    // the start of the first refusal's reason
    } cases[] = {
        // clang-format off
        {call, " ab c ", "ABC", nullptr, "character 1 (a blank) cannot be stored: the call sign takes only the letters A to Z"},
        {call, "w1aw/p", "W1AW/P", "W1AW/P", ""},
        {call, "wx7-ab#", nullptr, nullptr, "character 7 ('#') cannot be stored"},
        {call, "\x01\x02", nullptr, nullptr, "character 1 (U+0001) cannot be stored"},
        {call, "\xC3\xA9", nullptr, nullptr, "character 1 (U+00E9) cannot be stored"},
        {call, "abcdefg", nullptr, nullptr, "the call sign takes at most 6 characters, not 7"},
        {owner, "  Site #9 = north  ", "Site #9 = north", "  Site #9 = north  ", ""},
        {owner, "M\xC3\xBCller & S\xC3\xB6hne", "M\xC3\xBCller & S\xC3\xB6hne", "M\xC3\xBCller & S\xC3\xB6hne", ""},
        {owner, "Quarry \x1B[7m", nullptr, nullptr, "character 8 (U+001B) cannot be stored: the owner takes only printable characters"},
        {owner, "\xC2\x85 \xE2\x82\xAC", nullptr, nullptr, "character 1 (U+0085)"},
        {owner, "Gr\xFC\xDF", nullptr, nullptr, "character 3 (the byte 0xFC, not UTF-8)"},
        {owner, full, full.c_str(), full.c_str(), ""},
        {owner, full + "z", nullptr, nullptr, "the owner takes at most 32 characters, not 33"},
        // clang-format on
    };
    for (const auto& c : cases) {
        std::string whole = c.text, typed = c.text, why;
        EXPECT_EQ(NormaliseText(c.rule, whole, &why), c.whole != nullptr) << c.text;
        EXPECT_EQ(whole, c.whole ? c.whole : c.text) << c.text;
        EXPECT_EQ(FitsTextRule(c.rule, typed, c.whole ? &why : nullptr), c.typed != nullptr);
        EXPECT_EQ(typed, c.typed ? c.typed : c.text) << c.text;
        EXPECT_EQ(why.rfind(c.why, 0), 0u) << why;
    }
}

// A byte typed into a text field's bytes must be one the field holds: the owner's printable
// characters or 0, a call sign's codes or 0; outside the fields, and where the modem has no call
// sign, any byte goes.
TEST(TextRules, BytesATextFieldCannotHoldAreRefused) {
    using test::ModemUnderTest;
    ModemUnderTest vxl(4, 2.2, {{0x10A, test::Type4ModelByte(5, 2)}});
    ModemUnderTest rover(4, 2.2, {{0x10A, test::Type4ModelByte(1, 2)}});
    const struct {
        ModemUnderTest& m;
        int address;
        uint8_t byte;
        const char* why;  // "" when it may be written
    } cases[] = {
        // clang-format off
        {vxl, 0x16B, 'A', ""}, {vxl, 0x18A, 0xE9, ""}, {vxl, 0x170, 0, ""},
        {vxl, 0x16B, 0x01, "0x01 cannot be stored at 0x016B: that byte belongs to the owner, which takes only printable characters"},
        {vxl, 0x175, 0x9B, "0x9B cannot be stored"},
        {vxl, 0x1B7, 0x05, ""}, {vxl, 0x1C0, 0x89, ""}, {vxl, 0x1B8, 0x00, ""},
        {vxl, 0x1C0, 0x77, "0x77 cannot be stored at 0x01C0: that byte belongs to the call sign, which takes only the letters"},
        {vxl, 0x18B, 0x01, ""}, {vxl, 0x1C1, 0x77, ""}, {rover, 0x1B7, 0x77, ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        const std::string why = c.m.set->WhyByteRefused(c.address, c.byte);
        EXPECT_EQ(why.rfind(c.why, 0), 0u) << std::hex << c.address << " " << int(c.byte);
        EXPECT_EQ(why.empty(), *c.why == '\0') << why;
    }
}

}  // namespace
}  // namespace vxl
