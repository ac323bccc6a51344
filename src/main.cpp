// vxlconf: configures a radio data modem over a serial port.
#include <string>
#include <vector>

#include "app/config_app.h"
#include "gui/report/offscreen_renderer.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // The headless runs' reports are drawn without a display; made before the application so
    // that it outlives everything the application owns.
    vxl::report::OffscreenReportRenderer reportRenderer;
    vxl::CConfigApp app;
    app.SetReportRenderer(reportRenderer.Renderer());
    return app.Run(args);
}
