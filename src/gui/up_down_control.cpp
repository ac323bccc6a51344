#include "gui/up_down_control.h"

#include <QLineEdit>

namespace vxl::gui {

UpDownControl::UpDownControl(QWidget* parent) : QAbstractSpinBox(parent) {
    // Only the arrows show: the field beside them holds the value.
    lineEdit()->setReadOnly(true);
    lineEdit()->hide();
    setWrapping(true);
}

void UpDownControl::stepBy(int steps) {
    if (steps != 0) emit stepped(steps);
}

}  // namespace vxl::gui
