// How long the pages take to show the settings again: the main window on the demo modem, an
// edit, then every parameter announced as changed (every page filled from the parameter set, as
// after a rule, an undo or the defaults). Also a key stroke in the Owner field and a modulation
// change, whose rules refill the pages themselves. "--short" runs a few rounds for the test
// suite. The figures are printed beside the target; the outcome is never judged by them.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "bench_demo.h"
#include "coordinator/coordinator.h"
#include "gui/event_pump.h"
#include "gui/main_dialog.h"
#include "gui/property_sheet.h"
#include "gui/qt_operator.h"
#include "gui/window_front_end.h"
#include "params/definitions.h"
#include "params/parameter_ids.h"
#include "scratch_folder.h"

namespace {

constexpr double kTargetMs = 5.0;

using Times = vxl::bench::Spread;

// `timed` after `before`, each round; with `painted` the time includes the repaint of the
// window that follows, else the window repaints between rounds.
Times Measure(int rounds, bool painted, const std::function<void(int)>& before,
              const std::function<void(int)>& timed) {
    std::vector<double> ms;
    QElapsedTimer clock;
    for (int i = 0; i < rounds; ++i) {
        before(i);
        QCoreApplication::processEvents();
        clock.start();
        timed(i);
        if (painted) QCoreApplication::processEvents();
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    return vxl::bench::SpreadOf(std::move(ms));
}

void Report(const char* what, const Times& t, bool withTarget) {
    std::printf("  %-46s median %6.3f ms, 99%% %6.3f ms, longest %6.3f ms", what, t.medianMs,
                t.p99Ms, t.longestMs);
    if (withTarget)
        std::printf(" %s",
                    t.medianMs < kTargetMs ? "(target < 5 ms: met)" : "(target < 5 ms: MISSED)");
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const bool quick = argc > 1 && std::strcmp(argv[1], "--short") == 0;
    vxl::bench::ScratchFolder scratch;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    vxl::gui::KeepCoreLocaleNeutral();
    vxl::gui::QtOperator ui(vxl::ProgramVersion());
    vxl::ScopedUi uiScope(ui);
    vxl::gui::PumpingClock pumping;
    vxl::ScopedClock clockScope(pumping);
    vxl::ScopedDefinitionsPath definitions(VXL_SOURCE_DATA_DIR "/vxlconf.ini");

    vxl::CConfigApp app;
    app.Coordinator().Init(0, 1);
    vxl::gui::MainDialog dialog(app);
    ui.SetMainWindow(&dialog);
    CCoordinator& coordinator = app.Coordinator();
    coordinator.SetView(&dialog);
    dialog.show();
    dialog.model().StartDemo();
    if (!coordinator.IsLoaded()) {
        std::fprintf(stderr, "gui_refresh_bench: the demo modem did not load\n");
        return 2;
    }
    dialog.sheet()->setCurrentIndex(1);
    const int rounds = quick ? 20 : 500;
    std::printf("Filling the pages on the demo modem (%d rounds)\n", rounds);
    auto owner = [](int i) { return "Owner " + std::to_string(i); };

    auto edit = [&](int i) { coordinator.Settings().SetText(vxl::pid::kOwner, owner(i)); };
    auto refreshPages = [&](int) { coordinator.Settings().Announce(vxl::ParameterChanges::All()); };
    const Times refresh = Measure(rounds, false, edit, refreshPages);
    Report("Every page refilled after an edit", refresh, true);
    Report("Every page refilled and the repaint after it",
           Measure(rounds, true, edit, refreshPages), false);
    Report("a key stroke in Owner, repainted",
           Measure(
               rounds, true, [](int) {}, edit),
           false);
    Report("a modulation change (rules, refill), repainted",
           Measure(
               rounds, true, [](int) {},
               [&](int i) { coordinator.Settings().SetInt(vxl::pid::kModulationType, i % 2); }),
           false);

    coordinator.SetView(nullptr);
    ui.SetMainWindow(nullptr);
    return 0;
}
