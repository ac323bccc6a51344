// The `ports` switch: one line per serial port of this machine.
#include "app/config_app.h"
#include "link/port_probe.h"

namespace vxl {

int CConfigApp::ListPorts() {
    std::vector<ProbedPort> ports = ProbeAllPorts();
    if (ports.empty()) std::fprintf(stdout, "no serial ports found\n");
    for (const ProbedPort& p : ports) {
        std::fprintf(stdout, "%d\t%s\t%s\t%s\n", p.number, p.device.c_str(), p.description.c_str(),
                     p.status.c_str());
    }
    return kExitOk;
}

}  // namespace vxl
