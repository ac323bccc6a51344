// Multi-byte reads and writes built on the single-byte memory operations.
#include "modem/command_frame.h"
#include "modem/modem_base.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace {

constexpr int kMaxNumberBytes = 4;

}  // namespace

int CModemBase::ReadMemoryText(std::string& status, int address, int count, std::string& text) {
    status.clear();
    if (count < 1) return vxl::rc::kBadParameters;
    for (int i = 0; i < count; ++i) {
        uint8_t value = 0;
        int result = ReadMemoryLocation(status, value, address + i, vxl::polls::kSingleRead);
        if (result != vxl::rc::kOk) return result;
        if (value != 0) text.push_back(static_cast<char>(value));
    }
    return vxl::rc::kOk;
}

int CModemBase::ReadUnlockText(std::string& status, std::string& text) {
    return ReadMemoryText(status, vxl::addr::kUnlockKey, vxl::addr::kUnlockKeyLength, text);
}

int CModemBase::ReadMemoryNumber(std::string& status, int address, int count, uint32_t& value) {
    status.clear();
    if (count > kMaxNumberBytes) return vxl::rc::kTooManyBytes;
    if (count < 1) return vxl::rc::kBadParameters;
    uint32_t number = 0;
    for (int i = 0; i < count; ++i) {
        uint8_t byte = 0;
        int result = ReadMemoryLocation(status, byte, address + i, vxl::polls::kSingleRead);
        if (result != vxl::rc::kOk) return result;
        number = (number << 8) | byte;
    }
    value = number;
    return vxl::rc::kOk;
}

int CModemBase::ReadMemoryDecimal(std::string& status, int address, int count, std::string& text) {
    uint32_t value = 0;
    int result = ReadMemoryNumber(status, address, count, value);
    if (result == vxl::rc::kOk) text = vxl::Format("%u", value);
    return result;
}

int CModemBase::ReadSerialNumberText(std::string& status, std::string& text) {
    return ReadMemoryDecimal(status, vxl::addr::kSerialNumber, vxl::addr::kSerialNumberLength,
                             text);
}

int CModemBase::FillMemory(std::string& status, uint8_t value, int address, int count) {
    status.clear();
    if (count > kMaxNumberBytes) return vxl::rc::kTooManyBytes;
    if (count < 1) return vxl::rc::kBadParameters;
    for (int i = 0; i < count; ++i) {
        int result = WriteMemoryLocation(status, value, address + i);
        if (result != vxl::rc::kOk) return result;
    }
    return vxl::rc::kOk;
}
