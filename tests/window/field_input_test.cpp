// What each kind of page field takes, typed or pasted alike: characters, case and length. A text
// field takes what its parameter's text rule takes (tests/params/text_fields_test); here only
// that the call sign's field binds that rule, with its case and the field's length.
#include <gtest/gtest.h>

#include "window/field_input.h"

namespace vxl {
namespace {

TEST(FieldInput, EachKindTakesItsCharactersCaseAndLength) {
    const struct {
        const char* name;
        FieldInputRule rule;
        const char* text;
        const char* taken;  // nullptr: refused
    } cases[] = {
        // clang-format off
        {"integer up to 255: three digits", IntegerInput(255, false), "255", "255"},
        {"integer up to 255: not four", IntegerInput(255, false), "1000", nullptr},
        {"integer: no letters or minus", IntegerInput(255, false), "1a", nullptr},
        {"integer: its own extra characters", IntegerInput(9999, false, "-"), "-12", "-12"},
        {"integer: empty while typing", IntegerInput(255, false), "", ""},
        {"hexadecimal up to 0xFFFF: either case", IntegerInput(0xFFFF, true), "aB0f", "aB0f"},
        {"hexadecimal: not five digits", IntegerInput(0xFFFF, true), "10000", nullptr},
        {"hexadecimal: no g", IntegerInput(0xFFFF, true), "1g", nullptr},
        {"decimal: two decimals", DecimalInput(2), "12.34", "12.34"},
        {"decimal: not three", DecimalInput(2), "12.345", nullptr},
        {"decimal: one point only", DecimalInput(2), "1.2.3", nullptr},
        {"decimal: a point alone while typing", DecimalInput(4), ".", "."},
        {"call sign: upper-cased", CallSignInput(10), "w1aw/p", "W1AW/P"},
        {"call sign: its length", CallSignInput(6), "abcdefg", nullptr},
        {"serial number: eight digits", SerialNumberInput(), "01427259", "01427259"},
        {"serial number: digits only", SerialNumberInput(), "0142A259", nullptr},
        // clang-format on
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(TakeFieldInput(c.rule, text), c.taken != nullptr) << c.name;
        EXPECT_EQ(text, c.taken != nullptr ? c.taken : c.text) << c.name;
    }
}

}  // namespace
}  // namespace vxl
