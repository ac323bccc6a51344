#include "gui/factory_page.h"

#include <QLabel>
#include <QSignalBlocker>

#include "gui/page_registry.h"
#include "gui/serial_number_field.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/result_codes.h"
#include "window/control_ids.h"

namespace vxl::gui {

namespace {

constexpr int kSerialNumberId = 1094;
constexpr DluRect kSerialRect{82, 53, 80, 12};

const std::vector<ControlSpec>& FactoryTable() {
    using K = ControlKind;
    using R = UpdateRule;
    // clang-format off
    static const std::vector<ControlSpec> table = {
        {1122, pid::kSystemClock, K::Label, {10, 10, 70, 8}, R::Label, "Run Clock:", "runClockLabel"},
        {1034, pid::kSystemClock, K::ReadOnlyText, {82, 8, 80, 12}, R::None, nullptr, nullptr, "How long the modem has run."},
        {1121, pid::kLastFailure, K::Label, {10, 25, 70, 8}, R::Label, "Last Failure:", "lastFailureLabel"},
        {1035, pid::kLastFailure, K::ReadOnlyText, {82, 23, 80, 12}, R::None, nullptr, nullptr, "The code of the last failure the modem recorded."},
        {0, -1, K::Label, {10, 40, 70, 8}, R::None, "Model:", "factoryModelLabel"},
        {1040, pid::kModel, K::List, {82, 38, 80, 80}, R::Available, nullptr, nullptr, "The modem's model; it decides which powers and channel selections it offers."},
        {0, -1, K::Label, {10, 55, 70, 8}, R::None, "Serial Number:", "factorySerialLabel"},
        {1118, pid::kFrequency, K::Label, {10, 70, 70, 8}, R::Label, "Frequency:", "factoryFrequencyLabel"},
        {1041, pid::kFrequency, K::List, {82, 68, 80, 100}, R::Available, nullptr, nullptr, "The frequency band the modem's radio covers."},
        {1114, pid::kPower, K::Label, {10, 85, 70, 8}, R::Label, "RF Power:", "rfPowerLabel"},
        {1042, pid::kPower, K::SelectionBox, {82, 83, 80, 60}, R::Editable, nullptr, nullptr, "The transmitter power."},
        {1113, pid::kPowerControl, K::Label, {10, 100, 70, 8}, R::Label, "Power Control", "powerControlLabel"},
        {1095, pid::kPowerControl, K::Integer, {82, 98, 40, 12}, R::Editable, nullptr, nullptr, "The setting of the transmitter's power control."},
        {1119, pid::kChannelBandwidth, K::Label, {10, 115, 70, 8}, R::Label, "Channel Bandwidth:", "factoryBandwidthLabel"},
        {1024, pid::kChannelBandwidth, K::List, {82, 113, 80, 40}, R::Available, nullptr, nullptr, "The width of the radio channel."},
        {1120, pid::kCrystal, K::Label, {10, 130, 70, 8}, R::Label, "Crystal:", "crystalLabel"},
        {1044, pid::kCrystal, K::SelectionBox, {82, 128, 80, 80}, R::Available, nullptr, nullptr, "The reference crystal fitted in the modem."},
        {control::kClearUserFields, -1, K::PushButton, {176, 8, 88, 14}, R::None,
         "Clear User Fields", "clearUserFieldsButton", "Empties the owner and the call sign."},
        {control::kFactoryTestSettings, -1, K::PushButton, {176, 28, 88, 14}, R::None,
         "Factory Test Settings", "factoryTestSettingsButton",
         "Sets the radio link and serial interface to the settings used for the factory test."},
        {control::kSetFactoryFrequencies, -1, K::PushButton, {176, 48, 88, 14}, R::None,
         "Set Factory Frequencies", "setFactoryFrequenciesButton",
         "Sets the channel table to the factory channels of the modem's frequency band."},
    };
    // clang-format on
    return table;
}

constexpr const char* kSerialNumberHelp =
    "The modem's serial number: eight digits YYWWxxxx, the year and week it was built and a "
    "sequence number. Shown in red while it does not have that form.";

}  // namespace

FactoryPage::FactoryPage(EditSink* sink, const DialogUnits& units, QWidget* parent)
    : Page(SheetPage::Factory, QStringLiteral("Factory"), 118, sink, parent),
      serial_(new SerialNumberField(this)) {
    setObjectName(QStringLiteral("FactoryPage"));
    Build(FactoryTable(), units);
    setFixedSize(units.Size(kPageWidth, kPageHeight));
    // The operator types the serial number here: the field is not echoed back while typed.
    serial_->setObjectName(QStringLiteral("SerialNumber"));
    serial_->setProperty("controlId", kSerialNumberId);
    serial_->setGeometry(units.Rect(kSerialRect));
    serial_->setWhatsThis(tr(kSerialNumberHelp));
    // Named by its label and reached after the model, where it stands.
    findChild<QLabel*>(QStringLiteral("factorySerialLabel"))->setBuddy(serial_);
    setTabOrder(Control(1040), serial_);
    connect(serial_, &FieldEdit::userEdited, this, [this] {
        SetChanged(true);
        if (sink_ != nullptr) sink_->EditInt(index(), pid::kSerialNumber, serial_->Value());
    });
}

Page* MakeFactoryPage(EditSink* sink, const DialogUnits& units, QWidget* parent) {
    return new FactoryPage(sink, units, parent);
}

void FactoryPage::Refresh(const ParameterChanges& changes, ModemParameterSet& parameters,
                          int keptId) {
    int serial = 0;
    if (changes.Contains(pid::kSerialNumber) && keptId != pid::kSerialNumber &&
        parameters.GetInt(pid::kSerialNumber, serial) == rc::kOk) {
        const QSignalBlocker blocker(serial_);
        serial_->SetValue(serial);
    }
    Page::Refresh(changes, parameters, keptId);
}

}  // namespace vxl::gui
