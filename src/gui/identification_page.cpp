// The Identification page: what identifies the modem, and the two fields the operator may fill
// in (call sign and owner).
#include "gui/page_registry.h"
#include "params/parameter_ids.h"

namespace vxl::gui {

namespace {

using K = ControlKind;
using R = UpdateRule;

// clang-format off
const std::vector<ControlSpec>& IdentificationTable() {
    static const std::vector<ControlSpec> table = {
        {0, -1, K::GroupBox, {7, 4, 257, 106}, R::None, " Model Information ", "modelGroup"},
        {0, -1, K::Label, {16, 19, 74, 8}, R::None, "Model:", "modelLabel"},
        {1029, pid::kModel, K::ReadOnlyText, {92, 17, 110, 12}, R::None, nullptr, nullptr, "The modem's model."},
        {0, -1, K::Label, {16, 32, 74, 8}, R::None, "Firmware Revision:", "firmwareLabel"},
        {1031, pid::kFirmwareRevision, K::ReadOnlyText, {92, 30, 110, 12}, R::None, nullptr, nullptr, "The revision of the firmware running in the modem."},
        {1123, pid::kModemID, K::Label, {16, 45, 74, 8}, R::Label, "Modem ID:", "modemIdLabel"},
        {1034, pid::kModemID, K::ReadOnlyText, {92, 43, 110, 12}, R::None, nullptr, nullptr, "The modem's identification number."},
        {0, -1, K::Label, {16, 58, 74, 8}, R::None, "Frequency:", "frequencyLabel"},
        {1032, pid::kFrequency, K::ReadOnlyText, {92, 56, 110, 12}, R::None, nullptr, nullptr, "The frequency band the modem works in.", " MHz"},
        {0, -1, K::Label, {16, 71, 74, 8}, R::None, "Power:", "powerLabel"},
        {1033, pid::kPower, K::ReadOnlyText, {92, 69, 110, 12}, R::None, nullptr, nullptr, "The modem's transmitter power.", " Watts"},
        {0, -1, K::Label, {16, 84, 74, 8}, R::None, "Channel Bandwidth:", "bandwidthLabel"},
        {1036, pid::kChannelBandwidth, K::ReadOnlyText, {92, 82, 110, 12}, R::None, nullptr, nullptr, "The width of the radio channel.", " K"},
        {0, -1, K::Label, {16, 97, 74, 8}, R::None, "Serial Number:", "serialNumberLabel"},
        {1030, pid::kSerialNumber, K::ReadOnlyText, {92, 95, 110, 12}, R::None, nullptr, nullptr, "The modem's serial number, fixed at the factory."},
        {1116, pid::kCallSign, K::Label, {16, 118, 74, 8}, R::LabelOrNotLoaded, "Call Sign:", "callSignLabel"},
        {1057, pid::kCallSign, K::CallSign, {92, 116, 70, 12}, R::Available, nullptr, nullptr, "The station call sign the modem sends: letters, digits and the characters \" ! $ ' ( ) + "
     ", - . / : ; = ? _ (letters are turned into capitals)."},
        {0, -1, K::Label, {16, 134, 74, 8}, R::None, "Owner:", "ownerLabel"},
        {1028, pid::kOwner, K::Text, {92, 132, 172, 12}, R::Plain, nullptr, nullptr, "Free text naming the modem's owner, up to 32 characters.", nullptr, 32},
    };
    return table;
}
// clang-format on

class IdentificationPage : public Page {
  public:
    IdentificationPage(EditSink* sink, const DialogUnits& units, QWidget* parent)
        : Page(SheetPage::Identification, QStringLiteral("Identification"), 115, sink, parent) {
        setObjectName(QStringLiteral("IdentificationPage"));
        Build(IdentificationTable(), units);
        setFixedSize(units.Size(kPageWidth, kPageHeight));
    }
};

}  // namespace

Page* MakeIdentificationPage(EditSink* sink, const DialogUnits& units, QWidget* parent) {
    return new IdentificationPage(sink, units, parent);
}

}  // namespace vxl::gui
