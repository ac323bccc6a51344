#include "modem/demo_modem.h"

#include "modem/capture_methods.h"
#include "params/modem_types.h"
#include "util/clock.h"
#include "util/result_codes.h"

namespace {

constexpr int kReadMs = 15;
constexpr int kWriteMs = 100;
constexpr int kProgramMs = 2000;

constexpr int kDemoType = vxl::kModemTypeVxl;
constexpr double kDemoRevision = 2.20;
constexpr int kDemoConfigurationSize = 246;
constexpr int kDemoParameterBase = 0xEE00;

// Bytes outside the memory that the demo answers like a type 4 modem: the running protocol
// mode and the identity block's configuration size and identity word.
struct FixedByte {
    int address;
    uint8_t value;
};
constexpr FixedByte kFixedBytes[] = {{0xEE90, 0x00}, {0x8405, 0x03}, {0x8406, 0xAA}};

// The demo's memory from 0x100 on, 16 bytes per row; rows 0x130..0x17F are all 0 and rows
// 0x1D0..0x1EF all 0xFF. The five bytes at 0x101..0x105 make the checksum byte at 0x1F5 (the
// last of the 246 configuration bytes) right.
struct MemoryRow {
    int address;
    uint8_t bytes[16];
};
constexpr MemoryRow kMemoryRows[] = {
    {0x100,
     {0x01, 0x12, 0x22, 0x1A, 0x10, 0x0A, 0x00, 0x15, 0xC7, 0x3B, 0xD2, 0x02, 0x82, 0x70, 0x02,
      0x3E}},
    {0x110,
     {0x68, 0x02, 0x76, 0x60, 0x02, 0x32, 0x58, 0x02, 0x8F, 0x30, 0x02, 0x4B, 0x28, 0x02, 0x7F,
      0x54}},
    {0x120,
     {0x02, 0x3B, 0x4C, 0x02, 0x88, 0x60, 0x02, 0x44, 0x58, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00}},
    {0x180,
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0xFF, 0x00,
      0x03}},
    {0x190,
     {0x00, 0x01, 0x01, 0x05, 0x00, 0x03, 0xFF, 0x00, 0xB7, 0xAA, 0xD8, 0xCE, 0xF3, 0xEA, 0x00,
      0x00}},
    {0x1A0,
     {0x04, 0x00, 0x00, 0x31, 0x07, 0x00, 0x00, 0x00, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80,
      0x80}},
    {0x1B0,
     {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00}},
    {0x1C0,
     {0x00, 0x10, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
      0xFF}},
    {0x1F0,
     {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00,
      0x00}},
};
constexpr int kFilledFrom = 0x1D0;
constexpr int kFilledTo = 0x1F0;

bool InMemory(int address) {
    return address >= CDemoModem::kMemoryStart &&
           address < CDemoModem::kMemoryStart + CDemoModem::kMemorySize;
}

}  // namespace

CDemoModem::CDemoModem() {
    modemType_ = kDemoType;
    firmwareRevision_ = kDemoRevision;
    captureMethod_ = vxl::kCaptureSoftBreak;
    configurationSize_ = kDemoConfigurationSize;
    parameterBase_ = kDemoParameterBase;
    memory_.fill(0x00);
    for (int address = kFilledFrom; address < kFilledTo; ++address)
        memory_[address - kMemoryStart] = 0xFF;
    for (const MemoryRow& row : kMemoryRows)
        for (int i = 0; i < 16; ++i) memory_[row.address - kMemoryStart + i] = row.bytes[i];
}

CDemoModem::~CDemoModem() = default;

int CDemoModem::Capture(std::string& status, int, bool) {
    status.clear();
    return vxl::rc::kOk;
}

int CDemoModem::Program(std::string& status) {
    status.clear();
    vxl::GetClock().SleepMs(kProgramMs);
    return vxl::rc::kOk;
}

int CDemoModem::Reset(std::string& status) {
    status.clear();
    return vxl::rc::kOk;
}

int CDemoModem::Unlock(std::string& status) {
    status.clear();
    return vxl::rc::kOk;
}

int CDemoModem::ReadMemoryLocation(std::string& status, uint8_t& value, int address, int) {
    status.clear();
    if (address < kMemoryStart) return vxl::rc::kBadAddress;
    vxl::GetClock().SleepMs(kReadMs);
    if (InMemory(address)) {
        value = memory_[address - kMemoryStart];
        return vxl::rc::kOk;
    }
    value = 0x00;
    for (const FixedByte& fixed : kFixedBytes)
        if (fixed.address == address) value = fixed.value;
    return vxl::rc::kOk;
}

int CDemoModem::WriteMemoryLocation(std::string& status, uint8_t value, int address) {
    status.clear();
    if (!InMemory(address)) return vxl::rc::kBadAddress;
    memory_[address - kMemoryStart] = value;
    vxl::GetClock().SleepMs(kWriteMs);
    return vxl::rc::kOk;
}

int CDemoModem::GetPortNumber() const {
    return kPortNumber;
}
