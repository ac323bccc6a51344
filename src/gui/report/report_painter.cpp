#include "gui/report/report_painter.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include "util/result_codes.h"

namespace vxl::report {

namespace {

constexpr double kPointSize = 10.0;

const QFont& FontFor(const ReportFonts& fonts, LineStyle style) {
    switch (style) {
        case LineStyle::Bold:
            return fonts.bold;
        case LineStyle::Underlined:
            return fonts.underlined;
        case LineStyle::Normal:
            break;
    }
    return fonts.normal;
}

}  // namespace

ReportFonts MakeReportFonts() {
    QFont normal(QStringLiteral("Courier New"));
    normal.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(normal).fixedPitch())
        normal = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    normal.setPointSizeF(kPointSize);
    normal.setWeight(QFont::Normal);
    // Values are aligned by counting characters; nothing may shift a glyph.
    normal.setKerning(false);
    ReportFonts fonts{normal, normal, normal};
    fonts.bold.setWeight(QFont::Bold);
    fonts.underlined.setUnderline(true);
    return fonts;
}

PageMetrics MeasurePage(QPaintDevice& device, const ReportFonts& fonts) {
    const QFontMetricsF metrics(fonts.normal, &device);
    PageMetrics page;
    page.lineHeight = metrics.lineSpacing();
    page.blockWidth = metrics.horizontalAdvance(QString(kReportColumns, QLatin1Char('-')));
    page.leftMargin = (device.width() - page.blockWidth) / 2;
    page.pageHeight = device.height();
    return page;
}

int PaintReport(const ReportJob& job, QPagedPaintDevice& device, std::string& error) {
    const ReportFonts fonts = MakeReportFonts();
    const PageMetrics page = MeasurePage(device, fonts);
    if (!job.layout || page.lineHeight <= 0) {
        error = "The page has no room for the report.";
        return rc::kFileGeneric;
    }
    const ReportDocument document = job.layout(page.PageLines());

    QPainter painter;
    if (!painter.begin(&device)) {
        error = "The printer could not be started.";
        return rc::kFileGeneric;
    }
    const double ascent = QFontMetricsF(fonts.normal, &device).ascent();
    // A rule half a point thick, whatever the device's resolution.
    QPen rulePen(Qt::black, device.logicalDpiY() / 144.0);
    for (size_t i = 0; i < document.pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            error = "A new page could not be started.";
            return rc::kFileGeneric;
        }
        const ReportPage& content = document.pages[i];
        for (const ReportLine& line : content.lines) {
            painter.setFont(FontFor(fonts, line.style));
            painter.drawText(QPointF(page.leftMargin, line.y * page.lineHeight + ascent),
                             QString::fromStdString(line.text));
        }
        painter.setPen(rulePen);
        for (double y : content.rules) {
            const double at = y * page.lineHeight;
            painter.drawLine(QPointF(page.leftMargin, at),
                             QPointF(page.leftMargin + page.blockWidth, at));
        }
        painter.setPen(QPen(Qt::black));
    }
    if (!painter.end()) {
        error = "The report could not be finished.";
        return rc::kFileGeneric;
    }
    return rc::kOk;
}

}  // namespace vxl::report
