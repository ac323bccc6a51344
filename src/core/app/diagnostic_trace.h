// The diagnostic trace as the operator starts it: `trace FILE` on the command line, and the
// window's Help menu item "Save Diagnostic Trace..." (which reads "Stop Diagnostic Trace" while
// a trace is recorded). What is recorded is link/wire_trace.h.
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

// The Help menu's item without the window.
class DiagnosticTraceMenu {
  public:
    DiagnosticTraceMenu(const CCoordinator& coordinator, VersionTexts version)
        : coordinator_(coordinator), version_(std::move(version)) {}

    // The item's text as of now.
    std::string ItemText() const;
    // While no trace is recorded: asks for the file and starts recording into it (a file that
    // cannot be written is said at once). While one is: stops it and says where it is and what
    // to send.
    void Click();

  private:
    const CCoordinator& coordinator_;
    VersionTexts version_;
    std::string folder_;
};

}  // namespace vxl
