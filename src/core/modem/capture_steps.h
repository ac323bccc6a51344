// The steps the one-port captures and the all-ports searches share: the escape sequence framed
// by guard times, and the power-on capture loop that keeps sending the capture command.
#pragma once

#include <string>
#include <vector>

class ISerialLink;

namespace vxl {

class CountdownWindow;

// The soft-break rates, tried after the port's own rate.
constexpr int kSoftBreakRates[] = {38400, 19200, 9600, 1200};
constexpr int kMaxSoftBreakAttempts = 5;
constexpr int kEscapeGuardMs = 1200;
constexpr int kPowerOnBaud = 9600;
constexpr int kCaptureWindowSeconds = 10;
constexpr int kPollCyclesPerSend = 60;
// The address every capture reads back to see that the modem answers commands.
constexpr int kCaptureCheckAddress = 0x100;

// The rates a soft break tries on a port running at `portBaud`, in order: the port's own rate
// first, then every soft-break rate that differs from it.
std::vector<int> SoftBreakRates(int portBaud);

// A port of the searched array with its index.
struct IndexedPort {
    int index;
    ISerialLink* port;
};

// The open ports of an array of `count` ports.
std::vector<IndexedPort> OpenPorts(ISerialLink* const* ports, int count);

// Why a search over `ports` must stop: rc::kInterrupted, or the system error of the first port
// once every port's device has gone away; 0 to go on.
int StopReason(const std::vector<IndexedPort>& ports);

// On all ports together: purge, guard time, "+++", guard time, purge, then a sync on each.
// Returns 0, or StopReason's code as soon as it has one.
int SendEscapeSequence(const std::vector<IndexedPort>& ports);

// Sends the capture command on every port and polls for the answer until a port answers
// correctly or the 10-second window has passed. Returns 0 (`found` set to the port's index),
// 74 (nothing received), 108 (a wrong reply; with `stopOnWrongReply` the search ends at once)
// 50 (cancelled in the window) or StopReason's code (at once). The diagnostic of a wrong reply is
// left in `status`.
int RunPowerOnCapture(const std::vector<IndexedPort>& ports, bool stopOnWrongReply,
                      CountdownWindow& window, std::string& status, int& found);

}  // namespace vxl
