// One Motorola S-record as the boot loader checks it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vxl::sim {

struct SRecord {
    char type = 0;    // '0' .. '9'
    int address = 0;  // the record's address field (16 bits for types 0, 1, 5, 9)
    std::vector<uint8_t> data;
};

// Parses "Stcc..." (without the line end). False when the text is not a well-formed record or
// its checksum (the complement of the 8-bit sum of count, address and data bytes) is wrong.
bool ParseSRecord(const std::string& text, SRecord* record);

}  // namespace vxl::sim
