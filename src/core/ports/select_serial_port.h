// Choosing the serial port: from the window's system menu, and by itself on the first run
// while no port is configured. The window supplies the dialog; everything else is here.
#pragma once

#include <functional>

#include "ports/port_selection.h"

class CCoordinator;

namespace vxl {

// Shows the "Select Serial Port" dialog bound to `model`, modally. True when the operator
// leaves it with OK, or after Locate Modem found a modem; false for Cancel.
using PortDialog = std::function<bool(PortSelectionModel& model)>;

// Probes the ports and, when at least one opened, shows the dialog. Returns the port chosen;
// the current port when the dialog is cancelled or no port opened (each with its message); -1
// without a coordinator. The ports are closed again before it returns.
int SelectSerialPort(CCoordinator* coordinator, bool firstRun, const PortDialog& dialog,
                     PortDetector detector = DetectSerialPorts);

// The system-menu command: the selection, and its result stored as the port (when >= 0).
void ChooseSerialPort(CCoordinator& coordinator, const PortDialog& dialog,
                      PortDetector detector = DetectSerialPorts);

// The first-run message: while the coordinator has no port, the selection in first-run mode,
// its result stored (when >= 0).
void FirstRunPortSelection(CCoordinator& coordinator, const PortDialog& dialog,
                           PortDetector detector = DetectSerialPorts);

// The message shown when no port opened: why each listed port cannot be used, and what to do.
std::string NoAvailablePortsMessage(const std::vector<PortRow>& rows);

}  // namespace vxl
