// The file question of the window's Print command (PrintOrSave of window/report_printing): a
// save-file dialog for the PDF file when there is no printer or printing failed.
#pragma once

#include "window/report_printing.h"

class QWidget;

namespace vxl::report {

// A save-file dialog over `parent` for the PDF file, starting with `suggestedName` in the
// working folder; the normal pointer shows in it even under the wait cursor.
AskPdfPath PdfFileDialog(QWidget* parent);

}  // namespace vxl::report
