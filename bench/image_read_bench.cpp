// A whole image read of a 246-byte VXL modem with line timing, compared with the sum of the
// protocol's own waits for those exchanges, and the reading side's CPU time.
//
//   image_read_bench [--short] [--baud N] [--adapter-latency MS] [--dribble MS]
//
// --short reads a small modem (for the test suite); --baud runs the modem at N (captured by a
// soft break); the other two are the simulator's line conditions.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "bench_session.h"

namespace {

constexpr double kProcessingMs = 1.0;  // the simulator's time per command

struct Line {
    int baud = 9600;
    int latencyMs = 0;
    int dribbleMs = 0;
};

// The wait one exchange cannot avoid: the write pause and line wait of the sender, or the
// reply's arrival (command and reply on the wire, the modem's processing, what the line adds)
// if later, then one 1 ms poll.
double ExchangeWaitMs(const Line& line, int commandLength) {
    const double byteMs = 10000.0 / line.baud;
    const double arrival =
        commandLength * byteMs + kProcessingMs + 4 * byteMs + 3 * line.dribbleMs + line.latencyMs;
    const double send = vxl::bench::SendWaitMs(line.baud, commandLength);
    return std::max(send, std::ceil(arrival)) + 1.0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vxl::bench;
    ScratchFolder scratch;
    std::vector<std::string> options{"--line-timing", "--processing-ms", "1"};
    Line line;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool valued = arg == "--baud" || arg == "--adapter-latency" || arg == "--dribble";
        if (arg == "--short") {
            options.insert(options.end(), {"--config-size", "32"});
        } else if (valued && i + 1 < argc) {
            const int value = std::atoi(argv[++i]);
            (arg == "--baud"      ? line.baud
             : arg == "--dribble" ? line.dribbleMs
                                  : line.latencyMs) = value;
            options.insert(options.end(), {arg, argv[i]});
        } else {
            Die("usage: image_read_bench [--short] [--baud N] [--adapter-latency MS] "
                "[--dribble MS]");
        }
    }
    SimProcess sim(scratch, options);
    Session session(sim, line.baud);
    CModem& modem = session.modem();

    std::string status;
    const double cpu0 = CpuSeconds();
    const double wall0 = WallMs();
    if (modem.ReadMemoryImage(status, false) != 0) Die("image read failed: " + status);
    const double wallMs = WallMs() - wall0;
    const double cpuMs = (CpuSeconds() - cpu0) * 1000.0;

    const auto image = modem.GetImage();
    const int bytes = image->GetMainSize() + image->GetExtensionSize();
    // Every image byte, the six key reads and the unlock, the two running-value reads.
    const double ideal = (bytes + 6 + 2) * ExchangeWaitMs(line, 5) + ExchangeWaitMs(line, 9);
    std::printf(
        "Image read of a VXL modem (N = %d, extension %d) at %d baud, line timing on, adapter "
        "latency %d ms, bytes %d ms apart\n",
        image->GetMainSize(), image->GetExtensionSize(), line.baud, line.latencyMs, line.dribbleMs);
    std::printf(
        "  wall %.0f ms; the protocol's own waits %.0f ms (%.0f ms per read) -> "
        "wall / waits = %.3f (target <= 1.00)\n",
        wallMs, ideal, ExchangeWaitMs(line, 5), wallMs / ideal);
    std::printf("  reading side CPU %.1f ms -> CPU / wall = %.4f (target <= 0.05)\n", cpuMs,
                cpuMs / wallMs);
    return 0;
}
