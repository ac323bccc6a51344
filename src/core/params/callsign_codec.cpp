#include "params/callsign_codec.h"

#include <array>

#include "util/format.h"

namespace vxl {
namespace {

// International Morse; '!' has no elements, so it keeps only the marker bit.
struct MorseCode {
    char character;
    const char* elements;
};

const MorseCode kMorseCodes[] = {
    {'A', ".-"},     {'B', "-..."},   {'C', "-.-."},    {'D', "-.."},     {'E', "."},
    {'F', "..-."},   {'G', "--."},    {'H', "...."},    {'I', ".."},      {'J', ".---"},
    {'K', "-.-"},    {'L', ".-.."},   {'M', "--"},      {'N', "-."},      {'O', "---"},
    {'P', ".--."},   {'Q', "--.-"},   {'R', ".-."},     {'S', "..."},     {'T', "-"},
    {'U', "..-"},    {'V', "...-"},   {'W', ".--"},     {'X', "-..-"},    {'Y', "-.--"},
    {'Z', "--.."},   {'0', "-----"},  {'1', ".----"},   {'2', "..---"},   {'3', "...--"},
    {'4', "....-"},  {'5', "....."},  {'6', "-...."},   {'7', "--..."},   {'8', "---.."},
    {'9', "----."},  {'"', ".-..-."}, {'$', "...-..-"}, {'\'', ".----."}, {'(', "-.--."},
    {')', "-.--.-"}, {'+', ".-.-."},  {',', "--..--"},  {'-', "-....-"},  {'.', ".-.-.-"},
    {'/', "-..-."},  {':', "---..."}, {';', "-.-.-."},  {'=', "-...-"},   {'?', "..--.."},
    {'_', "..--.-"}, {'!', ""},
};

// The modem keys a blank as a pause: an empty byte.
constexpr uint8_t kBlankCode = 0x00;
// The dollar sign has seven elements and is the only code above 0x7F.
constexpr uint8_t kDollarCode = 0x89;
constexpr size_t kDecodedCodes = 0x80;

uint8_t Pack(const char* elements) {
    unsigned code = 1;  // marker bit
    for (const char* e = elements; *e; ++e) code = (code << 1) | (*e == '-' ? 1u : 0u);
    return static_cast<uint8_t>(code);
}

struct MorseTables {
    std::array<uint8_t, 256> encode;
    std::array<char, kDecodedCodes> decode;  // '\0' for a code without a character
};

MorseTables BuildTables() {
    MorseTables tables;
    tables.encode.fill(kCallSignNoCharacter);
    tables.decode.fill('\0');
    tables.encode[static_cast<uint8_t>(' ')] = kBlankCode;
    tables.decode[kBlankCode] = ' ';
    for (const MorseCode& morse : kMorseCodes) {
        uint8_t code = Pack(morse.elements);
        tables.encode[static_cast<uint8_t>(morse.character)] = code;
        if (code < kDecodedCodes) tables.decode[code] = morse.character;
    }
    return tables;
}

const MorseTables& Tables() {
    static const MorseTables kTables = BuildTables();
    return kTables;
}

// '\0' for a code without a character.
char DecodeByte(uint8_t code) {
    if (code == kDollarCode) return '$';
    return code < kDecodedCodes ? Tables().decode[code] : '\0';
}

}  // namespace

bool IsCallSignCharacter(char c) {
    const uint8_t code = Tables().encode[static_cast<uint8_t>(c)];
    return code != kCallSignNoCharacter && code != kBlankCode;
}

bool IsCallSignCode(uint8_t code) {
    return DecodeByte(code) != '\0';
}

std::vector<uint8_t> EncodeCallSign(const std::string& text, int length) {
    if (length < 1) return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(length), 0);
    std::string kept = Trim(text).substr(0, bytes.size());
    for (size_t i = 0; i < kept.size(); ++i) {
        bytes[i] = Tables().encode[static_cast<uint8_t>(kept[i])];
    }
    return bytes;
}

std::string DecodeCallSign(const uint8_t* bytes, int length) {
    std::string text;
    for (int i = 0; bytes != nullptr && i < length; ++i) {
        if (bytes[i] == kBlankCode) continue;
        const char c = DecodeByte(bytes[i]);
        text += c != '\0' ? std::string(1, c) : kCallSignUnknownText;
    }
    return text;
}

}  // namespace vxl
