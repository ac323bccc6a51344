#include "gui/report/report_output.h"

#include <QBuffer>
#include <QLocale>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "gui/report/report_painter.h"
#include "util/format.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace vxl::report {

namespace {

// A printer's edges cannot be printed on; a PDF keeps the same border so that it prints alike.
constexpr double kBorderMm = 6.35;

QPageLayout PdfPageLayout() {
    const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kBorderMm, kBorderMm, kBorderMm, kBorderMm),
                       QPageLayout::Millimeter);
}

int RenderPdfFile(const ReportJob& job, const std::string& path, std::string& error) {
    QByteArray pdf;
    int result = RenderPdf(job, pdf, error);
    if (result == rc::kOk) {
        // A cut-off PDF is no report: the file is replaced whole or not at all.
        const FileResult written = WriteFileAtomically(
            path, std::string(pdf.constData(), static_cast<size_t>(pdf.size())));
        result = written.code;
        if (!written.ok())
            error = "The report could not be written: " + FileErrorText(written, path) +
                    ". Choose another folder or file name.";
    }
    return result;
}

int RenderOnPrinter(const ReportJob& job, const std::string& printerName, std::string& error) {
    const QString name = QString::fromStdString(printerName);
    QPrinter printer(QPrinter::HighResolution);
    if (!name.isEmpty()) printer.setPrinterName(name);
    const std::string shownName = printer.printerName().toStdString();
    // An unknown name must not quietly turn the job into a PDF without a file.
    const bool known = name.isEmpty() || QPrinterInfo::availablePrinterNames().contains(name);
    if (!known || !printer.isValid() || printer.printerName().isEmpty() ||
        printer.outputFormat() != QPrinter::NativeFormat) {
        error = Format(
            "The printer \"%s\" is not available. Check that it is installed and "
            "switched on.",
            printerName.empty() ? "(default)" : printerName.c_str());
        return rc::kFileGeneric;
    }
    printer.setDocName(QString::fromStdString(job.documentName));
    std::string reason;
    int result = PaintReport(job, printer, reason);
    if (result == rc::kOk && printer.printerState() == QPrinter::Error) {
        reason = "The print system refused the document.";
        result = rc::kFileGeneric;
    }
    if (result != rc::kOk)
        error = Format("The report could not be printed on \"%s\": %s", shownName.c_str(),
                       reason.c_str());
    return result;
}

}  // namespace

int RenderPdf(const ReportJob& job, QByteArray& pdf, std::string& error) {
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(PdfPageLayout());
    writer.setTitle(QString::fromStdString(job.documentName));
    writer.setCreator(QStringLiteral("vxlconf"));
    std::string reason;
    const int result = PaintReport(job, writer, reason);
    if (result != rc::kOk) error = "The PDF document could not be drawn: " + reason;
    return result;
}

int RenderReport(const ReportJob& job, const PrintTarget& target, std::string& error) {
    error.clear();
    return target.ToPdf() ? RenderPdfFile(job, target.pdfPath, error)
                          : RenderOnPrinter(job, target.printerName, error);
}

std::string DefaultPrinterName() {
    return QPrinterInfo::defaultPrinterName().toStdString();
}

}  // namespace vxl::report
