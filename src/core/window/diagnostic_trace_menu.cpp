#include "window/diagnostic_trace_menu.h"

#include "ui/operator.h"
#include "util/format.h"
#include "util/path_text.h"

namespace vxl {

namespace {
constexpr const char* kCaption = "Diagnostic Trace";
constexpr const char* kTraceFilter = "Transcripts (*.txt);;All files (*)";
}  // namespace

std::string DiagnosticTraceMenu::ItemText() const {
    return GetWireTrace().IsRecording() ? "Stop Diagnostic Trace" : "Save Diagnostic Trace...";
}

void DiagnosticTraceMenu::Click() {
    WireTrace& trace = GetWireTrace();
    if (trace.IsRecording()) {
        const std::string path = trace.Path();
        const FileResult written = trace.Stop();
        if (!written.ok()) {
            Ui().MessageBox(
                "The diagnostic trace could not be written: " + FileErrorText(written, path),
                kCaption, MsgIcon::Stop, MsgButtons::Ok);
            return;
        }
        Ui().MessageBox(Format("The diagnostic trace is saved in\n%s\n\nSend this file with your "
                               "report to the support desk.",
                               path.c_str()),
                        kCaption, MsgIcon::None, MsgButtons::Ok);
        return;
    }
    std::string path;
    const std::string suggested = (folder_.empty() ? "" : folder_ + "/") + "vxlconf-trace.txt";
    if (!Ui().ChooseSaveFile("Save Diagnostic Trace", kTraceFilter, suggested, path)) return;
    folder_ = FolderOf(path);
    const FileResult started = trace.Start(path, DiagnosticTraceFields(version_, coordinator_));
    if (!started.ok()) {
        Ui().MessageBox("The diagnostic trace cannot be saved: " + FileErrorText(started, path),
                        kCaption, MsgIcon::Stop, MsgButtons::Ok);
        return;
    }
    Ui().MessageBox(Format("Every byte to and from the modem is now recorded in\n%s\n\nRepeat "
                           "what went wrong, then choose Help > Stop Diagnostic Trace (or end "
                           "the program) and send the file to the support desk.",
                           path.c_str()),
                    kCaption, MsgIcon::None, MsgButtons::Ok);
}

}  // namespace vxl
