#include "link/port_probe.h"

#include <cerrno>

#include "link/com_port.h"
#include "link/line_settings.h"
#include "link/port_table.h"

namespace vxl {

namespace {

bool OpenForProbe(CComPort* port, int number) {
    return port->Open(true, number, kProbeBaud, kParityNone, 8, kStopBitsOne, kProbeEventMask,
                      kProbeTransmitBufferSize);
}

}  // namespace

std::string PortStatusText(bool opened, int lastError) {
    if (opened && lastError == 0) return kPortAvailable;
    switch (lastError) {
        case EBUSY:
        case EWOULDBLOCK:
        case EACCES:
        case EPERM:
            return kPortUnavailable;
        default:
            return std::string();
    }
}

std::vector<ProbedPort> ProbeAllPorts() {
    std::vector<ProbedPort> listed;
    for (const PortEntry& entry : PortTable::Instance().Entries()) {
        CComPort port;
        const bool opened = OpenForProbe(&port, entry.number);
        ProbedPort probed;
        probed.status = PortStatusText(opened, port.GetLastError());
        port.Close();
        if (probed.status.empty()) continue;
        probed.number = entry.number;
        probed.device = entry.device;
        probed.description = entry.description;
        listed.push_back(probed);
    }
    return listed;
}

}  // namespace vxl

int ProbePorts(CComPort* ports, int count) {
    int opened = 0;
    for (int i = 0; ports && i < count; ++i) {
        if (vxl::OpenForProbe(&ports[i], i + 1)) ++opened;
    }
    return opened;
}
