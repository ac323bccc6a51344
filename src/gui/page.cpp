#include "gui/page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "gui/text_fields.h"
#include "gui/up_down_control.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_catalogue.h"
#include "util/result_codes.h"
#include "window/shown_choices.h"

namespace vxl::gui {

namespace {

// Controls that show no text of their own and take the name of the label before them.
bool TakesLabel(ControlKind kind) {
    switch (kind) {
        case ControlKind::ReadOnlyText:
        case ControlKind::Text:
        case ControlKind::CallSign:
        case ControlKind::Integer:
        case ControlKind::HexInteger:
        case ControlKind::Decimal:
        case ControlKind::SelectionBox:
        case ControlKind::List:
        case ControlKind::UpDown:
            return true;
        default:
            return false;
    }
}

bool ShowsParameter(const ControlSpec& spec) {
    return spec.parameterId >= 0 && spec.kind != ControlKind::Label &&
           spec.kind != ControlKind::GroupBox && spec.kind != ControlKind::PushButton &&
           spec.kind != ControlKind::UpDown;
}

}  // namespace

QString ControlName(const ControlSpec& spec) {
    if (ShowsParameter(spec)) {
        if (const ParameterInfo* info = CatalogueInfo(spec.parameterId))
            return QString::fromLatin1(info->key);
    }
    if (spec.name != nullptr) return QString::fromLatin1(spec.name);
    return spec.controlId != 0 ? QStringLiteral("control%1").arg(spec.controlId) : QString();
}

Page::Page(SheetPage index, const QString& title, int dialogId, EditSink* sink, QWidget* parent)
    : QWidget(parent), sink_(sink), index_(index), title_(title) {
    setProperty("dialogId", dialogId);
    setAutoFillBackground(true);
}

QWidget* Page::Create(const ControlSpec& spec) {
    const QString text = QString::fromUtf8(spec.text != nullptr ? spec.text : "");
    switch (spec.kind) {
        case ControlKind::Label:
            return new QLabel(text, this);
        case ControlKind::GroupBox:
            return new QGroupBox(text, this);
        case ControlKind::ReadOnlyText: {
            auto* edit = new QLineEdit(this);
            edit->setReadOnly(true);
            return edit;
        }
        case ControlKind::Text: {
            auto* edit = new FieldEdit(this);
            edit->SetInputRule(TextInput(TextRuleOf(spec.parameterId)));
            if (spec.limit > 0) edit->setMaxLength(spec.limit);
            return edit;
        }
        case ControlKind::CallSign:
            return new CallSignField(this);
        case ControlKind::Integer:
        case ControlKind::HexInteger: {
            auto* field = new IntField(this);
            field->SetHex(spec.kind == ControlKind::HexInteger);
            return field;
        }
        case ControlKind::Decimal:
            return new RealField(this);
        case ControlKind::SelectionBox:
        case ControlKind::List:
            return new ChoiceField(spec.kind == ControlKind::SelectionBox, this);
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(text, this);
            box->setLayoutDirection(Qt::RightToLeft);  // the text on the left
            return box;
        }
        case ControlKind::PushButton:
            return new QPushButton(text, this);
        case ControlKind::RadioButton: {
            auto* radio = new QRadioButton(text, this);
            radio->setLayoutDirection(Qt::RightToLeft);
            return radio;
        }
        case ControlKind::UpDown:
            return new UpDownControl(this);
    }
    return new QWidget(this);
}

