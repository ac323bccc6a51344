// From a click on Print in the main window to the written PDF file, with no printer set up: the
// configuration report of the demo modem with all 16 channels filled (two pages) and the Memory
// Map page's listing. Printing runs on the window's thread, so this is also the longest time
// the window stands still for it. The first print of the process includes loading the fonts.
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "bench_demo.h"
#include "gui/main_dialog.h"
#include "gui/qt_operator.h"
#include "gui/window_front_end.h"
#include "params/definitions.h"
#include "params/modem_memory_image.h"
#include "scratch_folder.h"

namespace {

constexpr double kTargetMs = 300.0;

using vxl::bench::InstantClock;
using vxl::bench::NowMs;

[[noreturn]] void Die(const std::string& why) {
    vxl::bench::DieDemo("gui_print_bench", why);
}

void FillChannels(CCoordinator& coordinator) {
    vxl::bench::FillChannels(coordinator, "gui_print_bench");
}

}  // namespace

int main(int argc, char** argv) {
    const bool brief = argc > 1 && std::strcmp(argv[1], "--short") == 0;
    vxl::bench::ScratchFolder scratch;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    vxl::gui::KeepCoreLocaleNeutral();
    vxl::gui::QtOperator ui(vxl::ProgramVersion());
    vxl::ScopedUi uiScope(ui);
    InstantClock clock;
    vxl::ScopedClock clockScope(clock);
    vxl::ScopedDefinitionsPath definitions(VXL_SOURCE_DATA_DIR "/vxlconf.ini");

    vxl::CConfigApp app;
    app.Coordinator().Init(0, 1);  // no first-run port question
    {
        vxl::gui::MainDialog dialog(app);
        ui.SetMainWindow(&dialog);
        app.Coordinator().SetView(&dialog);
        dialog.show();
        if (app.Coordinator().StartDemo() != 0) Die("the demo modem did not load");
        FillChannels(app.Coordinator());
        const std::string path = scratch.File("print.pdf");
        dialog.SetPrintDestination([] { return std::string(); },
                                   [&path](const std::string&) { return path; });

        struct Print {
            const char* what;
            std::function<void()> click;
        };
        const Print prints[] = {
            {"Print: configuration report, 16 channels",
             [&] { dialog.button(vxl::DialogButton::Print)->click(); }},
            {"Memory Map page's Print: listing", [&] { dialog.model().PrintMemoryMap(); }},
        };
        std::printf("Print in the main window -> written PDF file (%s), no printer\n",
                    path.c_str());
        for (const Print& print : prints) {
            std::vector<double> ms;
            for (int run = 0; run < (brief ? 2 : 21); ++run) {
                std::remove(path.c_str());
                const double start = NowMs();
                print.click();
                ms.push_back(NowMs() - start);
                struct stat written {};
                if (stat(path.c_str(), &written) != 0 || written.st_size == 0)
                    Die(std::string(print.what) + ": no PDF file was written");
            }
            const double first = ms.front();
            std::sort(ms.begin() + 1, ms.end());
            const double median = ms[ms.size() / 2];
            std::printf(
                "  %-42s first %6.1f ms, then median %6.1f ms, max %6.1f ms %s\n", print.what,
                first, median, ms.back(),
                median < kTargetMs ? "(target < 300 ms: met)" : "(target < 300 ms: MISSED)");
        }
        std::string response;
        app.Coordinator().Detach(response, true);
        app.Coordinator().SetView(nullptr);
        ui.SetMainWindow(nullptr);
    }
    return 0;
}
