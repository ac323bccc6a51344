#include "modem/command_exchange.h"

#include "modem/command_frame.h"
#include "modem/modem.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace rules {
const CommandRule kWriteBaudRate{cmd::kWriteBaudRate, polls::kWriteBaudRate, false, true,
                                 "WriteBaudRate->%s", "WriteBaudRate->%s"};
const CommandRule kReset{cmd::kReset, polls::kReset, false, true, "Reset->%s", "Reset->%s"};
const CommandRule kProgram{cmd::kProgram, polls::kProgram, false,
                           true,          "Program->%s",   "Program->%s"};
const CommandRule kUnlock{cmd::kUnlock, polls::kUnlock, false, true, "Unlock0->%s", "Unlock1->%s"};
const CommandRule kWriteMemory{cmd::kWriteMemory,         polls::kWriteMemory,      true, true,
                               "WriteMemoryLocation->%s", "WriteMemoryLocation->%s"};
const CommandRule kReadMemory{cmd::kReadMemory,
                              polls::kSingleRead,
                              true,
                              false,
                              "CModem::ReadMemoryLocation->%s",
                              "CModem::ReadMemoryLocation->%s"};
const CommandRule kReadMemoryPort{cmd::kReadMemory,
                                  polls::kSingleRead,
                                  true,
                                  false,
                                  "ReadMemoryLocationPort->%s",
                                  "ReadMemoryLocationPort->%s"};
}  // namespace rules

namespace {

bool IsAcknowledgement(const CommandRule& rule, const uint8_t* reply) {
    if (rule.frameStartChecked && reply[0] != cmd::kFrameStart) return false;
    if (reply[1] != (rule.code | cmd::kReplyBit)) return false;
    return !rule.statusChecked || reply[2] == 0;
}

}  // namespace

int ExchangeCommand(ISerialLink* port, const CommandRule& rule, const std::vector<uint8_t>& frame,
                    int pollLimit, std::string& status, uint8_t (&reply)[5]) {
    int result = CModem::Transact(port, frame.data(), static_cast<int>(frame.size()), reply,
                                  kReplyLength, pollLimit);
    std::string replyText = ReplyText(reply, kReplyLength);
    if (result != rc::kOk) {
        status = Format(rule.failedFormat, replyText.c_str());
        return result < 0 ? -result : result;
    }
    if (!IsAcknowledgement(rule, reply)) {
        status = Format(rule.refusedFormat, replyText.c_str());
        return rc::kIncorrectResponse;
    }
    return rc::kOk;
}

bool IsModemAddress(int address) {
    return address >= 0 && address <= 0xFFFF;
}

bool ReplyRefused(const CommandRule& rule, const std::string& status) {
    const std::string format = rule.refusedFormat;
    const std::string prefix = format.substr(0, format.find("%s"));
    if (status.size() != prefix.size() + static_cast<size_t>(kReplyLength) ||
        status.compare(0, prefix.size(), prefix) != 0)
        return false;
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(status[prefix.size() + i]); };
    return byte(1) == (rule.code | cmd::kReplyBit) && byte(2) != 0 &&
           byte(3) == static_cast<uint8_t>(~(byte(1) + byte(2)));
}

std::vector<uint8_t> ReadMemoryFrame(int address) {
    return BuildFrame(cmd::kReadMemory,
                      {static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF)});
}

std::vector<uint8_t> WriteMemoryFrame(int address, uint8_t value) {
    return BuildFrame(cmd::kWriteMemory, {static_cast<uint8_t>(address >> 8),
                                          static_cast<uint8_t>(address & 0xFF), value});
}

}  // namespace vxl
