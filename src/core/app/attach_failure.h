// What the operator reads when a modem cannot be attached: the window's "Attach Failed" box and a
// headless run's failure line say the same, from the same words.
#pragma once

#include <string>

namespace vxl {

// True for the system's own error numbers (errno) among the result codes: a port that cannot
// be opened, or a device that went away.
bool IsSystemError(int code);

// For a system error of port `port`: which device, what is wrong with it (unplugged, held by a
// named program, a group to join and the command for it) and what to do.
std::string PortFailureText(int code, int port);

// The message of a failed attach (code not 0, 50 or 90): no answer from the modem, the port's
// diagnosis, or the code's text with the modem's response.
std::string AttachFailureText(int code, int port, const std::string& response);

}  // namespace vxl
