// The Serial Interface page: the modem's port settings and its protocol. The end-of-transmission
// fields share one place; the protocol mode decides which of them shows.
#include <QLineEdit>
#include <QSignalBlocker>

#include "gui/page_registry.h"
#include "gui/text_fields.h"
#include "gui/up_down_control.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "params/protocol_modes.h"
#include "util/result_codes.h"
#include "window/control_ids.h"

namespace vxl::gui {

namespace {

using K = ControlKind;
using R = UpdateRule;

// The end-of-transmission fields and their labels share one place; the mode shows one group.
constexpr int kEotCharacterField = 1028;
constexpr int kEotCharacterUpDown = 1053;
constexpr int kEotCharacterLabel = 1061;
constexpr int kEotCountField = 1031;
constexpr int kEotCountLabel = 1063;
constexpr int kEotTimeoutField = 1029;
constexpr int kEotTimeoutLabel = 1062;

// clang-format off
const std::vector<ControlSpec>& SerialInterfaceTable() {
    static const std::vector<ControlSpec> table = {
        {0, -1, K::GroupBox, {7, 3, 257, 46}, R::None, " Port ", "portGroup"},
        {0, -1, K::Label, {14, 16, 50, 8}, R::None, "Baud Rate:", "baudRateLabel"},
        {1023, pid::kBaudRate, K::List, {66, 14, 60, 100}, R::Plain, nullptr, nullptr, "The rate of the modem's serial port towards your equipment."},
        {0, -1, K::Label, {142, 16, 40, 8}, R::None, "Parity:", "parityLabel"},
        {1024, pid::kParity, K::List, {198, 14, 60, 60}, R::Plain, nullptr, nullptr, "The parity of the modem's serial port."},
        {1032, pid::kModemEnable, K::CheckBox, {14, 31, 76, 10}, R::Never, "Modem Enabled:", nullptr, "Whether the modem is enabled. Shown only; it cannot be changed here."},
        {control::kDataSecurityCodeLabel, pid::kDataSecurityCode, K::Label, {142, 32, 70, 8}, R::Label, "Data Security Code:", "dataSecurityCodeLabel"},
        {control::kDataSecurityCode, pid::kDataSecurityCode, K::HexInteger, {214, 30, 44, 12}, R::Available, nullptr, nullptr},

        {0, -1, K::GroupBox, {7, 54, 257, 62}, R::None, "Protocol ", "protocolGroup"},
        {0, -1, K::Label, {14, 67, 50, 8}, R::None, "Mode:", "modeLabel"},
        {1027, pid::kProtocolMode, K::List, {66, 65, 124, 100}, R::Plain, nullptr, nullptr, "How the modem packs serial data into radio transmissions. The fields for the end of a "
     "transmission follow the mode."},
        {1026, pid::kBREAKtoCommand, K::CheckBox, {14, 83, 88, 10}, R::Plain, "BREAK to Command:", nullptr, "A BREAK on the serial line puts the modem into command mode."},
        {1050, pid::kRepeater, K::CheckBox, {14, 97, 88, 10}, R::Editable, "Repeater:", nullptr, "The modem repeats what it receives."},
        {kEotTimeoutLabel, pid::kEOTTimeout, K::Label, {142, 84, 56, 8}, R::Label, "EOT Timeout:", "eotTimeoutLabel"},
        {kEotTimeoutField, pid::kEOTTimeout, K::Decimal, {214, 82, 44, 12}, R::Available, nullptr, nullptr},
        {kEotCharacterLabel, pid::kEOTCharacter, K::Label, {142, 84, 56, 8}, R::Label, "EOT Character:", "eotCharacterLabel"},
        {kEotCharacterField, pid::kEOTCharacter, K::ReadOnlyText, {214, 82, 33, 12}, R::Available, nullptr, nullptr, "The character that ends a transmission. Use the arrows beside it to step through the 256 "
     "characters."},
        {kEotCharacterUpDown, pid::kEOTCharacter, K::UpDown, {247, 82, 11, 12}, R::Available, nullptr, "eotCharacterUpDown", "Steps the end-of-transmission character up or down."},
        {kEotCountLabel, pid::kEOTCount, K::Label, {142, 84, 56, 8}, R::Label, "EOT Count:", "eotCountLabel"},
        {kEotCountField, pid::kEOTCount, K::Integer, {214, 82, 44, 12}, R::Available, nullptr, nullptr, "The pause that ends a transmission, in steps of 100 ms."},
        {1115, pid::kDigipeaterDelay, K::Label, {142, 99, 64, 8}, R::Label, "Digipeater Delay:", "digipeaterDelayLabel"},
        {1030, pid::kDigipeaterDelay, K::Decimal, {214, 97, 44, 12}, R::Available, nullptr, nullptr, "How long a digipeater waits before it repeats, in seconds."},
    };
    return table;
}
// clang-format on

class SerialInterfacePage : public Page {
  public:
    SerialInterfacePage(EditSink* sink, const DialogUnits& units, QWidget* parent)
        : Page(SheetPage::SerialInterface, QStringLiteral("Serial Interface"), 117, sink, parent) {
        setObjectName(QStringLiteral("SerialInterfacePage"));
        Build(SerialInterfaceTable(), units);
        setFixedSize(units.Size(kPageWidth, kPageHeight));
        static_cast<IntField*>(Control(control::kDataSecurityCode))->SetZeroPadding(true);
        connect(static_cast<UpDownControl*>(Control(kEotCharacterUpDown)), &UpDownControl::stepped,
                this, &SerialInterfacePage::StepEotCharacter);
    }

