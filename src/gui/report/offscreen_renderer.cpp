#include "gui/report/offscreen_renderer.h"

#include <QGuiApplication>
#include <clocale>
#include <cstdio>

#include "gui/report/report_output.h"

namespace vxl::report {

namespace {

// A headless run ends in one line on standard error when it fails; the toolkit's own notes
// (such as a missing runtime folder) would only get in the way. Its errors still go through.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "vxlconf: %s\n", message.toLocal8Bit().constData());
}

char kProgram[] = "vxlconf";
char kPlatformSwitch[] = "-platform";
char kOffscreen[] = "offscreen";
}  // namespace

OffscreenReportRenderer::OffscreenReportRenderer()
    : argv_{kProgram, kPlatformSwitch, kOffscreen, nullptr} {}

OffscreenReportRenderer::~OffscreenReportRenderer() {
    if (!app_) return;
    app_.reset();
    qInstallMessageHandler(previousHandler_);
}

ReportRenderer OffscreenReportRenderer::Renderer() {
    return [this](const ReportJob& job, const PrintTarget& target, std::string& error) {
        return Render(job, target, error);
    };
}

void OffscreenReportRenderer::EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    // Qt adopts the user's locale; the core's numbers and dates must not follow it.
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    previousHandler_ = qInstallMessageHandler(QuietMessages);
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    std::setlocale(LC_ALL, locale.c_str());
}

int OffscreenReportRenderer::Render(const ReportJob& job, const PrintTarget& target,
                                    std::string& error) {
    EnsureApplication();
    return RenderReport(job, target, error);
}

}  // namespace vxl::report
