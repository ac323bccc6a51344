#include "gui/window_front_end.h"

#include <QFileInfo>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "app/config_app.h"
#include "gui/logo_panel.h"
#include "gui/main_dialog.h"

namespace vxl::gui {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The display number of a local X display (":0", ":1.0", "unix:2"), or -1 for a remote one.
int LocalDisplayNumber(const std::string& display) {
    std::string rest;
    if (display.rfind(':', 0) == 0) {
        rest = display.substr(1);
    } else if (display.rfind("unix:", 0) == 0) {
        rest = display.substr(5);
    } else {
        return -1;
    }
    return std::atoi(rest.c_str());
}

}  // namespace

bool DisplayAvailable(std::string* why) {
    if (!Environment("QT_QPA_PLATFORM").empty()) return true;
    if (!Environment("WAYLAND_DISPLAY").empty()) return true;
    const std::string display = Environment("DISPLAY");
    if (display.empty()) {
        *why = "no display: DISPLAY is not set";
        return false;
    }
    const int number = LocalDisplayNumber(display);
    if (number >= 0 && !QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))) {
        *why = "no X server answers on display " + display;
        return false;
    }
    return true;
}

void KeepCoreLocaleNeutral() {
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_TIME, "C");
}

WindowFrontEnd::~WindowFrontEnd() {
    clockScope_.reset();
    uiScope_.reset();
    operator_.reset();
    application_.reset();
}

void WindowFrontEnd::Attach(CConfigApp& app) {
    app.SetInteractiveOpen([this](CConfigApp& a) { return Open(a); });
    app.SetInteractiveRun([this](CConfigApp& a) { return Run(a); });
}

int WindowFrontEnd::Open(CConfigApp& app) {
    std::string why;
    if (!DisplayAvailable(&why)) {
        std::fprintf(stderr, "%s\n", NoDisplayText(why).c_str());
        return kExitNoDisplay;
    }
    application_ = std::make_unique<QApplication>(argc_, argv_);
    KeepCoreLocaleNeutral();
    QApplication::setApplicationName(QStringLiteral("vxlconf"));
    // Desktops match the window to the installed desktop entry (its icon and name) by this id.
    QApplication::setDesktopFileName(QStringLiteral("com.norvale.vxlconf"));
    QApplication::setOrganizationName(QString::fromStdString(app.Version().companyName));
    QApplication::setWindowIcon(ProgramIcon());
    operator_ = std::make_unique<QtOperator>(app.Version());
    uiScope_ = std::make_unique<ScopedUi>(*operator_);
    clockScope_ = std::make_unique<ScopedClock>(clock_);
    return kExitOk;
}

int WindowFrontEnd::Run(CConfigApp& app) {
    CCoordinator& coordinator = app.Coordinator();
    int status = kExitOk;
    {
        MainDialog dialog(app);
        operator_->SetMainWindow(&dialog);
        coordinator.SetView(&dialog);
        dialog.exec();
        coordinator.SetView(nullptr);
        operator_->SetMainWindow(nullptr);
    }
    return status;
}

}  // namespace vxl::gui