    void Refresh(const ParameterChanges& changes, ModemParameterSet& parameters,
                 int keptId) override {
        if (names_.isEmpty()) {
            std::vector<std::string> texts;
            std::vector<int> values;
            parameters.GetChoices(pid::kEOTCharacter, texts, values);
            for (const std::string& text : texts) names_ << QString::fromStdString(text);
        }
        Page::Refresh(changes, parameters, keptId);
        auto shows = [&](int id) { return changes.Contains(id) && id != keptId; };
        int value = 0;
        if (shows(pid::kProtocolMode) && parameters.GetInt(pid::kProtocolMode, value) == rc::kOk)
            ShowEotFields(value);
        if (!shows(pid::kEOTCharacter)) return;
        if (parameters.GetInt(pid::kEOTCharacter, value) == rc::kOk) {
            ShowCharacter(value);
        } else {
            name_.clear();
            SetCharacterText();
        }
    }

  protected:
    void OnEdited(const ControlSpec& spec, QWidget* control) override {
        Page::OnEdited(spec, control);
        // The fields follow the mode chosen, even one the modem refuses: the next filling puts
        // back the stored one.
        if (spec.parameterId == pid::kProtocolMode) {
            const int mode = static_cast<ChoiceField*>(control)->Value();
            if (mode >= 0) ShowEotFields(mode);
        }
    }

  private:
    void ShowEotFields(int mode) {
        const protocol::EotSetting shown = protocol::EotSettingOf(mode);
        const bool character = shown == protocol::EotSetting::Character;
        const bool count = shown == protocol::EotSetting::Count;
        for (int id : {kEotCharacterField, kEotCharacterUpDown, kEotCharacterLabel})
            Show(id, character);
        for (int id : {kEotCountField, kEotCountLabel}) Show(id, count);
        // The time-out is entered as a count of 100 ms.
        for (int id : {kEotTimeoutField, kEotTimeoutLabel}) Show(id, false);
        SetCharacterText();
    }

    void Show(int controlId, bool visible) {
        if (QWidget* control = Control(controlId)) control->setVisible(visible);
    }

    void ShowCharacter(int value) {
        code_ = value & 0xFF;
        name_ = code_ < names_.size() ? names_[code_] : QString::number(code_);
        SetCharacterText();
    }

    void SetCharacterText() {
        auto* field = static_cast<QLineEdit*>(Control(kEotCharacterField));
        if (field->text() != name_) field->setText(name_);
    }

    void StepEotCharacter(int delta) {
        SetChanged(true);
        ShowCharacter(((code_ + delta) % 256 + 256) % 256);
        if (sink_ != nullptr) sink_->EditInt(index(), pid::kEOTCharacter, code_);
    }

    QStringList names_;
    QString name_;
    int code_ = -1;
};

}  // namespace

Page* MakeSerialInterfacePage(EditSink* sink, const DialogUnits& units, QWidget* parent) {
    return new SerialInterfacePage(sink, units, parent);
}

}  // namespace vxl::gui
