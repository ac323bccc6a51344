// One memory-read exchange against a modem that answers at once, compared with the protocol's
// own floor (10 ms write pause + line time + one 1 ms poll), and the CPU the reading process
// spends on a whole 255-byte image read. "--short" runs a few exchanges on a small modem.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_session.h"

int main(int argc, char** argv) {
    using namespace vxl::bench;
    const bool quick = ShortMode(argc, argv);
    std::vector<std::string> options{"--no-line-timing"};
    if (quick) options.insert(options.end(), {"--config-size", "32"});
    ScratchFolder scratch;
    SimProcess sim(scratch, options);
    Session session(sim);
    CModem& modem = session.modem();

    const int kExchanges = quick ? 20 : 200;
    std::vector<double> times;
    std::string status;
    for (int i = 0; i < kExchanges; ++i) {
        uint8_t value = 0;
        const double start = WallMs();
        if (modem.ReadMemoryLocation(status, value, 0x100 + i % 246, 10) != 0)
            Die("read failed: " + status);
        times.push_back(WallMs() - start);
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times) sum += t;
    const double mean = sum / kExchanges;
    const double floorMs = SendWaitMs(9600, 5) + 1;  // 10 + (5 + 1) + 1 = 17 ms
    std::printf("ReadMemoryLocation at 9600 baud, peer answering at once, %d exchanges\n",
                kExchanges);
    std::printf("  mean %.2f ms, median %.2f ms, min %.2f ms, max %.2f ms\n", mean,
                times[kExchanges / 2], times.front(), times.back());
    std::printf("  floor %.0f ms -> mean / floor = %.3f (target <= 1.10)\n", floorMs,
                mean / floorMs);

    const double cpu0 = CpuSeconds();
    const double wall0 = WallMs();
    if (modem.ReadMemoryImage(status, false) != 0) Die("image read failed: " + status);
    const double wallMs = WallMs() - wall0;
    const double cpuMs = (CpuSeconds() - cpu0) * 1000.0;
    std::printf(
        "Image read (%d + %d bytes): wall %.0f ms, CPU %.1f ms -> CPU / wall = %.4f "
        "(target <= 0.05)\n",
        modem.GetImage()->GetMainSize(), modem.GetImage()->GetExtensionSize(), wallMs, cpuMs,
        cpuMs / wallMs);
    return 0;
}
