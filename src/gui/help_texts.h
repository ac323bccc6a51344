// The short help a control shows for What's This (Shift+F1), by the dialog that holds it and
// the control's id; the pages add their rows here.
#pragma once

#include <QString>

namespace vxl::gui {

constexpr int kMainDialogId = 0;

// Empty when the control has no help text.
QString ControlHelpText(int dialogId, int controlId);

}  // namespace vxl::gui
