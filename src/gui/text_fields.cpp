#include "gui/text_fields.h"

#include <QEvent>
#include <QLineEdit>

namespace vxl::gui {

namespace {
const QColor kDisabledBackground(192, 192, 192);
}  // namespace

// ---- CallSignField ----

CallSignField::CallSignField(QWidget* parent) : FieldEdit(parent) {
    SetInputRule(CallSignInput(limit_));
}

void CallSignField::SetLengthLimit(int length) {
    limit_ = length;
    SetInputRule(CallSignInput(limit_));
}

QString CallSignField::CallSign() const {
    QString text = this->text().toUpper();
    int start = 0, end = text.size();
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (start < end && blank(text[start])) ++start;
    while (end > start && blank(text[end - 1])) --end;
    return text.mid(start, end - start);
}

// ---- ChoiceField ----

ChoiceField::ChoiceField(bool selectionBox, QWidget* parent) : QComboBox(parent) {
    if (selectionBox) {
        setEditable(true);
        lineEdit()->setReadOnly(true);
        lineEdit()->installEventFilter(this);
        PaintEditPart();
    }
    connect(this, qOverload<int>(&QComboBox::activated), this, &ChoiceField::userEdited);
}

void ChoiceField::SetChoices(const std::vector<std::string>& texts, const std::vector<int>& values,
                             int current) {
    clear();
    for (size_t i = 0; i < texts.size() && i < values.size(); ++i) {
        if (texts[i].empty()) continue;
        addItem(QString::fromStdString(texts[i]), values[i]);
    }
    SelectValue(current);
}

void ChoiceField::SelectValue(int value) {
    setCurrentIndex(findData(value));
    if (currentIndex() < 0 && isEditable()) lineEdit()->clear();
}

int ChoiceField::Value() const {
    return currentIndex() < 0 ? -1 : currentData().toInt();
}

bool ChoiceField::eventFilter(QObject* watched, QEvent* event) {
    // A click on the read-only edit part opens the list, as on the arrow.
    if (isEditable() && watched == lineEdit() && event->type() == QEvent::MouseButtonPress &&
        isEnabled()) {
        showPopup();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void ChoiceField::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) PaintEditPart();
    QComboBox::changeEvent(event);
}

// Black on white while enabled, black on light grey while disabled.
void ChoiceField::PaintEditPart() {
    if (!isEditable()) return;
    QPalette colours = lineEdit()->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Text, Qt::black);
        colours.setColor(group, QPalette::Base,
                         isEnabled() ? QColor(Qt::white) : kDisabledBackground);
    }
    lineEdit()->setPalette(colours);
}

}  // namespace vxl::gui
