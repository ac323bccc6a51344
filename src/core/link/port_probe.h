// Which serial ports can be used: each is opened the way a modem attach opens it and closed
// again (the caller's array keeps them open until it is destroyed).
#pragma once

#include <string>
#include <vector>

class CComPort;

namespace vxl {

constexpr const char* kPortAvailable = "Available";
constexpr const char* kPortUnavailable = "Unavailable";

// The settings of a probe (and of the coordinator's attach).
constexpr int kProbeBaud = 9600;
constexpr uint32_t kProbeEventMask = 9;
constexpr int kProbeTransmitBufferSize = 100000;

struct ProbedPort {
    int number = 0;
    std::string device;
    std::string description;
    std::string status;
};

// "Available" for a port that opened, "Unavailable" for one that is in use or may not be
// opened, empty (not listed) for anything else.
std::string PortStatusText(bool opened, int lastError);

// Every port of the port table that is listed, by number.
std::vector<ProbedPort> ProbeAllPorts();

}  // namespace vxl

// Opens ports[i] as port number i + 1; returns how many opened.
int ProbePorts(CComPort* ports, int count);
