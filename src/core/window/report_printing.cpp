#include "window/report_printing.h"

#include "ui/operator.h"
#include "util/result_codes.h"

namespace vxl {

namespace {
constexpr const char* kCaption = "Print Report";
}  // namespace

PrintOutcome PrintOrSave(const ReportJob& job, const std::string& printerName,
                         const AskPdfPath& askPdfPath, const ReportRenderer& render) {
    std::string error;
    if (!printerName.empty()) {
        int result;
        {
            WaitCursor wait;
            result = render(job, PrintTarget{std::string(), printerName}, error);
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
        result = render(job, PrintTarget{path, std::string()}, error);
    }
    if (result == rc::kOk) return PrintOutcome::SavedAsPdf;
    Ui().MessageBox(error, kCaption, MsgIcon::Stop, MsgButtons::Ok);
    return PrintOutcome::Failed;
}

}  // namespace vxl
