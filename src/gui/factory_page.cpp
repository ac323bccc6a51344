#include "gui/factory_page.h"

#include <QLabel>
#include <QSignalBlocker>

#include "gui/pages.h"
#include "gui/serial_number_field.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/result_codes.h"

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
        {1034, pid::kSystemClock, K::ReadOnlyText, {82, 8, 80, 12}, R::None, nullptr, nullptr},
        {1121, pid::kLastFailure, K::Label, {10, 25, 70, 8}, R::Label, "Last Failure:", "lastFailureLabel"},
        {1035, pid::kLastFailure, K::ReadOnlyText, {82, 23, 80, 12}, R::None, nullptr, nullptr},
        {0, -1, K::Label, {10, 40, 70, 8}, R::None, "Model:", "factoryModelLabel"},
        {1040, pid::kModel, K::List, {82, 38, 80, 80}, R::Available, nullptr, nullptr},
        {0, -1, K::Label, {10, 55, 70, 8}, R::None, "Serial Number:", "factorySerialLabel"},
        {1118, pid::kFrequency, K::Label, {10, 70, 70, 8}, R::Label, "Frequency:", "factoryFrequencyLabel"},
        {1041, pid::kFrequency, K::List, {82, 68, 80, 100}, R::Available, nullptr, nullptr},
        {1114, pid::kPower, K::Label, {10, 85, 70, 8}, R::Label, "RF Power:", "rfPowerLabel"},
        {1042, pid::kPower, K::SelectionBox, {82, 83, 80, 60}, R::Editable, nullptr, nullptr},
        {1113, pid::kPowerControl, K::Label, {10, 100, 70, 8}, R::Label, "Power Control", "powerControlLabel"},
        {1095, pid::kPowerControl, K::Integer, {82, 98, 40, 12}, R::Editable, nullptr, nullptr},
        {1119, pid::kChannelBandwidth, K::Label, {10, 115, 70, 8}, R::Label, "Channel Bandwidth:", "factoryBandwidthLabel"},
        {1024, pid::kChannelBandwidth, K::List, {82, 113, 80, 40}, R::Available, nullptr, nullptr},
        {1120, pid::kCrystal, K::Label, {10, 130, 70, 8}, R::Label, "Crystal:", "crystalLabel"},
        {1044, pid::kCrystal, K::SelectionBox, {82, 128, 80, 80}, R::Available, nullptr, nullptr},
        {kClearUserFieldsButton, -1, K::PushButton, {176, 8, 88, 14}, R::None,
         "Clear User Fields", "clearUserFieldsButton"},
        {kFactoryTestSettingsButton, -1, K::PushButton, {176, 28, 88, 14}, R::None,
         "Factory Test Settings", "factoryTestSettingsButton"},
        {kSetFactoryFrequenciesButton, -1, K::PushButton, {176, 48, 88, 14}, R::None,
         "Set Factory Frequencies", "setFactoryFrequenciesButton"},
    };
    // clang-format on
    return table;
}

struct HelpRow {
    int controlId;
    const char* text;
};
// clang-format off
constexpr HelpRow kHelp[] = {
    {1034, "How long the modem has run."},
    {1035, "The code of the last failure the modem recorded."},
    {1040, "The modem's model; it decides which powers and channel selections it offers."},
    {kSerialNumberId, "The modem's serial number: eight digits YYWWxxxx, the year and week it was "
                      "built and a sequence number. Shown in red while it does not have that form."},
    {1041, "The frequency band the modem's radio covers."},
    {1042, "The transmitter power."},
    {1095, "The setting of the transmitter's power control."},
    {1024, "The width of the radio channel."},
    {1044, "The reference crystal fitted in the modem."},
    {kClearUserFieldsButton, "Empties the owner and the call sign."},
    {kFactoryTestSettingsButton, "Sets the radio link and serial interface to the settings used "
                                 "for the factory test."},
    {kSetFactoryFrequenciesButton, "Sets the channel table to the factory channels of the modem's "
                                   "frequency band."},
};
// clang-format on

}  // namespace

FactoryPage::FactoryPage(EditSink* sink, const DialogUnits& units, QWidget* parent)
    : Page(CoordinatorPage::Factory, QStringLiteral("Factory"), 118, sink, parent),
      serial_(new SerialNumberField(this)) {
    setObjectName(QStringLiteral("FactoryPage"));
    Build(FactoryTable(), units);
    setFixedSize(units.Size(kPageWidth, kPageHeight));
    // The operator types the serial number here: the field is not echoed back while typed.
    serial_->setObjectName(QStringLiteral("SerialNumber"));
    serial_->setProperty("controlId", kSerialNumberId);
    serial_->setGeometry(units.Rect(kSerialRect));
    // Named by its label and reached after the model, where it stands.
    findChild<QLabel*>(QStringLiteral("factorySerialLabel"))->setBuddy(serial_);
    setTabOrder(Control(1040), serial_);
    for (const HelpRow& row : kHelp) {
        QWidget* control = row.controlId == kSerialNumberId ? serial_ : Control(row.controlId);
        control->setWhatsThis(tr(row.text));
    }
    connect(serial_, &FieldEdit::userEdited, this, [this] {
        SetChanged(true);
        if (sink_ != nullptr) sink_->EditInt(pid::kSerialNumber, serial_->Value());
    });
}

int FactoryPage::Fill(ModemParameterSet& parameters) {
    int serial = 0;
    if (parameters.GetInt(pid::kSerialNumber, serial) == rc::kOk) {
        const QSignalBlocker blocker(serial_);
        serial_->SetValue(serial);
    }
    return Page::Fill(parameters);
}

}  // namespace vxl::gui
