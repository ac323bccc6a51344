#include "gui/number_fields.h"

#include <QApplication>
#include <QKeyEvent>
#include <QValidator>
#include <cmath>

namespace vxl::gui {

namespace {
const QColor kOutOfRangeColour(255, 0, 0);
}  // namespace

// Every change of a line edit's text passes its validator: the rule lives there, not in a key
// handler that paste and drop would go around.
class FieldInputValidator : public QValidator {
  public:
    explicit FieldInputValidator(QLineEdit* field) : QValidator(field), field_(field) {
        connect(field, &QLineEdit::textChanged, this,
                [this](const QString& text) { shown_ = text; });
    }
    void SetRule(const FieldInputRule& rule) { rule_ = rule; }
    State validate(QString& input, int&) const override {
        std::string text = input.toStdString();
        if (TakeFieldInput(rule_, text)) {
            input = QString::fromStdString(text);
            return Acceptable;
        }
        // The program may show what the rule refuses (a value out of the field's range, a code
        // the modem holds without a character); setting a text clears the undo history. Such a
        // text may still lose characters, and nothing else gets in.
        if (!field_->isUndoAvailable() || RemovesOnly(shown_, input)) return Intermediate;
        return Invalid;
    }

  private:
    // True when `after` is `before` with one run of characters taken out.
    static bool RemovesOnly(const QString& before, const QString& after) {
        if (after.size() >= before.size()) return false;
        int prefix = 0;
        while (prefix < after.size() && after[prefix] == before[prefix]) ++prefix;
        return after.mid(prefix) == before.right(after.size() - prefix);
    }

    QLineEdit* field_;
    QString shown_;
    FieldInputRule rule_;
};

FieldEdit::FieldEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &FieldEdit::userEdited);
    // A refused change, and a character beyond the length limit, beep.
    connect(this, &QLineEdit::inputRejected, this, [this] {
        QApplication::beep();
        emit refused();
    });
}

void FieldEdit::SetInputRule(const FieldInputRule& rule) {
    if (validator_ == nullptr) {
        validator_ = new FieldInputValidator(this);
        validator_->SetRule(rule);
        setValidator(validator_);
        return;
    }
    validator_->SetRule(rule);
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
    UpdateRule();
}

void IntField::UpdateRule() {
    const FieldInputRule rule = IntegerInput(maximum_, hex_, accepted_.toStdString());
    width_ = rule.maxLength;
    SetInputRule(rule);
}

bool IntField::SetRange(int minimum, int maximum) {
    if (minimum >= maximum) return false;
    minimum_ = minimum;
    maximum_ = maximum;
    UpdateRule();
    UpdateColour();
    return true;
}

void IntField::SetHex(bool hex) {
    hex_ = hex;
    UpdateRule();
}

void IntField::SetAcceptedCharacters(const QString& characters) {
    accepted_ = characters;
    UpdateRule();
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
    SetInputRule(DecimalInput(decimals_));
}

void RealField::SetRange(double minimum, double maximum, int decimals) {
    minimum_ = minimum;
    maximum_ = maximum;
    decimals_ = decimals;
    SetInputRule(DecimalInput(decimals_));
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
