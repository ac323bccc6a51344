// The window's Print command: the report goes to the default printer without a dialog. Linux
// desktops often have no printer, so without a default printer, or when printing fails, the
// operator is asked where to save the report as a PDF file instead.
#pragma once

#include <functional>
#include <string>

#include "reports/report_document.h"

class QWidget;

namespace vxl::report {

enum class PrintOutcome { Printed, SavedAsPdf, Cancelled, Failed };

// Asks for the PDF file to write, offering `suggestedName`; empty when the operator cancels.
using AskPdfPath = std::function<std::string(const std::string& suggestedName)>;

// Prints `job` on `printerName` (none when empty), else or after a reported failure saves it
// to the file `askPdfPath` names. Failures are shown through vxl::Ui().
PrintOutcome PrintOrSave(const ReportJob& job, const std::string& printerName,
                         const AskPdfPath& askPdfPath);

// PrintOrSave on the system's default printer, asking with a file dialog over `parent`.
PrintOutcome PrintReportFromWindow(QWidget* parent, const ReportJob& job);

}  // namespace vxl::report
