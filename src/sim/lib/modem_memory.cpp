#include "sim/lib/modem_memory.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "util/format.h"

namespace vxl::sim {

namespace {

// A factory-fresh VXL configuration, 0x100 .. 0x1FF. Bytes 0x101..0x105 are the unlock key,
// 0x106..0x109 the serial number and 0x10A the model byte; those are set from the profile.
constexpr uint8_t kFactoryConfig[256] = {
    0x01, 0x56, 0x58, 0x4C, 0x31, 0x30, 0x00, 0x15, 0xC7, 0x3B, 0xD2, 0x02, 0x82, 0x70, 0x02, 0x3E,
    0x68, 0x02, 0x76, 0x60, 0x02, 0x32, 0x58, 0x02, 0x8F, 0x30, 0x02, 0x4B, 0x28, 0x02, 0x7F, 0x54,
    0x02, 0x3B, 0x4C, 0x02, 0x88, 0x60, 0x02, 0x44, 0x58, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0xFF, 0x00, 0x03,
    0x00, 0x01, 0x01, 0x05, 0x00, 0x03, 0xFF, 0x00, 0xB7, 0xAA, 0xD8, 0xCE, 0xF3, 0xEA, 0x00, 0x00,
    0x04, 0x00, 0x00, 0x31, 0x07, 0x00, 0x00, 0x00, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80,
    0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x10, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00,
};

// The bytes kept behind the configuration block of a VXL modem: system clock (4 bytes),
// the enable flags, the data security code (4 bytes).
constexpr uint8_t kVxlExtension[9] = {0x00, 0xE1, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00};

constexpr int kBaudByCode[9] = {19200, 9600, 4800, 2400, 1200, 600, 300, 0, 38400};

// Model-table rows of the QMX family: 16..69 and 77..96, of which 89..92 are receive-only.
bool IsQmxRow(int row) {
    return (row >= 16 && row <= 69) || (row >= 77 && row <= 96);
}
bool IsReceiveOnlyRow(int row) {
    return row >= 89 && row <= 92;
}

// Revision in hundredths, as the host computes it from the two identity bytes.
int RevisionHundredths(int high, int low) {
    const int minor = (high % 10) * 10 + (low <= 9 ? low : 0);
    return (high / 10) * 100 + minor;
}

bool IsVxlModelByte(uint8_t modelByte) {
    return modelByte == 0 || (modelByte & 0x80) != 0;
}

void PutBigEndian(MemoryBytes& memory, int address, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        memory[address + i] = static_cast<uint8_t>(value >> (8 * (bytes - 1 - i)));
}

}  // namespace

int DefaultConfigSize(const ModemProfile& profile) {
    if (profile.qmxRow == 0) return 246;
    if (!IsReceiveOnlyRow(profile.qmxRow) &&
        RevisionHundredths(profile.revisionHigh, profile.revisionLow) < 341)
        return 176;
    return 192;
}

MemoryBytes BuildMemory(const ModemProfile& profile) {
    MemoryBytes memory(kMemorySize, 0);
    std::memcpy(&memory[kConfigBase], kFactoryConfig, sizeof kFactoryConfig);
    PutBigEndian(memory, kSerialNumberAddress, profile.serialNumber, 4);
    uint8_t modelByte = 0;
    if (profile.qmxRow > 0)
        modelByte = static_cast<uint8_t>(profile.qmxRow);
    else if (!profile.modelByteZero)
        modelByte = static_cast<uint8_t>(0x80 | ((profile.model & 7) << 4) | (profile.band & 0x0F));
    memory[kModelByteAddress] = modelByte;
    memory[kSynthesizerTypeAddress] = static_cast<uint8_t>(profile.synthesizerType);
    const int code = BaudCode(profile.baud);
    memory[kStoredBaudAddress] = static_cast<uint8_t>(code < 0 ? 1 : code);

    const int size = profile.configSize > 0 ? profile.configSize : DefaultConfigSize(profile);
    const bool vxl = profile.qmxRow == 0;
    if (vxl) std::memcpy(&memory[kConfigBase + size], kVxlExtension, sizeof kVxlExtension);
    const int block = vxl ? kVxlIdentityBlock : kQmxIdentityBlock;
    memory[block + 2] = static_cast<uint8_t>(profile.revisionHigh);
    memory[block + 3] = static_cast<uint8_t>(profile.revisionLow);
    memory[block + 4] = static_cast<uint8_t>(size);
    PutBigEndian(memory, block + 5, profile.identityWord, 2);
    FixConfigChecksum(memory, size);
    return memory;
}

MemoryLayout DescribeMemory(const MemoryBytes& memory) {
    MemoryLayout layout;
    const uint8_t modelByte = memory[kModelByteAddress];
    if (IsVxlModelByte(modelByte)) {
        layout.modemType = 4;
        layout.identityBlock = kVxlIdentityBlock;
        layout.parameterBase = 0xEE00;
    } else {
        layout.identityBlock = kQmxIdentityBlock;
        layout.parameterBase = IsReceiveOnlyRow(modelByte) ? 0xB600 : 0xAE00;
        if (IsReceiveOnlyRow(modelByte))
            layout.modemType = 3;
        else if (IsQmxRow(modelByte))
            layout.modemType = 2;
        else
            layout.modemType = 0;
    }
    const int high = memory[layout.identityBlock + 2];
    const int low = memory[layout.identityBlock + 3];
    if (layout.modemType == 2 && RevisionHundredths(high, low) < 341) layout.modemType = 1;
    layout.configSize = memory[layout.identityBlock + 4];
    if (layout.modemType == 4) layout.extensionSize = RevisionHundredths(high, low) >= 104 ? 9 : 5;
    return layout;
}

uint8_t ConfigChecksum(const uint8_t* block, size_t size) {
    unsigned sum = 0;
    for (size_t i = 0; i + 1 < size; ++i) sum += block[i];
    return static_cast<uint8_t>(~sum);
}

void FixConfigChecksum(MemoryBytes& memory, int configSize) {
    if (configSize <= 0) return;
    memory[kConfigBase + configSize - 1] = ConfigChecksum(&memory[kConfigBase], configSize);
}

bool ConfigChecksumValid(const MemoryBytes& memory, int configSize) {
    if (configSize <= 0) return false;
    return memory[kConfigBase + configSize - 1] == ConfigChecksum(&memory[kConfigBase], configSize);
}

int BaudCode(int baud) {
    for (int code = 0; code < 9; ++code)
        if (baud > 0 && kBaudByCode[code] == baud) return code;
    return -1;
}

int BaudFromCode(int code) {
    return code >= 0 && code < 9 ? kBaudByCode[code] : 0;
}

bool ParseRevision(const std::string& text, int* high, int* low) {
    int major = 0;
    int minor = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d.%2d%c", &major, &minor, &tail) != 2) return false;
    const size_t dot = text.find('.');
    if (dot == std::string::npos || text.size() - dot - 1 != 2) return false;
    if (major < 0 || major > 25 || minor < 0) return false;
    *high = major * 10 + minor / 10;
    *low = minor % 10;
    return *high <= 255;
}

std::string RevisionText(int high, int low) {
    const int hundredths = RevisionHundredths(high, low);
    return Format("%d.%02d", hundredths / 100, hundredths % 100);
}

bool LoadMemoryFile(const std::string& path, MemoryBytes* memory, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = Format("cannot open %s: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    MemoryBytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() != kMemorySize) {
        *error = Format("%s holds %zu bytes; a memory image holds exactly %zu", path.c_str(),
                        bytes.size(), kMemorySize);
        return false;
    }
    *memory = std::move(bytes);
    return true;
}

bool SaveMemoryFile(const std::string& path, const MemoryBytes& memory, std::string* error) {
    // Written beside the target and renamed over it, so a failed write never loses the old one.
    const std::string temp = Format("%s.%d.tmp", path.c_str(), static_cast<int>(getpid()));
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) {
        *error = Format("cannot write %s: %s", temp.c_str(), std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(memory.data(), 1, memory.size(), file) == memory.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        *error = Format("cannot write %s: %s", path.c_str(), std::strerror(errno));
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace vxl::sim
