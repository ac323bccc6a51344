// What the read-back after programming costs: a Program of a VXL modem at 9600 baud with line
// timing, with and without verification, and the backup written before it.
//
//   verify_cost_bench [--short]
//
// --short programs a small modem once, verified (for the test suite).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_session.h"
#include "coordinator/coordinator.h"
#include "params/definitions.h"
#include "params/modem_memory_image.h"
#include "sim/lib/simulator.h"

namespace {

using vxl::bench::Die;

using vxl::bench::WallMs;

// Programs the modem once (the whole image is written whether it changed or not).
double ProgramMs(CCoordinator& c, bool verify) {
    c.Programming().SetVerifyAfterProgramming(verify, false);
    std::string response;
    const double start = WallMs();
    const int result = c.Program(response);
    const double ms = WallMs() - start;
    if (result != 0)
        Die("program failed: " + std::to_string(result) + " " + c.Programming().GetProgramNote());
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = vxl::bench::ShortMode(argc, argv);
    // The simulator's link and the backups.
    vxl::bench::ScratchFolder scratch;

    vxl::sim::SimOptions options;
    options.linkPath = scratch.File("modem");
    options.lineTiming = true;
    if (quick) options.profile.configSize = 32;
    options.processingMs = 1.0;
    vxl::sim::Simulator sim(options);
    std::string error;
    if (!sim.Start(&error)) Die("simulator: " + error);

    vxl::ScopedDefinitionsPath definitions(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini");
    CCoordinator c;
    c.Programming().SetBackupRoot(scratch.File("backups"));
    c.Init(vxl::PortTable::Instance().AssignDevice(sim.LinkPath()), 1);
    std::string response;
    if (c.Attach(response, false) != 0 || c.Read(response, false) != 0)
        Die("load failed: " + response);

    const double plain = quick ? 0.0 : ProgramMs(c, false);
    const double verified = ProgramMs(c, true);
    const ModemMemoryImage& image = *c.Settings().Image();
    std::printf("Program of a VXL modem (%d + %d bytes) at 9600 baud, line timing on\n",
                image.GetMainSize(), image.GetExtensionSize());
    if (quick) {
        std::printf("  programmed and verified in %.2f s (short run)\n", verified / 1000.0);
    } else {
        std::printf(
            "  without verification %.2f s, with verification %.2f s -> the read-back "
            "costs %.2f s (%.0f%% more)\n",
            plain / 1000.0, verified / 1000.0, (verified - plain) / 1000.0,
            100.0 * (verified - plain) / plain);
    }
    c.Detach(response);
    sim.Stop();
    return 0;
}
