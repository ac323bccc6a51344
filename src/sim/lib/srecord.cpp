#include "sim/lib/srecord.h"

namespace vxl::sim {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int AddressLength(char type) {
    switch (type) {
        case '2':
        case '8':
            return 3;
        case '3':
        case '7':
            return 4;
        default:
            return 2;
    }
}

}  // namespace

bool ParseSRecord(const std::string& text, SRecord* record) {
    if (text.size() < 4 || text[0] != 'S' || text[1] < '0' || text[1] > '9') return false;
    std::vector<uint8_t> bytes;
    for (size_t i = 2; i + 1 < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    if (text.size() % 2 != 0 || bytes.empty()) return false;
    const size_t count = bytes[0];
    const size_t addressLength = AddressLength(text[1]);
    if (bytes.size() != count + 1 || count < addressLength + 1) return false;
    unsigned sum = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) sum += bytes[i];
    if (static_cast<uint8_t>(~sum) != bytes.back()) return false;
    record->type = text[1];
    record->address = 0;
    for (size_t i = 0; i < addressLength; ++i)
        record->address = record->address * 256 + bytes[1 + i];
    record->data.assign(bytes.begin() + 1 + addressLength, bytes.end() - 1);
    return true;
}

}  // namespace vxl::sim
