// What the read-back after programming costs: a Program of a VXL modem at 9600 baud with line
// timing, with and without verification, and the backup written before it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_session.h"
#include "coordinator/coordinator.h"
#include "params/definitions.h"
#include "params/parameter_ids.h"
#include "sim/lib/simulator.h"

namespace {

using vxl::bench::Die;
using vxl::bench::WallMs;

double ProgramMs(CCoordinator& c, bool verify, const char* owner) {
    c.SetVerifyAfterProgramming(verify, false);
    if (c.SetTextParameter(vxl::pid::kOwner, owner) != 0) Die("edit refused");
    std::string response;
    const double start = WallMs();
    const int result = c.Program(response);
    const double ms = WallMs() - start;
    if (result != 0) Die("program failed: " + std::to_string(result) + " " + c.GetProgramNote());
    return ms;
}

}  // namespace

int main() {
    char folder[] = "/tmp/vxlverify.XXXXXX";
    if (mkdtemp(folder) == nullptr) Die("no temporary folder");
    const std::string root = folder;

    vxl::sim::SimOptions options;
    options.linkPath = root + "/modem";
    options.lineTiming = true;
    options.processingMs = 1.0;
    vxl::sim::Simulator sim(options);
    std::string error;
    if (!sim.Start(&error)) Die("simulator: " + error);

    vxl::ScopedDefinitionsPath definitions(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini");
    CCoordinator c;
    c.SetBackupRoot(root + "/backups");
    c.Init(vxl::PortTable::Instance().AssignDevice(sim.LinkPath()), 1);
    std::string response;
    if (c.Attach(response, false) != 0 || c.Read(response, false) != 0)
        Die("load failed: " + response);

    const double plain = ProgramMs(c, false, "Bench 1");
    const double verified = ProgramMs(c, true, "Bench 2");
    std::printf("Program of a VXL modem (246 + 9 bytes) at 9600 baud, line timing on\n");
    std::printf("  without verification %.2f s, with verification %.2f s -> the read-back costs "
                "%.2f s (%.0f%% more)\n",
                plain / 1000.0, verified / 1000.0, (verified - plain) / 1000.0,
                100.0 * (verified - plain) / plain);
    c.Detach(response);
    sim.Stop();
    std::system(("rm -rf " + root).c_str());
    return 0;
}
