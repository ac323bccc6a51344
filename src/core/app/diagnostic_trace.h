// What a diagnostic trace says about the program and its line, however it was started (`trace
// FILE` on the command line or the window's Help menu). What is recorded is link/wire_trace.h.
#pragma once

#include <string>

#include "app/version.h"
#include "link/wire_trace.h"

class CCoordinator;

namespace vxl {

// The header of a trace: the program's version, the port with its device, the line settings a
// modem's line is opened with, and the capture method.
WireTrace::Fields DiagnosticTraceFields(const VersionTexts& version,
                                        const CCoordinator& coordinator);

}  // namespace vxl
