// From the Print command to a written PDF file: the configuration report of a demo modem with
// all 16 channels filled (its longest), and its memory-map listing. The first print includes
// loading the fonts; the following ones are the steady figure. "--short" prints each twice
// (for the test suite).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/report_jobs.h"
#include "bench_demo.h"
#include "coordinator/coordinator.h"
#include "gui/report/offscreen_renderer.h"
#include "params/definitions.h"
#include "params/modem_memory_image.h"
#include "scratch_folder.h"
#include "util/clock.h"

namespace {

using vxl::bench::InstantClock;
using vxl::bench::NowMs;

[[noreturn]] void Die(const std::string& why) {
    vxl::bench::DieDemo("report_pdf_bench", why);
}

void FillChannels(CCoordinator& coordinator) {
    vxl::bench::FillChannels(coordinator, "report_pdf_bench");
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::string(argv[1]) == "--short";
    vxl::bench::ScratchFolder scratch;
    InstantClock clock;
    vxl::ScopedClock scopedClock(clock);
    vxl::ScopedDefinitionsPath definitions(VXL_SOURCE_DATA_DIR "/vxlconf.ini");
    CCoordinator coordinator;
    if (coordinator.StartDemo() != 0) Die("the demo modem did not load");
    FillChannels(coordinator);

    vxl::report::OffscreenReportRenderer renderer;
    const vxl::ReportRenderer render = renderer.Renderer();
    const vxl::VersionTexts version = vxl::ProgramVersion();
    const std::string path = scratch.File("report.pdf");

    struct Report {
        const char* name;
        int (*make)(CCoordinator&, const vxl::VersionTexts&, vxl::ReportJob&);
    };
    const Report reports[] = {
        {"configuration report, 16 channels",
         [](CCoordinator& c, const vxl::VersionTexts& v, vxl::ReportJob& job) {
             return vxl::MakeConfigurationReportJob(c, v, job);
         }},
        {"memory-map listing, 246 bytes", vxl::MakeMemoryMapJob},
    };
    std::printf(
        "Print -> written PDF file (%s); the first print of the process also loads the "
        "fonts\n",
        path.c_str());
    for (const Report& report : reports) {
        std::vector<double> ms;
        size_t pages = 0;
        for (int run = 0; run < (quick ? 2 : 21); ++run) {
            const double start = NowMs();
            vxl::ReportJob job;
            std::string error;
            if (report.make(coordinator, version, job) != 0) Die("no job");
            const auto layout = job.layout;
            job.layout = [&](double lines) {
                vxl::ReportDocument document = layout(lines);
                pages = document.pages.size();
                return document;
            };
            if (render(job, vxl::PrintTarget{path, ""}, error) != 0) Die(error);
            ms.push_back(NowMs() - start);
        }
        const double first = ms.front();
        std::sort(ms.begin() + 1, ms.end());
        std::printf(
            "  %s, %zu page(s): first %.1f ms, then median %.1f ms, max %.1f ms "
            "(target < 300 ms)\n",
            report.name, pages, first, ms[ms.size() / 2], ms.back());
    }
    return 0;
}
