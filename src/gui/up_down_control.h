// An up-down control: the two arrows of a spin box without a value of its own. A click on an
// arrow, the arrow keys and the mouse wheel report a step; the page decides what it changes.
#pragma once

#include <QAbstractSpinBox>

namespace vxl::gui {

class UpDownControl : public QAbstractSpinBox {
    Q_OBJECT
  public:
    explicit UpDownControl(QWidget* parent = nullptr);
    void stepBy(int steps) override;

  signals:
    // +1 for a step up, -1 for a step down (or more when the wheel turns faster).
    void stepped(int delta);

  protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

}  // namespace vxl::gui
