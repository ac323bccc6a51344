// The call sign as the modem keys it: one byte per character holding the character's Morse code
// (dot 0, dash 1, first element in the highest used bit) behind a single 1 marker bit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vxl {

// The byte stored for a character that has no Morse code (lower-case letters included).
constexpr uint8_t kCallSignNoCharacter = 0x77;
// What a stored byte that has no character reads as: U+FFFD, never a control character.
constexpr const char* kCallSignUnknownText = "\xEF\xBF\xBD";

// True for a character the modem can key: one with a Morse code (a blank, a pause, is not one).
bool IsCallSignCharacter(char c);
// True for a byte the field can hold: a character's code, or 0x00 (a pause, or no character).
bool IsCallSignCode(uint8_t code);

// Trims white space at both ends, keeps the first `length` characters and packs them; the result
// always has `length` bytes (zero padded; empty for a length below 1). A blank becomes 0x00.
std::vector<uint8_t> EncodeCallSign(const std::string& text, int length);
// Unpacks `length` bytes; 0x00 bytes are skipped, 0x89 is '$', codes without a character give
// kCallSignUnknownText.
std::string DecodeCallSign(const uint8_t* bytes, int length);

}  // namespace vxl
