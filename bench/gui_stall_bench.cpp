// How long the window's event loop stalls while a modem loads: a 1 ms timer runs beside the
// load and the longest gap between its ticks is the longest time the window could not repaint.
// Loads the demo modem, then a simulated modem (vxlsim, line timing on) at 9600 baud captured
// by soft break, through the real main window with the program's own clock and operator.
// The figures are printed beside the target; the outcome is never judged by them.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/config_app.h"
#include "bench_session.h"
#include "gui/event_pump.h"
#include "gui/main_dialog.h"
#include "gui/qt_operator.h"
#include "gui/window_front_end.h"
#include "link/port_table.h"
#include "params/definitions.h"

namespace {

constexpr double kTargetMs = 50.0;

struct Stalls {
    double longestMs = 0;
    double p99Ms = 0;
    double totalMs = 0;
    int ticks = 0;
};

// Runs `load` from the event loop, as a button would, while a 1 ms timer ticks.
Stalls Measure(const std::function<void()>& load) {
    std::vector<double> gaps;
    QElapsedTimer clock;
    clock.start();
    double last = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        // A message box would wait for an operator that is not there.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            vxl::bench::Die("the window asks: " + box->text().toStdString());
        const double now = clock.nsecsElapsed() / 1e6;
        gaps.push_back(now - last);
        last = now;
    });
    bool done = false;
    QTimer::singleShot(0, [&] {
        last = clock.nsecsElapsed() / 1e6;
        ticker.start(1);
        load();
        const double now = clock.nsecsElapsed() / 1e6;
        gaps.push_back(now - last);  // the stretch up to the end of the command
        ticker.stop();
        done = true;
    });
    while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Stalls s;
    s.totalMs = clock.nsecsElapsed() / 1e6;
    s.ticks = static_cast<int>(gaps.size());
    std::sort(gaps.begin(), gaps.end());
    if (!gaps.empty()) {
        s.longestMs = gaps.back();
        s.p99Ms = gaps[static_cast<size_t>(gaps.size() * 0.99)];
    }
    return s;
}

void Report(const char* what, const Stalls& s) {
    std::printf("  %-40s load %6.0f ms, %5d ticks, longest stall %5.1f ms, 99%% %4.1f ms %s\n",
                what, s.totalMs, s.ticks, s.longestMs, s.p99Ms,
                s.longestMs <= kTargetMs ? "(target <= 50 ms: met)" : "(target <= 50 ms: MISSED)");
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    vxl::bench::ScratchFolder scratch;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    vxl::gui::KeepCoreLocaleNeutral();
    vxl::gui::QtOperator ui(vxl::ProgramVersion());
    vxl::ScopedUi uiScope(ui);
    vxl::gui::PumpingClock pumping;
    vxl::ScopedClock clockScope(pumping);
    vxl::ScopedDefinitionsPath definitions(VXL_SOURCE_DATA_DIR "/vxlconf.ini");

    std::printf("Event-loop stalls while loading a modem into the main window\n");
    {
        vxl::CConfigApp app;
        app.Coordinator().Init(0, 1);  // no first-run port question
        vxl::gui::MainDialog dialog(app);
        ui.SetMainWindow(&dialog);
        app.Coordinator().SetView(&dialog);
        dialog.show();
        const Stalls demo = Measure([&] { dialog.model().StartDemo(); });
        Report("demo modem (Alt+D)", demo);
        std::string response;
        app.Coordinator().Detach(response, true);

        vxl::bench::SimProcess sim(scratch,
                                   {"--line-timing", "--processing-ms", "1", "--baud", "9600"});
        app.Coordinator().Init(vxl::PortTable::Instance().AssignDevice(sim.link()), 1);
        const Stalls real = Measure([&] { dialog.model().Load(); });
        if (!app.Coordinator().IsLoaded()) vxl::bench::Die("the simulated modem did not load");
        Report("simulated modem, soft break, 9600 baud", real);
        app.Coordinator().Detach(response, false);
        app.Coordinator().SetView(nullptr);
        ui.SetMainWindow(nullptr);
    }
    return 0;
}
