// The serial-number field of the Factory page and the export dialog: at most eight decimal
// digits (anything else beeps, typed or pasted), red while the text is not a serial number of
// the form YYWWxxxx, shown zero-padded to eight digits. Every accepted change is an edit.
#pragma once

#include "gui/number_fields.h"

namespace vxl::gui {

class SerialNumberField : public FieldEdit {
    Q_OBJECT
  public:
    explicit SerialNumberField(QWidget* parent = nullptr);

    void SetValue(int value);
    // The text read as a decimal number (0 when empty).
    int Value() const;

  private:
    void UpdateColour();
};

}  // namespace vxl::gui
