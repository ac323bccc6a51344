#include "gui/number_fields.h"

#include <QApplication>
#include <QKeyEvent>
#include <cmath>

namespace vxl::gui {

namespace {

const QColor kOutOfRangeColour(255, 0, 0);

int DigitsIn(int value, int base) {
    int digits = 1;
    for (unsigned v = static_cast<unsigned>(value < 0 ? -value : value); v >= unsigned(base);
         v /= base)
        ++digits;
    return digits;
}

bool IsControlKey(int key) {
    return key == Qt::Key_Backspace || key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

}  // namespace

FieldEdit::FieldEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &FieldEdit::userEdited);
}

bool FieldEdit::TextAfterKey(QKeyEvent* event, QString* text) const {
    const QString typed = event->text();
    if (typed.isEmpty() || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Escape ||
        event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || typed[0] == '\t')
        return false;
    QString after = this->text();
    int position = cursorPosition();
    if (hasSelectedText()) {
        position = selectionStart();
        after.remove(position, selectedText().size());
    }
    after.insert(position, typed);
    *text = after;
    return true;
}

void FieldEdit::Refuse() {
    QApplication::beep();
    emit refused();
}

void FieldEdit::ShowOutOfRange(bool outside) {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, outside ? kOutOfRangeColour
                                             : QApplication::palette(this).color(QPalette::Text));
    setPalette(colours);
}

void FieldEdit::Restore(const QString& text) {
    setText(text);
    emit userEdited();
}

// ---- IntField ----

IntField::IntField(QWidget* parent) : FieldEdit(parent) {
    setAlignment(Qt::AlignRight);
    connect(this, &QLineEdit::textChanged, this, &IntField::UpdateColour);
}

bool IntField::SetRange(int minimum, int maximum) {
    if (minimum >= maximum) return false;
    minimum_ = minimum;
    maximum_ = maximum;
    width_ = DigitsIn(maximum, hex_ ? 16 : 10);
    UpdateColour();
    return true;
}

void IntField::SetHex(bool hex) {
    hex_ = hex;
    width_ = DigitsIn(maximum_, hex_ ? 16 : 10);
}

void IntField::SetZeroPadding(bool pad) {
    zeroPad_ = pad;
}

QString IntField::Formatted(int value) const {
    // Hexadecimal shows the 32 bits as stored, as "%x" does: -65536 is ffff0000.
    QString text = hex_ ? QString::number(static_cast<quint32>(value), 16) : QString::number(value);
    if (zeroPad_ && text.size() < width_) text = text.rightJustified(width_, QLatin1Char('0'));
    return text;
}

void IntField::SetValue(int value) {
    setText(Formatted(value));
}

int IntField::Value() const {
    bool ok = false;
    if (hex_) {
        const quint32 bits = text().toUInt(&ok, 16);
        return ok ? static_cast<int>(bits) : 0;
    }
    const int value = text().toInt(&ok);
    return ok ? value : 0;
}

void IntField::UpdateColour() {
    ShowOutOfRange(!InRange(Value()));
}

void IntField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Restore(Formatted(focusValue_));
        return;
    }
    QString after;
    if (!TextAfterKey(event, &after) || IsControlKey(event->key())) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    const QString hexDigits = QStringLiteral("AaBbCcDdEeFf0123456789");
    const bool characterOk =
        hex_ ? hexDigits.contains(typed[0]) : (typed[0].isDigit() || accepted_.contains(typed[0]));
    if (typed.size() != 1 || !characterOk || after.size() > width_) {
        Refuse();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void IntField::focusInEvent(QFocusEvent* event) {
    focusValue_ = Value();
    QLineEdit::focusInEvent(event);
}

void IntField::focusOutEvent(QFocusEvent* event) {
    const int value = Value();
    if (InRange(value)) {
        if (text() != Formatted(value)) setText(Formatted(value));
    } else {
        Restore(Formatted(focusValue_));
    }
    QLineEdit::focusOutEvent(event);
}

// ---- RealField ----

RealField::RealField(QWidget* parent) : FieldEdit(parent) {
    setAlignment(Qt::AlignRight);
    connect(this, &QLineEdit::textChanged, this, &RealField::UpdateColour);
}

void RealField::SetRange(double minimum, double maximum, int decimals) {
    minimum_ = minimum;
    maximum_ = maximum;
    decimals_ = decimals;
    UpdateColour();
}

QString RealField::Formatted(double value) const {
    // Always a point, whatever the user's locale.
    return QString::number(value, 'f', decimals_);
}

void RealField::SetValue(double value) {
    setText(Formatted(value));
}

double RealField::Value() const {
    bool ok = false;
    const double value = text().toDouble(&ok);
    return ok ? value : 0.0;
}

bool RealField::OutOfRange(double value) const {
    return value != 0.0 && (value < minimum_ || value > maximum_);
}

void RealField::UpdateColour() {
    ShowOutOfRange(OutOfRange(Value()));
}

void RealField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Restore(Formatted(focusValue_));
        return;
    }
    QString after;
    if (!TextAfterKey(event, &after) || IsControlKey(event->key())) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar typed = event->text()[0];
    const int point = after.indexOf(QLatin1Char('.'));
    bool ok = event->text().size() == 1 && (typed.isDigit() || typed == QLatin1Char('.'));
    if (ok && typed == QLatin1Char('.')) ok = after.count(QLatin1Char('.')) == 1;
    if (ok && typed.isDigit() && point >= 0 && !hasSelectedText())
        ok = after.size() - point - 1 <= decimals_;
    if (!ok) {
        Refuse();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void RealField::focusInEvent(QFocusEvent* event) {
    focusValue_ = Value();
    QLineEdit::focusInEvent(event);
}

void RealField::focusOutEvent(QFocusEvent* event) {
    if (revertOnLeave_ && OutOfRange(Value())) Restore(Formatted(focusValue_));
    QLineEdit::focusOutEvent(event);
}

}  // namespace vxl::gui
