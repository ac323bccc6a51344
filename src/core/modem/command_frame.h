// The binary command frames of the modem protocol: 0x01, the command code, 0 to 6 data bytes
// and a checksum over code and data. Every reply the host waits for is 4 bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace vxl {

namespace cmd {
constexpr uint8_t kFrameStart = 0x01;
constexpr uint8_t kWriteBaudRate = 0x01;
constexpr uint8_t kSync = 0x02;
constexpr uint8_t kStartBootloader = 0x1C;
constexpr uint8_t kReset = 0x1D;
constexpr uint8_t kProgram = 0x1E;
constexpr uint8_t kUnlock = 0x1F;
constexpr uint8_t kWriteMemory = 0x20;
constexpr uint8_t kReadMemory = 0x21;
constexpr uint8_t kPowerOnCapture = 0x22;
// A reply carries the command code with this bit set.
constexpr uint8_t kReplyBit = 0x80;
}  // namespace cmd

// How many 1 ms polls each exchange may wait for its reply.
namespace polls {
constexpr int kWriteBaudRate = 500;
constexpr int kSync = 200;
constexpr int kReset = 400;
constexpr int kProgram = 4000;
constexpr int kUnlock = 4000;
constexpr int kWriteMemory = 2000;
// Single reads during capture, identification, unlock and the multi-byte helpers.
constexpr int kSingleRead = 1000;
}  // namespace polls

// Modem memory the protocol itself reads.
namespace addr {
// Read back and sent in the unlock command.
constexpr int kUnlockKey = 0x100;
constexpr int kUnlockKeyLength = 6;
// 4 bytes, high byte first.
constexpr int kSerialNumber = 0x106;
constexpr int kSerialNumberLength = 4;
constexpr int kModelByte = 0x10A;
}  // namespace addr

constexpr int kReplyLength = 4;
// Pauses after an exchange, in ms.
constexpr int kSyncPauseMs = 100;
constexpr int kResetPauseMs = 1000;

// Complement of the low 8 bits of the sum of `count` bytes (0xFF for none).
uint8_t FrameChecksum(const uint8_t* bytes, int count);
// 0x01, code, data, checksum.
std::vector<uint8_t> BuildFrame(uint8_t code, std::initializer_list<uint8_t> data);
std::vector<uint8_t> BuildFrame(uint8_t code, const uint8_t* data, int count);

// The modem's code for a serial rate, or -1 for a rate it does not know.
int BaudCode(int baud);

// Reply bytes as text: up to the first zero byte, at most `length` bytes.
std::string ReplyText(const uint8_t* bytes, int length);

}  // namespace vxl
