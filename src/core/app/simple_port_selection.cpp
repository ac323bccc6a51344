#include "app/simple_port_selection.h"

#include <algorithm>

#include "ui/operator.h"

namespace vxl {

namespace {

constexpr const char* kNoPorts =
    "No available serial ports were found.\n\nClose any other applications that use serial "
    "ports,\nand if that fails, check that your user account is in the group that owns\nthe "
    "serial devices (usually \"dialout\"; log in again after adding it).";
constexpr const char* kNoPortSelected =
    "You will not be able to use VXL Configuration Software\nuntil you configure a serial port.";

}  // namespace

int SelectSerialPort(int current, const std::vector<ProbedPort>& ports,
                     const PortListPicker& pick) {
    const bool anyAvailable = std::any_of(
        ports.begin(), ports.end(), [](const ProbedPort& p) { return p.status == kPortAvailable; });
    if (!anyAvailable) {
        Ui().MessageBox(kNoPorts, "No Available Serial Ports", MsgIcon::Stop, MsgButtons::Ok);
        return current;
    }
    const int chosen = pick ? pick(ports, current) : -1;
    if (chosen >= 1) return chosen;
    if (current < 0)
        Ui().MessageBox(kNoPortSelected, "No Serial Port Selected", MsgIcon::Exclamation,
                        MsgButtons::Ok);
    return current;
}

}  // namespace vxl
