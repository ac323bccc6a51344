#include "gui/serial_number_field.h"

#include "params/serial_number.h"

namespace vxl::gui {

SerialNumberField::SerialNumberField(QWidget* parent) : FieldEdit(parent) {
    SetInputRule(SerialNumberInput());
    connect(this, &QLineEdit::textChanged, this, &SerialNumberField::UpdateColour);
}

void SerialNumberField::SetValue(int value) {
    setText(QStringLiteral("%1").arg(value, SerialNumberInput().maxLength, 10, QLatin1Char('0')));
}

int SerialNumberField::Value() const {
    return text().toInt();
}

void SerialNumberField::UpdateColour() {
    ShowOutOfRange(!IsValidSerialNumberText(text().toStdString()));
}

}  // namespace vxl::gui
