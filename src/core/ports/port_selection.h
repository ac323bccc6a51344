// The "Select Serial Port" dialog without its window: the probed ports as rows, the click and
// OK rules, Rescan, and "Locate Modem". The model opens the ports when it probes them and keeps
// the ones that opened until it is destroyed (or rescans), so no other program takes a port
// between the choice and its use; the window only binds its widgets to it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/port_enumeration.h"
#include "link/port_table.h"

class CComPort;

namespace vxl {

constexpr const char* kSelectPortTitle = "Select Serial Port";
constexpr const char* kSelectPortPrompt = "Choose an available port";
constexpr const char* kLocateModemButton = "Locate Modem";
constexpr const char* kRescanButton = "Rescan";

struct PortColumn {
    const char* caption;
    int width;  // pixels
};

// The list's columns: "Serial Port", "Status", "Device", "Description".
const std::vector<PortColumn>& PortColumns();

struct PortRow {
    int number = 0;
    std::string device;
    std::string description;
    std::string status;  // "Available", or "Unavailable: ..." with the reason
    std::string advice;  // what to do about an unavailable port
    bool available = false;
};

// Where a rescan finds the host's serial devices.
using PortDetector = std::function<std::vector<PortEntry>()>;

class PortSelectionModel {
  public:
    // `currentPort` is preselected when it opens; `captureMethod` 3 makes Locate Modem a
    // power-on capture search, anything else a soft-break search. `firstRun` is kept for the
    // window (the dialog behaves the same).
    PortSelectionModel(int currentPort, int captureMethod, bool firstRun,
                       PortDetector detector = DetectSerialPorts);
    ~PortSelectionModel();
    PortSelectionModel(const PortSelectionModel&) = delete;
    PortSelectionModel& operator=(const PortSelectionModel&) = delete;

    // Adds the devices plugged in since the port table was built (listed ports keep their
    // numbers), then opens every port of the table as an attach would. Ports that opened are
    // listed "Available"; ports held by another program or forbidden to the user are listed
    // with the reason; the rest are left out. Returns how many opened.
    int Probe();
    // Closes the ports and probes again; the selection stays when its port opened again.
    int Rescan();

    const std::vector<PortRow>& Rows() const { return rows_; }
    // The text of a cell; columns as PortColumns().
    std::string CellText(int row, int column) const;
    int OpenedCount() const;

    // A click on a row: an available row becomes the selection; any other row removes the
    // selection and its advice becomes the hint. A click outside the rows (row -1) changes
    // nothing.
    void ClickRow(int row);
    int SelectedRow() const { return selectedRow_; }
    // The selected port number, -1 when none.
    int SelectedPort() const;
    bool OkEnabled() const { return SelectedPort() >= 1; }
    bool LocateEnabled() const { return OpenedCount() > 0; }
    // The hint under the list: why the port last clicked (or the current port) cannot be used
    // and what to do, else what a search that found no modem means, else how to choose.
    std::string Hint() const;

    // Searches every opened port for a modem by the capture method, with the search's own
    // progress window. When one answers, its row becomes the selection, "Modem Found" names the
    // port, and the result is true: the window then closes as with OK. Otherwise only the hint
    // changes, until the next click or rescan.
    bool LocateModem();
    // The modem's diagnostic of the last search.
    const std::string& LocateStatus() const { return locateStatus_; }

    int CurrentPort() const { return currentPort_; }
    int CaptureMethod() const { return captureMethod_; }
    bool FirstRun() const { return firstRun_; }

  private:
    // Probes and selects the row of port `number` when it opened (else shows why not).
    int ProbeSelecting(int number);
    void CloseAll();
    void Select(int row);

    int currentPort_;
    int captureMethod_;
    bool firstRun_;
    PortDetector detector_;
    std::vector<PortRow> rows_;
    std::vector<std::unique_ptr<CComPort>> ports_;  // per row; empty for an unavailable row
    int selectedRow_ = -1;
    std::string hint_;
    bool nothingFound_ = false;  // the last search found no modem
    std::string locateStatus_;
};

}  // namespace vxl
