#include "app/diagnostic_trace.h"

#include "coordinator/coordinator.h"
#include "link/port_table.h"
#include "modem/capture_methods.h"
#include "util/format.h"

namespace vxl {

WireTrace::Fields DiagnosticTraceFields(const VersionTexts& version,
                                        const CCoordinator& coordinator) {
    const int port = coordinator.Session().GetPort();
    const std::string device = port >= 0 ? PortTable::Instance().DevicePath(port) : std::string();
    return {
        {"program", "vxlconf " + version.versionText + " " + version.buildText},
        {"port", port < 0 ? std::string("none")
                          : Format("%d", port) + (device.empty() ? "" : " " + device)},
        {"line", "9600 baud, 8 data bits, no parity, 1 stop bit"},
        {"capture", CaptureMethodName(coordinator.Session().GetCaptureMethod())},
    };
}

}  // namespace vxl
