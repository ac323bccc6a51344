// Drives the simulated modem and its line directly, in simulated time: no terminal, no clock.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "modem/command_exchange.h"
#include "sim/lib/line_model.h"
#include "sim/lib/modem_firmware.h"
#include "sim/lib/modem_memory.h"

namespace vxl::sim::test {

using Bytes = std::vector<uint8_t>;

// A command frame: 0x01, code, data, complement of the sum of code and data. Memory reads and
// writes use the host's own ReadMemoryFrame and WriteMemoryFrame.
inline Bytes Frame(uint8_t code, std::initializer_list<uint8_t> data = {}) {
    Bytes frame = {0x01, code};
    unsigned sum = code;
    for (uint8_t b : data) {
        frame.push_back(b);
        sum += b;
    }
    frame.push_back(static_cast<uint8_t>(~sum));
    return frame;
}

inline Bytes Text(const char* text) {
    return Bytes(text, text + std::char_traits<char>::length(text));
}

// A fault plan with the given fields set, e.g. Plan({{&FaultPlan::noReplyTo, 2}}).
inline FaultPlan Plan(std::initializer_list<std::pair<int FaultPlan::*, int>> fields) {
    FaultPlan plan;
    for (const auto& [field, value] : fields) plan.*field = value;
    return plan;
}

class LineHarness {
  public:
    explicit LineHarness(const ModemProfile& profile = ModemProfile(), bool lineTiming = false,
                         FirmwareSettings settings = FirmwareSettings())
        : firmware(BuildMemory(profile), settings), line(firmware, lineTiming) {
        firmware.PowerUp(0, false);
    }

    // The host writes `bytes` now, at hostBaud.
    void Send(const Bytes& bytes) {
        line.Advance(nowUs, hostBaud, &received);
        line.FromHost(bytes.data(), bytes.size(), hostBaud, nowUs);
    }
    // Lets `ms` pass and returns everything the host received meanwhile.
    Bytes Wait(int64_t ms) {
        nowUs += ms * 1000;
        line.Advance(nowUs, hostBaud, &received);
        Bytes taken;
        taken.swap(received);
        return taken;
    }
    // Sends and collects the answer within `ms`.
    Bytes Exchange(const Bytes& bytes, int64_t ms = 100) {
        Send(bytes);
        return Wait(ms);
    }
    // "+++" with the guard times around it, at the host's rate.
    void SoftBreak() {
        Wait(1200);
        Send(Text("+++"));
        Wait(1200);
    }
    void PowerCycle() { line.PowerCycle(nowUs); }
    // Command mode, with faults counted from the next command on.
    void CommandModeWith(const FaultPlan& faults) {
        SoftBreak();
        firmware.SetFaults(faults);
    }

    ModemFirmware firmware;
    LineModel line;
    int hostBaud = 9600;
    int64_t nowUs = 0;
    Bytes received;
};

// A reply as the modem sends it: 01, code | 0x80, value, complement of the sum of both.
inline Bytes Reply(uint8_t code, uint8_t value) {
    const uint8_t answer = static_cast<uint8_t>(code | 0x80);
    return {0x01, answer, value, static_cast<uint8_t>(~(answer + value))};
}

}  // namespace vxl::sim::test
