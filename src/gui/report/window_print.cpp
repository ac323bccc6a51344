#include "gui/report/window_print.h"

#include <QDir>
#include <QFileDialog>

#include "gui/report/report_output.h"
#include "ui/operator.h"
#include "util/result_codes.h"

namespace vxl::report {

namespace {
constexpr const char* kCaption = "Print Report";
}  // namespace

PrintOutcome PrintOrSave(const ReportJob& job, const std::string& printerName,
                         const AskPdfPath& askPdfPath) {
    std::string error;
    if (!printerName.empty()) {
        int result;
        {
            WaitCursor wait;
            result = RenderReport(job, PrintTarget{std::string(), printerName}, error);
        }
        if (result == rc::kOk) return PrintOutcome::Printed;
        Ui().MessageBox(error + "\n\nYou can save the report as a PDF file instead.", kCaption,
                        MsgIcon::Exclamation, MsgButtons::Ok);
    }
    const std::string path = askPdfPath(job.suggestedFileName);
    if (path.empty()) return PrintOutcome::Cancelled;
    int result;
    {
        WaitCursor wait;
        result = RenderReport(job, PrintTarget{path, std::string()}, error);
    }
    if (result == rc::kOk) return PrintOutcome::SavedAsPdf;
    Ui().MessageBox(error, kCaption, MsgIcon::Stop, MsgButtons::Ok);
    return PrintOutcome::Failed;
}

PrintOutcome PrintReportFromWindow(QWidget* parent, const ReportJob& job) {
    auto ask = [parent](const std::string& suggestedName) {
        QFileDialog dialog(parent, QObject::tr("Save Report as PDF"),
                           QDir::current().filePath(QString::fromStdString(suggestedName)),
                           QObject::tr("PDF files (*.pdf)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::string();
        return dialog.selectedFiles().front().toStdString();
    };
    return PrintOrSave(job, DefaultPrinterName(), ask);
}

}  // namespace vxl::report
