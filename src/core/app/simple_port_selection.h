// Choosing the serial port from the ports this machine lists, with the messages for no port at
// all and for leaving without one. The window supplies the list to pick from.
#pragma once

#include <functional>
#include <vector>

#include "link/port_probe.h"

namespace vxl {

// Shows `ports` (each "Available" or "Unavailable") with `current` preselected; returns the
// chosen port number, or a negative number when the operator cancelled.
using PortListPicker = std::function<int(const std::vector<ProbedPort>& ports, int current)>;

// The port to use: the one picked, else `current` (when no port is available or the operator
// cancelled; with no port configured the operator is told what that means).
int SelectSerialPort(int current, const std::vector<ProbedPort>& ports, const PortListPicker& pick);

}  // namespace vxl
