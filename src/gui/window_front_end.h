// The interactive path with windows: opens the display once the command line asks for the
// window (headless runs never get here), installs the Qt operator interface and the clock whose
// sleeps keep the window alive, and runs the main window.
#pragma once

#include <QApplication>
#include <memory>
#include <string>

#include "gui/event_pump.h"
#include "gui/qt_operator.h"

namespace vxl {
class CConfigApp;
}

namespace vxl::gui {

// Whether a window can be shown here: a platform chosen by QT_QPA_PLATFORM, a Wayland display,
// or an X display whose local socket exists. `why` says what is missing.
bool DisplayAvailable(std::string* why);

// Puts the C library's number and time formats back to "C" after Qt adopted the user's locale:
// the core's numbers, frequencies and dates never follow it.
void KeepCoreLocaleNeutral();

class WindowFrontEnd {
  public:
    WindowFrontEnd(int& argc, char** argv) : argc_(argc), argv_(argv) {}
    ~WindowFrontEnd();
    WindowFrontEnd(const WindowFrontEnd&) = delete;
    WindowFrontEnd& operator=(const WindowFrontEnd&) = delete;

    // CConfigApp's interactive open and run.
    int Open(CConfigApp& app);
    int Run(CConfigApp& app);

    // Binds both to `app`.
    void Attach(CConfigApp& app);

  private:
    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<QtOperator> operator_;
    std::unique_ptr<ScopedUi> uiScope_;
    PumpingClock clock_;
    std::unique_ptr<ScopedClock> clockScope_;
};

}  // namespace vxl::gui
