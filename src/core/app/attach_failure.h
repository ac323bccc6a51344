// What the operator reads when a modem cannot be attached: the window's "Attach Failed" box and a
// headless run's failure line say the same, from the same words.
#pragma once

#include <string>
#include <vector>

namespace vxl {

// True for the system's own error numbers (errno) among the result codes: a port that cannot
// be opened, or a device that went away.
bool IsSystemError(int code);

// For a system error of port `port`: which device, what is wrong with it (unplugged, held by a
// named program, a group to join and the command for it) and what to do.
std::string PortFailureText(int code, int port);

// A soft break on port `port` that no modem answered at any of `rates`: the rates tried, what to
// check, and the capture that reaches a modem at another rate or in its boot loader. One
// sentence per line.
std::string SoftBreakNoAnswerText(int port, const std::vector<int>& rates);

// The message of a failed attach (code not 0, 50 or 90): a soft break that found no modem at
// `softBreakRates` (the session's GetSoftBreakRatesTried), no answer from the modem, the port's
// diagnosis, or the code's text with the modem's response.
std::string AttachFailureText(int code, int port, const std::string& response,
                              const std::vector<int>& softBreakRates);

}  // namespace vxl
