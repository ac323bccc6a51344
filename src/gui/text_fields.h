// The call-sign field (upper case, a restricted set of characters, a length limit) and the
// choice fields: a drop-down list, and the selection box whose edit part is read-only.
#pragma once

#include <QComboBox>
#include <string>
#include <vector>

#include "gui/number_fields.h"

namespace vxl::gui {

class CallSignField : public FieldEdit {
    Q_OBJECT
  public:
    explicit CallSignField(QWidget* parent = nullptr);

    void SetLengthLimit(int length);
    int LengthLimit() const { return limit_; }
    // The text upper-cased, without blanks and tabs at either end.
    QString CallSign() const;

  private:
    int limit_ = 10;
};

// A list of a parameter's choices; each item carries its choice value.
class ChoiceField : public QComboBox {
    Q_OBJECT
  public:
    // A selection box shows its current choice in a read-only edit part.
    ChoiceField(bool selectionBox, QWidget* parent = nullptr);

    // Replaces the items (empty texts are left out) and selects `current` (nothing when no
    // item carries it).
    void SetChoices(const std::vector<std::string>& texts, const std::vector<int>& values,
                    int current);
    void SelectValue(int value);
    // The value of the selected item; -1 without a selection.
    int Value() const;

  signals:
    // The operator picked an item.
    void userEdited();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void PaintEditPart();
};

}  // namespace vxl::gui
