// The window's Help menu item "Save Diagnostic Trace..." (which reads "Stop Diagnostic Trace"
// while a trace is recorded): the file question and the messages.
#pragma once

#include <string>

#include "app/diagnostic_trace.h"

namespace vxl {

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
