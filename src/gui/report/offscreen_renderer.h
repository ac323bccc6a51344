// The report renderer of the headless runs: they print without any display, so the program's
// Qt application object is made on the "offscreen" platform, once, when the first report is
// drawn, and only then.
#pragma once

#include <QtGlobal>
#include <memory>
#include <string>

#include "reports/report_document.h"

class QGuiApplication;

namespace vxl::report {

class OffscreenReportRenderer {
  public:
    OffscreenReportRenderer();
    ~OffscreenReportRenderer();
    OffscreenReportRenderer(const OffscreenReportRenderer&) = delete;
    OffscreenReportRenderer& operator=(const OffscreenReportRenderer&) = delete;

    // A ReportRenderer that draws through this object (which must outlive it).
    ReportRenderer Renderer();
    // Makes the application object unless the program already has one.
    void EnsureApplication();

  private:
    int Render(const ReportJob& job, const PrintTarget& target, std::string& error);

    int argc_ = 3;
    char* argv_[4];
    std::unique_ptr<QGuiApplication> app_;
    QtMessageHandler previousHandler_ = nullptr;
};

}  // namespace vxl::report
