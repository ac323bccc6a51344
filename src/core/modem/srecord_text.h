// Motorola S-record text as upgrade files carry it: checking and reading it (record count,
// firmware revision, start address) and writing records.
#pragma once

#include <cstddef>
#include <string>

namespace vxl {

// What a check of S-record text found. On failure `problem` says what is wrong and where.
struct SrecordScan {
    int result = 0;  // 0 or 87
    int records = 0;
    int dataRecords = 0;    // S1 records
    char lastType = 0;      // type digit of the last record, 0 without records
    float revision = 0.0f;  // from the identity bytes at 0x8402/0x8403, 0 when absent
    int startAddress = 0;   // from the reset vector at 0xFFFE/0xFFFF, 0 when absent
    std::string problem;
};

// Checks S-record text the loader accepts: records "S<type><count><2*count hex digits>" CR LF,
// types 0, 1 and 9 only, each checksum right. Takes the firmware revision and the start address
// from the data of the S1 records (the last record to cover a byte wins).
SrecordScan ScanSrecordText(const char* text, size_t length);

// One record as "S<type><count><address><data><checksum>" CR LF with a 16-bit address (S0, S1,
// S9) and the checksum computed; `data` holds at most 252 bytes.
std::string FormatSrecord(char type, int address, const std::string& data);

// Rewrites line ends as CR LF (LF-only, CR LF or a missing last line end) and drops blank lines,
// so that S-record text written by other tools can be checked.
std::string NormaliseLineEnds(const std::string& text);

// The byte written as two hexadecimal digits at text[at] (both must be there), or -1.
int SrecordHexByte(const char* text, size_t at);

}  // namespace vxl
