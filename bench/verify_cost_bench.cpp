// What programming a change costs: headless runs of vxlconf against a VXL modem simulated at
// 9600 baud with line timing, captured by a soft break, each timed against a plain export of the
// same modem. The changes: one field (the owner), a whole channel table (32 frequencies) into the
// factory-fresh modem's table and then over another whole table, and Factory Defaults on a modem
// whose settings were changed; the one-field change also with `fullwrite` (every byte written
// and read back). The simulator's count of memory writes says how many bytes each wrote.
//
//   verify_cost_bench [--short] [--rounds N]
//
// --short runs a one-field change once on a smaller modem without line timing (for the test
// suite).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "bench_session.h"
#include "link/port_table.h"
#include "scratch_folder.h"
#include "sim/lib/simulator.h"
#include "util/format.h"
#include "util/preferences.h"

namespace {

using vxl::bench::Die;
using vxl::bench::WallMs;

// The folder of the simulator's link, the files and the backups, removed on every way out.
const vxl::bench::ScratchFolder* scratch = nullptr;

std::string File(const std::string& name) {
    return scratch->File(name);
}

void Write(const std::string& name, const std::string& text) {
    std::FILE* f = std::fopen(File(name).c_str(), "w");
    if (f == nullptr || std::fputs(text.c_str(), f) < 0 || std::fclose(f) != 0)
        Die("cannot write " + File(name));
}

// A profile with all 16 channels: receive from `rx`, transmit from `tx`, `spacing` MHz apart.
std::string ChannelPlan(double rx, double tx, double spacing) {
    std::string text = "[VXL]\n";
    for (int n = 0; n < 16; ++n)
        text += vxl::Format("RXChannel_%d=%.4f\nTXChannel_%d=%.4f\n", n, rx + n * spacing, n,
                            tx + n * spacing);
    return text;
}

struct Measured {
    double seconds = 0;
    int bytesWritten = 0;
};

class Bench {
  public:
    explicit Bench(bool quick) : quick_(quick) {}

    // A fresh modem: the factory table, 9600 baud.
    void StartModem() {
        if (sim_) sim_->Stop();
        vxl::sim::SimOptions options;
        options.linkPath = File("modem");
        options.lineTiming = !quick_;
        options.processingMs = 1.0;
        // The short run's modem still holds the owner and the synthesizer type (0x1A0).
        if (quick_) options.profile.configSize = 0xA1;
        sim_ = std::make_unique<vxl::sim::Simulator>(options);
        std::string error;
        if (!sim_->Start(&error)) Die("simulator: " + error);
    }

    // One headless run of vxlconf; its standard output is dropped, its error line shown when it
    // fails.
    Measured Run(std::vector<std::string> args) {
        args.insert(args.end(), {"device", sim_->LinkPath(), "softbreak", "nologo"});
        sim_->ClearMemoryWrites();
        std::fflush(stdout);
        const int saved = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        std::FILE* err = std::tmpfile();
        if (err == nullptr) Die("no temporary file");
        const double start = WallMs();
        int status;
        {
            vxl::CConfigApp app;
            app.SetPreferencePath(File("prefs.conf"));
            app.SetErrorStream(err);
            app.Coordinator().Programming().SetBackupRoot(File("backups"));
            status = app.Run(args);
        }
        const double ms = WallMs() - start;
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
        close(null);
        std::string errors;
        std::rewind(err);
        for (int c; (c = std::fgetc(err)) != EOF;) errors += static_cast<char>(c);
        std::fclose(err);
        if (status != 0) Die(args[0] + " run failed: " + errors);
        int written = 0;
        for (const auto& entry : sim_->MemoryWrites()) written += entry.second;
        return {ms / 1000.0, written};
    }

    void Stop() {
        if (sim_) sim_->Stop();
    }

  private:
    bool quick_;
    std::unique_ptr<vxl::sim::Simulator> sim_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = vxl::bench::ShortMode(argc, argv);
    int rounds = 3;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--rounds" && i + 1 < argc) rounds = std::atoi(argv[++i]);
    if (quick) rounds = 1;
    const vxl::bench::ScratchFolder folder;
    scratch = &folder;
    vxl::PreferenceStore(File("prefs.conf")).SetText(vxl::kPrefInstallDir, VXL_SOURCE_DATA_DIR);
    Write("plan_a.ini", ChannelPlan(450.0125, 460.0125, 0.5));
    Write("plan_b.ini", ChannelPlan(452.2375, 462.9875, 0.3));
    Write("changes.ini",
          "[VXL]\nDigisquelch=Off\nTransmitRetries=5\nLocalAddress=12\nRemoteAddress=7\n"
          "CSMAMonitor=no\nScrambling=no\nForwardErrorCorrection=no\nRepeater=yes\n");

    // Scenario name -> the seconds above the round's export, and the bytes written.
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> added;
    std::map<std::string, int> bytes;
    std::vector<double> exports;
    auto record = [&](const std::string& name, const Measured& m, double exportSeconds) {
        if (added.find(name) == added.end()) order.push_back(name);
        added[name].push_back(m.seconds - exportSeconds);
        bytes[name] = m.bytesWritten;
    };

    Bench bench(quick);
    for (int round = 0; round < rounds; ++round) {
        bench.StartModem();
        // The short run shows only that a change still programs.
        const double exportSeconds = quick ? 0.0 : bench.Run({"stealth", File("plain")}).seconds;
        exports.push_back(exportSeconds);
        // An owner the modem does not hold yet, 20 characters.
        Write("owner.ini", vxl::Format("[VXL]\nOwner=North Quarry Depot %02d\n", round));
        record("one field (the owner)", bench.Run({"loadprofile", File("owner.ini")}),
               exportSeconds);
        if (quick) continue;
        Write("owner.ini", vxl::Format("[VXL]\nOwner=South Gravel Pit %02d\n", round));
        record("one field, fullwrite", bench.Run({"loadprofile", File("owner.ini"), "fullwrite"}),
               exportSeconds);
        record("channel table into the factory table",
               bench.Run({"loadprofile", File("plan_a.ini")}), exportSeconds);
        record("channel table over another", bench.Run({"loadprofile", File("plan_b.ini")}),
               exportSeconds);
        bench.Run({"loadprofile", File("changes.ini")});
        record("Factory Defaults on a changed modem", bench.Run({"defaults"}), exportSeconds);
    }
    bench.Stop();

    if (quick) {
        std::printf(
            "A run programming a one-field change took %.2f s, %d bytes written (short run)\n",
            added[order[0]][0], bytes[order[0]]);
        return 0;
    }
    std::printf(
        "Headless runs against a VXL modem (vxlsim in process) at 9600 baud, line timing on, "
        "soft break; median of %d round(s)\n",
        rounds);
    std::printf("  plain export %.2f s\n", Median(exports));
    for (const std::string& name : order)
        std::printf("  %-38s +%.2f s over the export, %3d bytes written\n", name.c_str(),
                    Median(added[name]), bytes[name]);
    return 0;
}
