#include "ports/select_serial_port.h"

#include "coordinator/coordinator.h"
#include "ui/operator.h"
#include "util/format.h"

namespace vxl {

std::string NoAvailablePortsMessage(const std::vector<PortRow>& rows) {
    std::string text = "No available serial ports were found.\n\n";
    if (rows.empty())
        return text +
               "Plug in your serial adapter and try again; 'vxlconf ports' lists the serial "
               "devices of this machine.";
    for (const PortRow& row : rows) text += Format("Port %d: %s\n", row.number, row.advice.c_str());
    return text + "\nClose any other programs that use serial ports, and try again.";
}

int SelectSerialPort(CCoordinator* coordinator, bool firstRun, const PortDialog& dialog,
                     PortDetector detector) {
    if (coordinator == nullptr) return -1;
    const int current = coordinator->Session().GetPort();
    PortSelectionModel model(current, coordinator->Session().GetCaptureMethod(), firstRun,
                             std::move(detector));
    if (model.Probe() == 0) {
        Ui().MessageBox(NoAvailablePortsMessage(model.Rows()), "No Available Serial Ports",
                        MsgIcon::Stop, MsgButtons::Ok);
        return current;
    }
    if (dialog && dialog(model) && model.OkEnabled()) return model.SelectedPort();
    if (current < 0) {
        Ui().MessageBox(
            "You will not be able to use VXL Configuration Software\n"
            "until you configure a serial port.",
            "No Serial Port Selected", MsgIcon::Exclamation, MsgButtons::Ok);
    }
    return current;
}

void ChooseSerialPort(CCoordinator& coordinator, const PortDialog& dialog, PortDetector detector) {
    coordinator.Session().SetPort(
        SelectSerialPort(&coordinator, false, dialog, std::move(detector)));
}

void FirstRunPortSelection(CCoordinator& coordinator, const PortDialog& dialog,
                           PortDetector detector) {
    if (coordinator.Session().GetPort() >= 0) return;
    coordinator.Session().SetPort(
        SelectSerialPort(&coordinator, true, dialog, std::move(detector)));
}

}  // namespace vxl
