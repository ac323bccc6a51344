// What a text field of the modem holds: which characters, in which case, how many. The rule
// exists once, here: the text parameters refuse what breaks it, the window's fields hold typed
// and pasted text to it, a profile's entries and a byte typed into the memory map are checked
// against it. Texts are UTF-8.
#pragma once

#include <string>

namespace vxl {

enum class TextCharacters {
    Printable,  // the printable characters of Latin-1, one byte each (the owner)
    CallSign,   // characters with a Morse code, in upper case (the call sign)
};

struct TextRule {
    TextCharacters characters = TextCharacters::Printable;
    int maxLength = 0;          // characters
    const char* name = "text";  // how a message names the field
};

// The owner: 32 printable characters.
TextRule OwnerTextRule();
// The call sign: `length` characters with a Morse code.
TextRule CallSignTextRule(int length);
// The rule of text parameter `id` (Owner, CallSign at its longest) for a field that is built
// before a modem is known; the printable rule of no length for any other id.
TextRule TextRuleOf(int id);

// Holds `text` as it stands to the rule: true when the field takes it, with `text` in the
// field's case (a call sign upper-cased); false when a character is not one of the field's or
// the text is too long, with the reason in `why` (when given) and `text` unchanged.
bool FitsTextRule(const TextRule& rule, std::string& text, std::string* why = nullptr);

// A whole text handed in (an edit, a profile's value): blanks and tabs at both ends are removed,
// a call sign is upper-cased and loses its blanks (the modem keys them as pauses that no page
// shows), then FitsTextRule. `text` receives the text as the field will show it.
bool NormaliseText(const TextRule& rule, std::string& text, std::string* why = nullptr);

// What the rule's characters are, for a message: "takes printable characters only", ...
std::string TextRuleCharacters(const TextRule& rule);

}  // namespace vxl