void Page::Build(const std::vector<ControlSpec>& table, const DialogUnits& units) {
    QLabel* label = nullptr;  // the label of the fields that follow it
    bool labelled = false;
    for (const ControlSpec& spec : table) {
        QWidget* widget = Create(spec);
        // A screen reader names a field by the label before it; the label's buddy also takes
        // its mnemonic. A second field of the same label (the EOT Character's arrows) is named
        // after it too.
        if (spec.kind == ControlKind::Label) {
            label = static_cast<QLabel*>(widget);
            labelled = false;
        } else if (label != nullptr && TakesLabel(spec.kind)) {
            const QString name = label->text().remove(QLatin1Char('&'));
            if (!labelled)
                label->setBuddy(widget);
            else
                widget->setAccessibleName(name);
            // The edit part of a selection box is read out as a text field of its own.
            if (auto* box = qobject_cast<QComboBox*>(widget); box && box->lineEdit())
                box->lineEdit()->setAccessibleName(name);
            labelled = true;
        } else {
            label = nullptr;
        }
        widget->setObjectName(ControlName(spec));
        if (spec.controlId != 0) widget->setProperty("controlId", spec.controlId);
        if (spec.help != nullptr) widget->setWhatsThis(tr(spec.help));
        QRect rect = units.Rect(spec.rect);
        // A closed combo box is as high as its own hint, whatever the row gives for its list.
        if (qobject_cast<QComboBox*>(widget)) rect.setHeight(widget->sizeHint().height());
        widget->setGeometry(rect);
        if (spec.kind == ControlKind::GroupBox) widget->lower();
        controls_.push_back({spec, widget});
        const ControlSpec& stored = controls_.back().spec;
        if (auto* edit = qobject_cast<FieldEdit*>(widget)) {
            connect(edit, &FieldEdit::userEdited, this, [this, stored, widget] {
                if (!showingValue_) OnEdited(stored, widget);
            });
        } else if (auto* choice = qobject_cast<ChoiceField*>(widget)) {
            connect(choice, &ChoiceField::userEdited, this,
                    [this, stored, widget] { OnEdited(stored, widget); });
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            connect(box, &QCheckBox::clicked, this,
                    [this, stored, widget] { OnEdited(stored, widget); });
        } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            connect(radio, &QRadioButton::clicked, this,
                    [this, stored, widget] { OnEdited(stored, widget); });
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const int id = spec.controlId;
            connect(button, &QPushButton::clicked, this, [this, id] { emit buttonClicked(id); });
        }
    }
}

void Page::OnEdited(const ControlSpec& spec, QWidget* control) {
    changed_ = true;
    if (sink_ == nullptr || spec.parameterId < 0) return;
    const int id = spec.parameterId;
    if (auto* callSign = qobject_cast<CallSignField*>(control)) {
        sink_->EditText(index_, id, callSign->CallSign().toStdString());
    } else if (auto* field = qobject_cast<IntField*>(control)) {
        sink_->EditInt(index_, id, field->Value());
    } else if (auto* real = qobject_cast<RealField*>(control)) {
        sink_->EditReal(index_, id, real->Value());
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        sink_->EditText(index_, id, edit->text().toStdString());
    } else if (auto* choice = qobject_cast<ChoiceField*>(control)) {
        if (choice->Value() >= 0) sink_->EditInt(index_, id, choice->Value());
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
        sink_->EditBool(index_, id, box->checkState() != Qt::Unchecked);
    } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
        if (radio->isChecked()) sink_->EditInt(index_, id, spec.limit);
    }
}

