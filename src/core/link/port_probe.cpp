#include "link/port_probe.h"

#include <cerrno>

#include "link/com_port.h"
#include "link/line_settings.h"
#include "link/port_diagnosis.h"

namespace vxl {

namespace {

bool OpenForProbe(CComPort* port, int number) {
    return port->Open(true, number, kProbeBaud, kParityNone, 8, kStopBitsOne, kProbeEventMask,
                      kProbeTransmitBufferSize);
}

}  // namespace

bool IsListedPort(bool opened, int lastError) {
    if (opened) return lastError == 0;
    return lastError == EACCES || lastError == EPERM || IsPortInUseError(lastError);
}

ProbedPort ProbePort(const PortEntry& entry, CComPort& port) {
    ProbedPort probed;
    probed.number = entry.number;
    probed.device = entry.device;
    probed.description = entry.description;
    probed.opened = OpenForProbe(&port, entry.number);
    const int error = probed.opened ? 0 : port.GetLastError();
    probed.listed = IsListedPort(probed.opened, error);
    const PortDiagnosis diagnosis = DiagnosePortError(entry.device, error);
    probed.status = diagnosis.Status();
    probed.advice = diagnosis.Advice();
    return probed;
}

std::vector<ProbedPort> ProbeAllPorts() {
    std::vector<ProbedPort> probed;
    for (const PortEntry& entry : PortTable::Instance().Entries()) {
        CComPort port;
        probed.push_back(ProbePort(entry, port));
    }
    return probed;
}

}  // namespace vxl

int ProbePorts(CComPort* ports, int count) {
    int opened = 0;
    for (int i = 0; ports && i < count; ++i) {
        if (vxl::OpenForProbe(&ports[i], i + 1)) ++opened;
    }
    return opened;
}
