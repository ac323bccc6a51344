// A backup of a modem's configuration memory as a file: a readable header (which modem, which
// firmware, when) and the image's bytes in hexadecimal, sixteen to a line, so that a person can
// read two backups side by side. A CRC-32 of the bytes tells a damaged file from a good one.
//
//   ; vxlconf backup of a modem's configuration memory
//   [Backup]
//   SerialNumber=01427259
//   Model=VXL
//   FirmwareRevision=2.20
//   ConfigurationSize=246
//   ExtensionSize=9
//   ModemType=4
//   Time=2024-05-01T12:34:56Z
//   Crc32=1C291CA3
//   [Memory]
//   0100=D2 00 ...
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace vxl {

struct BackupHeader {
    std::string serialNumber;  // as the Identification page shows it (eight digits)
    std::string model;         // the model's name
    std::string firmware;      // "2.20"
    int mainSize = 0;          // N: configuration bytes from 0x100 on
    int extensionSize = 0;     // E: the extension addressed as 0x8001 on
    int modemType = 0;
    std::time_t time = 0;  // when the image was saved
};

struct BackupImage {
    BackupHeader header;
    std::vector<uint8_t> bytes;  // N + E bytes: the main block, then the extension
};

// The whole file text of a backup.
std::string FormatBackup(const BackupImage& backup);

// Reads a backup file's text: 0, or rc::kBackupDamaged with the reason ("the bytes do not
// match their CRC", "ConfigurationSize is missing", ...).
int ParseBackup(const std::string& text, BackupImage& backup, std::string& reason);

// "2024-05-01T12:34:56Z": UTC, so that files sort by time whatever the machine's zone.
std::string FormatBackupTime(std::time_t when);
// Local time for the operator: "2024-05-01 14:34:56". Independent of the C locale.
std::string FormatLocalTime(std::time_t when);

uint32_t Crc32(const std::vector<uint8_t>& bytes);

}  // namespace vxl
