#include "ports/port_selection.h"

#include "link/com_port.h"
#include "link/port_probe.h"
#include "modem/capture_methods.h"
#include "modem/modem.h"
#include "ui/operator.h"
#include "util/format.h"

namespace vxl {

namespace {

enum Column { kNumberColumn, kStatusColumn, kDeviceColumn, kDescriptionColumn };

constexpr const char* kChooseHint =
    "Choose the port your modem is connected to, or press Locate Modem to search every "
    "available port for it. Rescan lists adapters plugged in since.";
constexpr const char* kNothingFoundHint =
    "No modem answered on the available ports. Check that it is connected and powered; with "
    "Power On Capture, switch it off and on when asked.";

}  // namespace

const std::vector<PortColumn>& PortColumns() {
    static const std::vector<PortColumn> columns = {
        {"Serial Port", 80}, {"Status", 170}, {"Device", 200}, {"Description", 220}};
    return columns;
}

PortSelectionModel::PortSelectionModel(int currentPort, int captureMethod, bool firstRun,
                                       PortDetector detector)
    : currentPort_(currentPort),
      captureMethod_(captureMethod),
      firstRun_(firstRun),
      detector_(std::move(detector)) {}

PortSelectionModel::~PortSelectionModel() {
    CloseAll();
}

void PortSelectionModel::CloseAll() {
    ports_.clear();
    rows_.clear();
    selectedRow_ = -1;
}

int PortSelectionModel::Probe() {
    return ProbeSelecting(currentPort_);
}

int PortSelectionModel::Rescan() {
    return ProbeSelecting(SelectedPort());
}

int PortSelectionModel::ProbeSelecting(int number) {
    // The ports must be closed first, or the probe would find them held by this program.
    CloseAll();
    hint_.clear();
    nothingFound_ = false;
    if (detector_) PortTable::Instance().Merge(detector_());
    for (const PortEntry& entry : PortTable::Instance().Entries()) {
        auto port = std::make_unique<CComPort>();
        const ProbedPort probed = ProbePort(entry, *port);
        if (!probed.listed) continue;
        PortRow row;
        row.number = probed.number;
        row.device = probed.device;
        row.description = probed.description;
        row.status = probed.status;
        row.advice = probed.advice;
        row.available = probed.opened;
        rows_.push_back(row);
        ports_.push_back(probed.opened ? std::move(port) : nullptr);
    }
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].number != number) continue;
        if (rows_[i].available) {
            Select(static_cast<int>(i));
        } else {
            hint_ = rows_[i].advice;
        }
    }
    return OpenedCount();
}

std::string PortSelectionModel::CellText(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return std::string();
    const PortRow& r = rows_[row];
    switch (column) {
        case kNumberColumn:
            return Format("%d", r.number);
        case kStatusColumn:
            return r.status;
        case kDeviceColumn:
            return r.device;
        case kDescriptionColumn:
            return r.description;
        default:
            return std::string();
    }
}

int PortSelectionModel::OpenedCount() const {
    int opened = 0;
    for (const PortRow& row : rows_) opened += row.available ? 1 : 0;
    return opened;
}

void PortSelectionModel::Select(int row) {
    selectedRow_ = row;
    hint_.clear();
}

std::string PortSelectionModel::Hint() const {
    if (!hint_.empty()) return hint_;
    return nothingFound_ ? kNothingFoundHint : kChooseHint;
}

void PortSelectionModel::ClickRow(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    nothingFound_ = false;
    if (rows_[row].available) {
        Select(row);
    } else {
        selectedRow_ = -1;
        hint_ = rows_[row].advice;
    }
}

int PortSelectionModel::SelectedPort() const {
    return selectedRow_ >= 0 ? rows_[selectedRow_].number : -1;
}

bool PortSelectionModel::LocateModem() {
    std::vector<ISerialLink*> links;
    std::vector<int> rowOfLink;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (!ports_[i]) continue;
        links.push_back(ports_[i].get());
        rowOfLink.push_back(static_cast<int>(i));
    }
    if (links.empty()) return false;
    int found = -1;
    const int count = static_cast<int>(links.size());
    if (captureMethod_ == kCapturePowerOn) {
        CModem::LocateByPowerOn(locateStatus_, links.data(), count, found);
    } else {
        CModem::LocateBySoftBreak(locateStatus_, links.data(), count, found);
    }
    if (found < 0 || found >= count) {
        nothingFound_ = true;
        return false;
    }
    Select(rowOfLink[found]);
    const PortRow& row = rows_[selectedRow_];
    Ui().MessageBox(Format("A Norvale modem was located on serial port %d (%s).\n"
                           "This port will now be selected for use.",
                           row.number, row.device.c_str()),
                    "Modem Found", MsgIcon::None, MsgButtons::Ok);
    return true;
}

}  // namespace vxl
