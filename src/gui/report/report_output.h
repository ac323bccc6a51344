// Sends a report to where it goes: a PDF file, or a printer by name (the default printer when
// the name is empty), without any dialog. Needs a QGuiApplication.
#pragma once

#include <QByteArray>
#include <string>

#include "reports/report_document.h"

namespace vxl::report {

// Draws `job` into a PDF document in memory (pages the size the locale prefers: Letter in the
// US, A4 elsewhere). 0, or 901 with the reason in `error`.
int RenderPdf(const ReportJob& job, QByteArray& pdf, std::string& error);

// Renders `job` on `target`: the ReportRenderer of the program. 0, or a file error code
// (901..914) with a message for the operator in `error`.
int RenderReport(const ReportJob& job, const PrintTarget& target, std::string& error);

// The name of the system's default printer; empty when there is none.
std::string DefaultPrinterName();

}  // namespace vxl::report
