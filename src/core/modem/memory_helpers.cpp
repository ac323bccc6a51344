// Multi-byte reads built on the single-byte memory operation.
#include "modem/command_frame.h"
#include "modem/modem_base.h"
#include "util/result_codes.h"

namespace {

constexpr int kMaxNumberBytes = 4;

}  // namespace

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
