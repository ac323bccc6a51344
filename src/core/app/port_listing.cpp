// The `ports` switch: one line per serial port of the port table: number, device, description,
// status, and for a port that cannot be used, why and what to do.
#include "app/config_app.h"
#include "link/port_probe.h"

namespace vxl {

int CConfigApp::ListPorts() {
    std::vector<ProbedPort> ports = ProbeAllPorts();
    if (ports.empty()) std::fprintf(out_, "no serial ports found\n");
    for (const ProbedPort& p : ports) {
        std::fprintf(out_, "%d\t%s\t%s\t%s", p.number, p.device.c_str(), p.description.c_str(),
                     p.status.c_str());
        if (!p.advice.empty()) std::fprintf(out_, "\t%s", p.advice.c_str());
        std::fprintf(out_, "\n");
    }
    return kExitOk;
}

}  // namespace vxl
