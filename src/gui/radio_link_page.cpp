// The Radio Link page: the current channel with the channel-table import, link rate,
// modulation, squelch, retries, acknowledge time-out, addresses and the link options.
#include <QRadioButton>

#include "gui/page_registry.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/result_codes.h"
#include "window/control_ids.h"

namespace vxl::gui {

namespace {

using K = ControlKind;
using R = UpdateRule;

constexpr int kModulationBox = 1024;
constexpr const char* kModulationTip = "Method of signal modulation over radio link";

// clang-format off
const std::vector<ControlSpec>& RadioLinkTable() {
    static const std::vector<ControlSpec> table = {
        {1092, -1, K::GroupBox, {7, 3, 257, 55}, R::None, " Channel Select ", "channelSelectGroup"},
        {0, -1, K::Label, {16, 13, 240, 8}, R::None, "Channel                 TX                     RX", "channelHeader"},
        {1023, pid::kCurrentChannel, K::List, {14, 22, 244, 120}, R::EditableKept, nullptr, nullptr, "The channel the modem works on, with its transmit and receive frequencies in MHz. Only "
     "channels that have frequencies are listed."},
        {control::kManualSelection, pid::kChannelSelectType, K::RadioButton, {14, 41, 44, 10}, R::Choice, "Manual:", "manualButton", nullptr, nullptr, 0},
        {control::kAutoBaseSelection, pid::kChannelSelectType, K::RadioButton, {62, 41, 50, 10}, R::Choice, "AutoBase:", "autoBaseButton", nullptr, nullptr, 1},
        {control::kAutoRoverSelection, pid::kChannelSelectType, K::RadioButton, {116, 41, 54, 10}, R::Choice, "AutoRover:", "autoRoverButton", nullptr, nullptr, 2},
        {control::kImportChannelCsv, -1, K::PushButton, {118, 39, 58, 14}, R::None, "Import CSV...", "importCsvButton", "Reads a channel plan from a CSV file (Channel,RX MHz,TX MHz), as spreadsheets write it. "
     "A row that does not suit this modem refuses the whole file."},
        {control::kImportChannelTable, -1, K::PushButton, {180, 39, 78, 14}, R::None, "Import Channel Table", "importChannelTableButton", "Reads a channel table (.upg file) into the modem's sixteen channels. A table made for "
     "another modem's serial number is refused. Program writes it into the modem."},

        {64006, -1, K::Label, {14, 66, 64, 8}, R::None, "Link Rate:", "linkRateLabel"},
        {1014, pid::kLinkRate, K::SelectionBox, {80, 64, 70, 80}, R::SeveralChoices, nullptr, nullptr, "The bit rate over the radio link. The rates offered depend on the modulation and the "
     "channel bandwidth."},
        {64007, pid::kModulationType, K::Label, {14, 81, 64, 8}, R::Label, "Modulation Type:", "modulationTypeLabel"},
        {kModulationBox, pid::kModulationType, K::SelectionBox, {80, 79, 70, 60}, R::Editable, nullptr, nullptr, "How the data is modulated onto the radio carrier. Changing it can change the link rate."},
        {64008, -1, K::Label, {14, 96, 64, 8}, R::None, "Digisquelch:", "digisquelchLabel"},
        {1013, pid::kDigisquelch, K::List, {80, 94, 70, 80}, R::Plain, nullptr, nullptr, "How strong a signal must be before the receiver passes it on."},
        {64003, pid::kTransmitRetries, K::Label, {14, 111, 64, 8}, R::Label, "Transmit Retries:", "transmitRetriesLabel"},
        {1016, pid::kTransmitRetries, K::Integer, {80, 109, 30, 12}, R::Available, nullptr, nullptr, "How many times a packet that was not acknowledged is sent again."},
        {64000, pid::kTxAckTimeout, K::Label, {14, 126, 64, 8}, R::Label, "TX ACK Timeout:", "txAckTimeoutLabel"},
        {1015, pid::kTxAckTimeout, K::Decimal, {80, 124, 40, 12}, R::Available, nullptr, nullptr, "How long the modem waits for an acknowledgement, in seconds."},

        {64002, pid::kLocalAddress, K::Label, {164, 66, 60, 8}, R::LabelEditable, "Local Address:", "localAddressLabel"},
        {1018, pid::kLocalAddress, K::Integer, {226, 64, 32, 12}, R::EditableOnly, nullptr, nullptr, "This modem's address on the radio network (0 to 255)."},
        {64001, pid::kRemoteAddress, K::Label, {164, 81, 60, 8}, R::LabelEditable, "Remote Address:", "remoteAddressLabel"},
        {1020, pid::kRemoteAddress, K::Integer, {226, 79, 32, 12}, R::AvailableEditable, nullptr, nullptr, "The address of the modem this one sends to (0 to 255)."},
        {1017, pid::kForwardErrorCorrection, K::CheckBox, {150, 96, 108, 10}, R::EditableOnly, "Forward Error Correction: ", nullptr, "Adds error-correcting codes to the transmission."},
        {1019, pid::kScrambling, K::CheckBox, {150, 108, 108, 10}, R::Plain, "Scrambling: ", nullptr, "Scrambles the transmitted data."},
        {1021, pid::kCSMAMonitor, K::CheckBox, {150, 120, 108, 10}, R::Available, "CSMA Monitor: ", nullptr, "Waits for a free channel before transmitting."},
        {control::kRoverAutoOff, pid::kRoverAutoOff, K::CheckBox, {150, 132, 108, 10}, R::AvailableEditable, "Rover Auto-Off: ", nullptr},
    };
    return table;
}
// clang-format on

class RadioLinkPage : public Page {
  public:
    RadioLinkPage(EditSink* sink, const DialogUnits& units, QWidget* parent)
        : Page(SheetPage::RadioLink, QStringLiteral("Radio Link"), 111, sink, parent) {
        setObjectName(QStringLiteral("RadioLinkPage"));
        Build(RadioLinkTable(), units);
        setFixedSize(units.Size(kPageWidth, kPageHeight));
        static_cast<QRadioButton*>(Control(control::kManualSelection))->setChecked(true);
        Control(kModulationBox)->setToolTip(QString::fromLatin1(kModulationTip));
    }

    void Refresh(const ParameterChanges& changes, ModemParameterSet& parameters,
                 int keptId) override {
        // A modem without a channel selection keeps the buttons as they are; any other failure
        // to read it leaves the page as it was.
        int selection = 0;
        const int result = parameters.GetInt(pid::kChannelSelectType, selection);
        if (result != rc::kOk && result != rc::kNotAvailable) return;
        Page::Refresh(changes, parameters, keptId);
    }
};

}  // namespace

Page* MakeRadioLinkPage(EditSink* sink, const DialogUnits& units, QWidget* parent) {
    return new RadioLinkPage(sink, units, parent);
}

}  // namespace vxl::gui
