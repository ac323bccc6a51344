// vxlconf: configures a radio data modem over a serial port.
#include <string>
#include <vector>

#include "app/config_app.h"
#include "gui/report/offscreen_renderer.h"
#include "gui/window_front_end.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // The window front end and the headless runs' report renderer outlive the application
    // object, so that releasing the modem at the end still talks to the operator interface the
    // front end installed.
    vxl::gui::WindowFrontEnd frontEnd(argc, argv);
    vxl::report::OffscreenReportRenderer reportRenderer;
    vxl::CConfigApp app;
    frontEnd.Attach(app);
    app.SetReportRenderer(reportRenderer.Renderer());
    return app.Run(args);
}
