// vxlconf: configures a radio data modem over a serial port.
#include <string>
#include <vector>

#include "app/config_app.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    vxl::CConfigApp app;
    return app.Run(args);
}
