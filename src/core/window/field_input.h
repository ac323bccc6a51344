// What a page field takes, whether the text is typed, pasted, dropped or put in by an input
// method: its characters, their case and its length. The window's fields hold every change of
// their text to these rules, as do the grid's cell editors.
#pragma once

#include <string>

#include "params/text_rules.h"

namespace vxl {

enum class FieldInputKind {
    Integer,      // decimal digits and the field's own extra characters
    Hexadecimal,  // hexadecimal digits of either case
    Decimal,      // digits with at most one point and the field's number of decimals after it
    Text,         // what the text parameter's rule takes (params/text_rules.h)
    SerialNumber  // decimal digits
};

struct FieldInputRule {
    FieldInputKind kind = FieldInputKind::Integer;
    int maxLength = 0;  // characters; 0 for no limit
    int decimals = 0;   // Decimal: digits after the point
    std::string extra;  // Integer: characters taken besides the digits
    TextRule text;      // Text: the parameter's rule, its length included
};

// The rule of an integer field with `maximum` and `extra`: as many characters as the maximum has
// digits in the field's base.
FieldInputRule IntegerInput(int maximum, bool hexadecimal, const std::string& extra = "");
FieldInputRule DecimalInput(int decimals);
// A text parameter's field: the rule the parameter itself applies.
FieldInputRule TextInput(const TextRule& rule);
FieldInputRule CallSignInput(int maxLength);
FieldInputRule SerialNumberInput();

// Holds the text a change would leave in the field to the rule: true when the field takes it,
// with `text` in the field's case (a call sign upper-cased); false when it refuses it, and the
// field keeps what it had. Lengths count characters.
bool TakeFieldInput(const FieldInputRule& rule, std::string& text);

}  // namespace vxl
