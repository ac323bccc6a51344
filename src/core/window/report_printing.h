// The window's Print command: the report goes to the default printer without a dialog. Linux
// desktops often have no printer, so without one, or when printing fails, the operator is asked
// where to save the report as a PDF file instead.
#pragma once

#include <functional>
#include <string>

#include "reports/report_document.h"

namespace vxl {

enum class PrintOutcome { Printed, SavedAsPdf, Cancelled, Failed };

// Asks for the PDF file to write, offering `suggestedName`; empty when the operator cancels.
using AskPdfPath = std::function<std::string(const std::string& suggestedName)>;

// Prints `job` with `render` on `printerName` (none when empty), else or after a reported
// failure saves it to the file `askPdfPath` names. Failures are shown through Ui(); the wait
// cursor shows while a report is drawn.
PrintOutcome PrintOrSave(const ReportJob& job, const std::string& printerName,
                         const AskPdfPath& askPdfPath, const ReportRenderer& render);

}  // namespace vxl
