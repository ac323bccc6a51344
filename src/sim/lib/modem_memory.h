// The modem's 64 KiB memory: how a fresh one is laid out for a kind of modem, and where the
// firmware finds its identity block, configuration size and running parameter copies in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vxl::sim {

constexpr size_t kMemorySize = 0x10000;
using MemoryBytes = std::vector<uint8_t>;

constexpr int kConfigBase = 0x100;
constexpr int kUnlockKeyLength = 6;  // 0x100 .. 0x105
constexpr int kSerialNumberAddress = 0x106;
constexpr int kModelByteAddress = 0x10A;
constexpr int kStoredBaudAddress = 0x18B;
constexpr int kStoredProtocolAddress = 0x190;
constexpr int kSynthesizerTypeAddress = 0x1A0;
constexpr int kRunningBaudOffset = 0x8B;
constexpr int kRunningProtocolOffset = 0x90;
constexpr int kVxlIdentityBlock = 0x8400;
constexpr int kQmxIdentityBlock = 0xE000;

// What kind of modem a fresh memory describes.
struct ModemProfile {
    // VXL/KTR family: model (bits 6..4 of the model byte) and band (bits 3..0).
    int model = 5;
    int band = 2;
    // A VXL/KTR modem whose model byte reads 0 (model ID missing).
    bool modelByteZero = false;
    // 1..96: a QMX-family modem whose model byte is this model-table row (0 = VXL family).
    int qmxRow = 0;
    // Firmware revision bytes: 22, 0 is revision 2.20.
    int revisionHigh = 22;
    int revisionLow = 0;
    // N, the configuration size; 0 takes the family's usual size.
    int configSize = 0;
    uint32_t serialNumber = 0x0015C73B;
    int synthesizerType = 4;
    // The serial rate stored in the configuration (the modem's own rate after power-up).
    int baud = 9600;
    uint16_t identityWord = 0x03AA;
};

// Where the firmware finds things, derived from the memory's model byte and identity block.
struct MemoryLayout {
    int modemType = 4;  // 1..4, or 0 for a QMX row of another family
    int identityBlock = kVxlIdentityBlock;
    int parameterBase = 0xEE00;
    int configSize = 0;
    int extensionSize = 0;
};

MemoryBytes BuildMemory(const ModemProfile& profile);
MemoryLayout DescribeMemory(const MemoryBytes& memory);

// The configuration block's last byte: the complement of the 8-bit sum of the bytes before it.
uint8_t ConfigChecksum(const uint8_t* block, size_t size);
// Recomputes the checksum byte of the N-byte block at 0x100.
void FixConfigChecksum(MemoryBytes& memory, int configSize);
bool ConfigChecksumValid(const MemoryBytes& memory, int configSize);

// The modem's baud codes: 19200 = 0, 9600 = 1, ... 300 = 6, 38400 = 8; -1 / 0 when unknown.
int BaudCode(int baud);
int BaudFromCode(int code);

// "2.20" -> 22, 0; "3.41" -> 34, 1. False for anything else.
bool ParseRevision(const std::string& text, int* high, int* low);
std::string RevisionText(int high, int low);

// The default configuration size of a family: 246 (VXL), 176 (QMX before 3.41), 192 (others).
int DefaultConfigSize(const ModemProfile& profile);

// Reads / writes a whole 64 KiB image file. False with a reason in `error` on failure.
bool LoadMemoryFile(const std::string& path, MemoryBytes* memory, std::string* error);
bool SaveMemoryFile(const std::string& path, const MemoryBytes& memory, std::string* error);

}  // namespace vxl::sim
