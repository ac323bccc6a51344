// Locating a modem on any of the ports: the soft break or the power-on capture run on every
// open port at once.
#include "modem/capture_steps.h"
#include "modem/capture_windows.h"
#include "modem/command_frame.h"
#include "modem/modem.h"
#include "util/clock.h"
#include "util/result_codes.h"

namespace {

// The first cycle runs at the first rate; the list is then walked from its start.
std::vector<int> LocateRates() {
    std::vector<int> rates{vxl::kSoftBreakRates[0]};
    for (int baud : vxl::kSoftBreakRates)
        if (static_cast<int>(rates.size()) < vxl::kMaxSoftBreakAttempts) rates.push_back(baud);
    return rates;
}

void PurgeAll(const std::vector<vxl::IndexedPort>& ports) {
    for (const vxl::IndexedPort& entry : ports) entry.port->Purge();
}

}  // namespace

int CModem::LocateBySoftBreak(std::string& status, ISerialLink* ports[8], int& found) {
    return LocateBySoftBreak(status, ports, 8, found);
}

int CModem::LocateByPowerOn(std::string& status, ISerialLink* ports[8], int& found) {
    return LocateByPowerOn(status, ports, 8, found);
}

int CModem::LocateBySoftBreak(std::string& status, ISerialLink* const* ports, int count,
                              int& found) {
    status.clear();
    int result = vxl::rc::kNothingReceived;
    const std::vector<vxl::IndexedPort> open = vxl::OpenPorts(ports, count);
    // Without a port there is nothing to wait for.
    if (open.empty()) return result;
    const std::vector<int> rates = LocateRates();
    vxl::SoftBreakWindow window(true, -1, std::string(), rates.front());
    for (const vxl::IndexedPort& entry : open) {
        entry.port->StartMonitor();
        entry.port->SetBaud(rates.front());
    }
    for (size_t cycle = 0; cycle < rates.size(); ++cycle) {
        if (int stop = vxl::SendEscapeSequence(open)) return stop;
        bool anyFound = false;
        for (const vxl::IndexedPort& entry : open) {
            uint8_t value = 0;
            result = ReadMemoryLocationPort(status, entry.port, value, vxl::kCaptureCheckAddress,
                                            vxl::polls::kSingleRead);
            if (result == vxl::rc::kOk) {
                // A later port that answers too replaces an earlier one.
                found = entry.index;
                anyFound = true;
            }
        }
        if (anyFound) break;
        if (cycle + 1 < rates.size()) {
            for (const vxl::IndexedPort& entry : open) entry.port->SetBaud(rates[cycle + 1]);
            window.ShowRate(rates[cycle + 1]);
            PurgeAll(open);
        }
        vxl::Ui().KeepAlive();
    }
    return result;
}

int CModem::LocateByPowerOn(std::string& status, ISerialLink* const* ports, int count, int& found) {
    status.clear();
    const std::vector<vxl::IndexedPort> open = vxl::OpenPorts(ports, count);
    if (open.empty()) return vxl::rc::kNothingReceived;
    vxl::CountdownWindow window(-1, std::string());
    std::vector<int> previousRates;
    for (const vxl::IndexedPort& entry : open) {
        entry.port->StartMonitor();
        previousRates.push_back(entry.port->GetBaud());
        if (previousRates.back() != vxl::kPowerOnBaud) {
            entry.port->SetBaud(vxl::kPowerOnBaud);
            entry.port->Purge();
        }
    }
    int foundHere = -1;
    int result = vxl::RunPowerOnCapture(open, true, window, status, foundHere);
    if (foundHere >= 0) found = foundHere;
    if (result != vxl::rc::kOk) return result;

    for (size_t i = 0; i < open.size(); ++i) {
        ISerialLink* port = open[i].port;
        port->Purge();
        if (open[i].index == foundHere) {
            // Let the found modem go back to normal operation.
            CModem modem(port);
            std::string ignored;
            modem.Reset(ignored);
        }
        port->SetBaud(previousRates[i]);
        port->SuspendMonitor();
    }
    return result;
}
