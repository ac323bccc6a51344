// Line settings of a serial port and their translation to and from termios.
#pragma once

#include <termios.h>

#include <cstdint>

namespace vxl {

// Parity and stop-bit codes as callers pass them to CComPort::Open.
constexpr uint8_t kParityNone = 0;
constexpr uint8_t kParityOdd = 1;
constexpr uint8_t kParityEven = 2;
constexpr uint8_t kParityMark = 3;
constexpr uint8_t kParitySpace = 4;
constexpr uint8_t kStopBitsOne = 0;
constexpr uint8_t kStopBitsOneAndHalf = 1;
constexpr uint8_t kStopBitsTwo = 2;

struct LineSettings {
    int baud = 0;
    uint8_t parity = kParityNone;
    uint8_t dataBits = 8;
    uint8_t stopBits = kStopBitsOne;
};

// The rates the port offers its callers: 300 ... 38400 are kept, anything else becomes 9600.
int BaudTableValue(int baud);

// The termios speed for a rate in bits per second; false when the platform has none.
bool SpeedFromBaud(int baud, speed_t* speed);
// Bits per second for a termios speed; 0 for an unknown one.
int BaudFromSpeed(speed_t speed);

// Raw termios for the settings: no echo, no line editing, no translation, no signals, no flow
// control, receiver on, modem lines ignored; a read returns at once with what is queued. On
// failure returns false with EINVAL in *error (unknown rate, data bits outside 5..8, unknown
// parity or stop-bit code, 1.5 stop bits with more than 5 data bits).
bool BuildTermios(const LineSettings& settings, termios* out, int* error);

}  // namespace vxl
