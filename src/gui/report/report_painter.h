// Draws report pages with QPainter: three 10-point "Courier New" fonts (normal, bold,
// underlined), the line height of the normal font, and the 81-column block centred on the page.
#pragma once

#include <QFont>
#include <string>

#include "reports/report_document.h"

class QPagedPaintDevice;
class QPaintDevice;

namespace vxl::report {

struct ReportFonts {
    QFont normal;
    QFont bold;
    QFont underlined;
};

// "Courier New" 10 pt as fontconfig resolves it (Liberation Mono has its metrics), or the
// system's fixed-pitch font when no fixed-pitch face answers to that name.
ReportFonts MakeReportFonts();

// Where the block goes on a page of `device`, in device units.
struct PageMetrics {
    double lineHeight = 0;  // character height plus leading of the normal font
    double blockWidth = 0;  // width of 81 characters
    double leftMargin = 0;  // centres the block on the printable width
    double pageHeight = 0;  // printable height
    double PageLines() const { return lineHeight > 0 ? pageHeight / lineHeight : 0; }
};
PageMetrics MeasurePage(QPaintDevice& device, const ReportFonts& fonts);

// Lays `job` out for `device` and draws every page. 0, or 901 with the reason in `error` when
// the device cannot be painted on or a page cannot be added.
int PaintReport(const ReportJob& job, QPagedPaintDevice& device, std::string& error);

}  // namespace vxl::report
