// Channel-table files (".upg"): 111 scrambled bytes bound to a serial number (0 = any modem),
// holding the 16 channels' receive and transmit words as a synthesizer of type 4 encodes them,
// and a checksum byte over the rest.
#pragma once

#include <cstdint>
#include <string>

namespace vxl {

constexpr int kChannelTableRecordSize = 111;

// One file's record, unscrambled.
struct ChannelTableRecord {
    uint8_t bytes[kChannelTableRecordSize] = {};
};

// Reads and checks the file at `path` without blocking on anything that is not a regular file:
// 0, a file error (901..914; 914 for a file shorter than a record), 54 for a file too large to
// be a channel table, or 78 when its checksum byte does not match its contents. Longer files
// give their first 111 bytes. On failure `problem` says what is wrong.
int ReadChannelTableRecord(const std::string& path, ChannelTableRecord& record,
                           std::string& problem);

// The serial number the record is meant for (0 = any modem).
uint32_t ChannelTableSerial(const ChannelTableRecord& record);

// The record's channels in MHz, decoded as the file encodes them (synthesizer type 4); 0.0 for a
// field that holds no frequency.
void ChannelTableFrequencies(const ChannelTableRecord& record, double rx[16], double tx[16]);

}  // namespace vxl
