// The number fields of the pages: an integer field (decimal or hexadecimal, its width from its
// range) and a decimal field (a fixed number of decimals). Both refuse keys they cannot take
// with a beep, draw a value outside their range in red, and put back the value they had when
// they got the focus on Escape or, for a value out of range, when the focus leaves.
#pragma once

#include <QLineEdit>

#include "window/field_input.h"

namespace vxl::gui {

class FieldInputValidator;

// What the fields share: the input rule, the beep, the red text, the user-edit signal.
class FieldEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit FieldEdit(QWidget* parent = nullptr);

    // Holds every change of the text to `rule`, whether typed, pasted, dropped or from an input
    // method: a change the rule refuses is not made, and beeps.
    void SetInputRule(const FieldInputRule& rule);

  signals:
    // A change of the text was refused (the beep sounded).
    void refused();
    // The operator changed the value: by typing, or by the value put back on Escape or leave.
    void userEdited();

  protected:
    void ShowOutOfRange(bool outside);
    // Puts back `text` and reports it as an edit.
    void Restore(const QString& text);

  private:
    FieldInputValidator* validator_ = nullptr;
};

class IntField : public FieldEdit {
    Q_OBJECT
  public:
    explicit IntField(QWidget* parent = nullptr);

    // Refused (no change) unless minimum < maximum. Sets the width to the maximum's digits.
    bool SetRange(int minimum, int maximum);
    void SetHex(bool hex);
    void SetZeroPadding(bool pad);
    // Characters taken besides the digits.
    void SetAcceptedCharacters(const QString& characters);
    void SetValue(int value);
    int Value() const;
    int Width() const { return width_; }
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QString Formatted(int value) const;
    bool InRange(int value) const { return value >= minimum_ && value <= maximum_; }
    void UpdateColour();
    void UpdateRule();

    int width_ = 3;
    int minimum_ = 0;
    int maximum_ = 100;
    int focusValue_ = 0;
    bool hex_ = false;
    bool zeroPad_ = false;
    QString accepted_;
};

class RealField : public FieldEdit {
    Q_OBJECT
  public:
    explicit RealField(QWidget* parent = nullptr);

    void SetRange(double minimum, double maximum, int decimals);
    void SetRevertOnLeave(bool revert) { revertOnLeave_ = revert; }
    void SetValue(double value);
    double Value() const;
    int Decimals() const { return decimals_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QString Formatted(double value) const;
    // 0 stands for "not set" and is never out of range.
    bool OutOfRange(double value) const;
    void UpdateColour();

    int decimals_ = 2;
    double minimum_ = 0.0;
    double maximum_ = 100.0;
    double focusValue_ = 0.0;
    bool revertOnLeave_ = true;
};

}  // namespace vxl::gui