void Page::FillControl(const ControlSpec& spec, QWidget* control, ModemParameterSet& set) {
    const int id = spec.parameterId;
    const QSignalBlocker blocker(control);
    showingValue_ = true;
    switch (spec.kind) {
        case ControlKind::SelectionBox:
        case ControlKind::List: {
            std::vector<std::string> texts;
            std::vector<int> values;
            int value = -1;
            ShownChoices(set, id, texts, values);
            set.GetInt(id, value);
            static_cast<ChoiceField*>(control)->SetChoices(texts, values, value);
            break;
        }
        case ControlKind::Integer:
        case ControlKind::HexInteger: {
            auto* field = static_cast<IntField*>(control);
            int minimum = 0, maximum = 0, value = 0;
            if (set.GetIntRange(id, minimum, maximum) == rc::kOk) field->SetRange(minimum, maximum);
            if (set.GetInt(id, value) == rc::kOk) field->SetValue(value);
            break;
        }
        case ControlKind::Decimal: {
            auto* field = static_cast<RealField*>(control);
            double minimum = 0, maximum = 0, value = 0;
            int decimals = 2;
            if (set.GetRealRange(id, minimum, maximum, decimals) == rc::kOk)
                field->SetRange(minimum, maximum, decimals);
            if (set.GetReal(id, value) == rc::kOk) field->SetValue(value);
            break;
        }
        case ControlKind::CheckBox: {
            bool value = false;
            if (set.GetBool(id, value) == rc::kOk)
                static_cast<QCheckBox*>(control)->setChecked(value);
            break;
        }
        case ControlKind::RadioButton: {
            // The matching button takes the check from the others; any other value leaves them.
            int value = -1;
            if (set.GetInt(id, value) == rc::kOk && value == spec.limit)
                static_cast<QRadioButton*>(control)->setChecked(true);
            break;
        }
        case ControlKind::CallSign: {
            int length = 0;
            std::string text;
            if (set.GetMaxLength(id, length) == rc::kOk) {
                static_cast<CallSignField*>(control)->SetLengthLimit(length);
                if (set.GetText(id, text) == rc::kOk)
                    static_cast<QLineEdit*>(control)->setText(QString::fromStdString(text));
            }
            break;
        }
        case ControlKind::Text:
        case ControlKind::ReadOnlyText: {
            std::string text;
            if (set.GetText(id, text) == rc::kOk) {
                if (spec.suffix != nullptr) text += spec.suffix;
                static_cast<QLineEdit*>(control)->setText(QString::fromStdString(text));
            }
            break;
        }
        default:
            break;
    }
    showingValue_ = false;
}

void Page::Refresh(const ParameterChanges& changes, ModemParameterSet& parameters, int keptId) {
    for (Entry& entry : controls_) {
        const int id = entry.spec.parameterId;
        if (ShowsParameter(entry.spec) && id != keptId && changes.Contains(id))
            FillControl(entry.spec, entry.widget, parameters);
    }
}

QWidget* Page::Control(int controlId) const {
    for (const Entry& entry : controls_) {
        if (entry.spec.controlId == controlId) return entry.widget;
    }
    return nullptr;
}

QWidget* Page::ParameterControl(int parameterId) const {
    for (const Entry& entry : controls_) {
        if (ShowsParameter(entry.spec) && entry.spec.parameterId == parameterId)
            return entry.widget;
    }
    return nullptr;
}

void Page::ClearControl(const ControlSpec&, QWidget* control) {
    const QSignalBlocker blocker(control);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (!edit->text().isEmpty()) edit->clear();
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
        box->setChecked(false);
    } else if (auto* choice = qobject_cast<ChoiceField*>(control)) {
        if (choice->count() > 0) choice->clear();
    }
}

void Page::UpdateControls(bool loaded, ModemParameterSet* parameters) {
    for (Entry& entry : controls_) {
        ControlEnabling state = EvaluateRule(entry.spec.rule, loaded, parameters,
                                             entry.spec.parameterId, entry.spec.limit);
        if (entry.spec.rule == UpdateRule::SeveralChoices)
            state.enabled = state.enabled && static_cast<QComboBox*>(entry.widget)->count() != 1;
        if (state.clear && ShowsParameter(entry.spec)) ClearControl(entry.spec, entry.widget);
        if (entry.widget->isEnabled() != state.enabled) entry.widget->setEnabled(state.enabled);
    }
}

void Page::HideControl(int controlId) {
    for (Entry& entry : controls_) {
        if (entry.spec.controlId == controlId) entry.widget->hide();
    }
}

void Page::ClearTexts() {
    for (Entry& entry : controls_) {
        if (entry.spec.kind == ControlKind::ReadOnlyText || entry.spec.kind == ControlKind::Text) {
            const QSignalBlocker blocker(entry.widget);
            static_cast<QLineEdit*>(entry.widget)->clear();
        }
    }
}

}  // namespace vxl::gui
