// The serial devices this host has, in a stable order: USB and ACM adapters by their
// /dev/serial/by-id names, then on-board UARTs with real hardware behind them, then the rest.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "link/port_table.h"

namespace vxl {

constexpr const char* kStableNameFolder = "/dev/serial/by-id";

enum class PortKind { Usb, OnBoard, Other };

struct DetectedPort {
    std::string device;      // e.g. /dev/ttyUSB0
    std::string stableName;  // its /dev/serial/by-id link, empty when there is none
    PortKind kind = PortKind::Other;
    std::string product;
    std::string manufacturer;
    std::string serialNumber;
    std::string systemDescription;  // the system's own words, used when the rest is empty
};

// "product, manufacturer, S/N serial" from whatever is known; else "On-board serial port" for
// an on-board UART and the system's description for the rest.
std::string DescribePort(const DetectedPort& port);

// Table entries (numbers not yet given) in the stable order; a port with a stable name is
// listed under it.
std::vector<PortEntry> OrderDetectedPorts(std::vector<DetectedPort> ports);

// The links in `folder`, keyed by the device path they resolve to.
std::map<std::string, std::string> StableNamesIn(const std::string& folder);

// The host's serial ports, ordered (libserialport for the list and the adapter descriptions).
std::vector<PortEntry> DetectSerialPorts();

}  // namespace vxl
