// The Radio Link page: the current channel with the channel-table import, link rate,
// modulation, squelch, retries, acknowledge time-out, addresses and the link options.
#include <QRadioButton>

#include "app/channel_plan_commands.h"
#include "gui/pages.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/result_codes.h"

namespace vxl::gui {

namespace {

using K = ControlKind;
using R = UpdateRule;

constexpr int kManualButton = 1084;
constexpr int kModulationBox = 1024;
constexpr const char* kModulationTip = "Method of signal modulation over radio link";

// clang-format off
const std::vector<ControlSpec>& RadioLinkTable() {
    static const std::vector<ControlSpec> table = {
        {1092, -1, K::GroupBox, {7, 3, 257, 55}, R::None, " Channel Select ", "channelSelectGroup"},
        {0, -1, K::Label, {16, 13, 240, 8}, R::None, "Channel                 TX                     RX", "channelHeader"},
        {1023, pid::kCurrentChannel, K::List, {14, 22, 244, 120}, R::EditableKept, nullptr, nullptr},
        {kManualButton, pid::kChannelSelectType, K::RadioButton, {14, 41, 44, 10}, R::Choice, "Manual:", "manualButton", nullptr, 0},
        {1085, pid::kChannelSelectType, K::RadioButton, {62, 41, 50, 10}, R::Choice, "AutoBase:", "autoBaseButton", nullptr, 1},
        {1086, pid::kChannelSelectType, K::RadioButton, {116, 41, 54, 10}, R::Choice, "AutoRover:", "autoRoverButton", nullptr, 2},
        {kImportChannelTableButton, -1, K::PushButton, {180, 39, 78, 14}, R::None, "Import Channel Table", "importChannelTableButton"},
        {kImportChannelCsvButton, -1, K::PushButton, {118, 39, 58, 14}, R::None, "Import CSV...", "importCsvButton"},

        {64006, -1, K::Label, {14, 66, 64, 8}, R::None, "Link Rate:", "linkRateLabel"},
        {1014, pid::kLinkRate, K::SelectionBox, {80, 64, 70, 80}, R::SeveralChoices, nullptr, nullptr},
        {64007, pid::kModulationType, K::Label, {14, 81, 64, 8}, R::Label, "Modulation Type:", "modulationTypeLabel"},
        {kModulationBox, pid::kModulationType, K::SelectionBox, {80, 79, 70, 60}, R::Editable, nullptr, nullptr},
        {64008, -1, K::Label, {14, 96, 64, 8}, R::None, "Digisquelch:", "digisquelchLabel"},
        {1013, pid::kDigisquelch, K::List, {80, 94, 70, 80}, R::Plain, nullptr, nullptr},
        {64003, pid::kTransmitRetries, K::Label, {14, 111, 64, 8}, R::Label, "Transmit Retries:", "transmitRetriesLabel"},
        {1016, pid::kTransmitRetries, K::Integer, {80, 109, 30, 12}, R::Available, nullptr, nullptr},
        {64000, pid::kTxAckTimeout, K::Label, {14, 126, 64, 8}, R::Label, "TX ACK Timeout:", "txAckTimeoutLabel"},
        {1015, pid::kTxAckTimeout, K::Decimal, {80, 124, 40, 12}, R::Available, nullptr, nullptr},

        {64002, pid::kLocalAddress, K::Label, {164, 66, 60, 8}, R::LabelEditable, "Local Address:", "localAddressLabel"},
        {1018, pid::kLocalAddress, K::Integer, {226, 64, 32, 12}, R::EditableOnly, nullptr, nullptr},
        {64001, pid::kRemoteAddress, K::Label, {164, 81, 60, 8}, R::LabelEditable, "Remote Address:", "remoteAddressLabel"},
        {1020, pid::kRemoteAddress, K::Integer, {226, 79, 32, 12}, R::AvailableEditable, nullptr, nullptr},
        {1017, pid::kForwardErrorCorrection, K::CheckBox, {150, 96, 108, 10}, R::EditableOnly, "Forward Error Correction: ", nullptr},
        {1019, pid::kScrambling, K::CheckBox, {150, 108, 108, 10}, R::Plain, "Scrambling: ", nullptr},
        {1021, pid::kCSMAMonitor, K::CheckBox, {150, 120, 108, 10}, R::Available, "CSMA Monitor: ", nullptr},
        {1022, pid::kRoverAutoOff, K::CheckBox, {150, 132, 108, 10}, R::AvailableEditable, "Rover Auto-Off: ", nullptr},
    };
    return table;
}
// clang-format on

class RadioLinkPage : public Page {
  public:
    RadioLinkPage(EditSink* sink, const DialogUnits& units, QWidget* parent)
        : Page(CoordinatorPage::RadioLink, QStringLiteral("Radio Link"), 111, sink, parent) {
        setObjectName(QStringLiteral("RadioLinkPage"));
        Build(RadioLinkTable(), units);
        setFixedSize(units.Size(kPageWidth, kPageHeight));
        static_cast<QRadioButton*>(Control(kManualButton))->setChecked(true);
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
