// One command exchange of the binary protocol: send a frame, wait for the 4-byte reply, check
// it, and turn a failure into a result code and a diagnostic.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ISerialLink;

namespace vxl {

// What a command's reply must look like and how its failures are described.
struct CommandRule {
    uint8_t code;
    int pollLimit;              // ignored by commands whose caller gives the limit
    bool frameStartChecked;     // reply byte 0 must be 0x01
    bool statusChecked;         // reply byte 2 must be 0
    const char* failedFormat;   // no complete or too long a reply
    const char* refusedFormat;  // a reply that is not the acknowledgement
};

namespace rules {
extern const CommandRule kWriteBaudRate;
extern const CommandRule kReset;
extern const CommandRule kProgram;
extern const CommandRule kUnlock;
extern const CommandRule kWriteMemory;
extern const CommandRule kReadMemory;      // a modem object's read
extern const CommandRule kReadMemoryPort;  // a read on a bare port
}  // namespace rules

// Sends `frame` and checks the reply. Returns 0, 77 or 89 (exchange failed), or 108 (wrong
// reply); a failure leaves the rule's diagnostic with the reply bytes in `status`. `reply`
// receives the reply bytes followed by a zero byte.
int ExchangeCommand(ISerialLink* port, const CommandRule& rule, const std::vector<uint8_t>& frame,
                    int pollLimit, std::string& status, uint8_t (&reply)[5]);

// Whether `status`, the diagnostic a failed exchange under `rule` left, holds a whole reply in
// which the modem refused the command: its answer code, a status byte other than 0 and the
// checksum of both. A reply damaged on the line, lost or cut short is no refusal.
bool ReplyRefused(const CommandRule& rule, const std::string& status);

// The frame of a memory read or write of a 16-bit address.
std::vector<uint8_t> ReadMemoryFrame(int address);
std::vector<uint8_t> WriteMemoryFrame(int address, uint8_t value);
// Addresses the protocol can carry.
bool IsModemAddress(int address);

}  // namespace vxl
