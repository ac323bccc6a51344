#include "app/diagnostic_trace.h"

#include "coordinator/coordinator.h"
#include "link/port_table.h"
#include "modem/capture_methods.h"
#include "ui/operator.h"
#include "util/format.h"

namespace vxl {

namespace {

constexpr const char* kCaption = "Diagnostic Trace";
constexpr const char* kFilter = "Transcripts (*.txt);;All files (*)";

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

WireTrace::Fields DiagnosticTraceFields(const VersionTexts& version,
                                        const CCoordinator& coordinator) {
    const int port = coordinator.Session().GetPort();
    const std::string device = port >= 0 ? PortTable::Instance().DevicePath(port) : std::string();
    return {
        {"program", "vxlconf " + version.versionText + " " + version.buildText},
        {"port", port < 0 ? std::string("none")
                          : Format("%d", port) + (device.empty() ? "" : " " + device)},
        {"line", "9600 baud, 8 data bits, no parity, 1 stop bit"},
        {"capture", CaptureMethodName(coordinator.Session().GetCaptureMethod())},
    };
}

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
    if (!Ui().ChooseSaveFile("Save Diagnostic Trace", kFilter, suggested, path)) return;
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
