#include "gui/serial_number_field.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

#include "params/serial_number.h"

namespace vxl::gui {

namespace {
constexpr int kDigits = 8;
}

SerialNumberField::SerialNumberField(QWidget* parent) : FieldEdit(parent) {
    setMaxLength(kDigits);
    // Pasted text is held to the same rule as typed text.
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kDigits)), this));
    connect(this, &QLineEdit::textChanged, this, &SerialNumberField::UpdateColour);
}

void SerialNumberField::SetValue(int value) {
    setText(QStringLiteral("%1").arg(value, kDigits, 10, QLatin1Char('0')));
}

int SerialNumberField::Value() const {
    return text().toInt();
}

void SerialNumberField::UpdateColour() {
    ShowOutOfRange(!IsValidSerialNumberText(text().toStdString()));
}

void SerialNumberField::keyPressEvent(QKeyEvent* event) {
    QString after;
    if (!TextAfterKey(event, &after)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    if (typed.size() != 1 || (typed[0] < QLatin1Char('0') || typed[0] > QLatin1Char('9')) ||
        after.size() > kDigits) {
        Refuse();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace vxl::gui
