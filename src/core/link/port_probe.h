// Which serial ports can be used: each is opened the way a modem attach opens it. A port that
// cannot be opened is diagnosed (who holds it, which group may use it, or that it is gone).
#pragma once

#include <string>
#include <vector>

#include "link/port_table.h"

class CComPort;

namespace vxl {

constexpr const char* kPortAvailable = "Available";

// The settings of a probe (and of the coordinator's attach).
constexpr int kProbeBaud = 9600;
constexpr uint32_t kProbeEventMask = 9;
constexpr int kProbeTransmitBufferSize = 100000;

struct ProbedPort {
    int number = 0;
    std::string device;
    std::string description;
    bool opened = false;
    // Offered for selection: it opened, or another program holds it, or the user may not use it.
    bool listed = false;
    std::string status;  // "Available", "Unavailable: in use by minicom (PID 42)", ...
    std::string advice;  // what to do about it; empty when it opened
};

// Whether a port is offered for selection: it opened, or it exists but is in use or forbidden.
bool IsListedPort(bool opened, int lastError);

// Opens `port` as port `entry.number` and describes the outcome; the port stays open when it
// opened.
ProbedPort ProbePort(const PortEntry& entry, CComPort& port);

// Every port of the port table, by number, each closed again after its probe.
std::vector<ProbedPort> ProbeAllPorts();

}  // namespace vxl

// Opens ports[i] as port number i + 1; returns how many opened.
int ProbePorts(CComPort* ports, int count);
