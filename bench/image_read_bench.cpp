// A whole image read of a 246-byte VXL modem at 9600 baud with line timing, compared with the
// sum of the protocol's own waits for those exchanges, and the reading side's CPU time.
#include <cmath>
#include <cstdio>

#include "bench_session.h"

namespace {

constexpr int kBaud = 9600;
constexpr double kProcessingMs = 1.0;  // the simulator's time per command

// The wait one exchange cannot avoid: the write pause and line wait of the sender, or the
// reply's arrival (command and reply on the wire plus the modem's processing) if later, then
// one 1 ms poll.
double ExchangeWaitMs(int commandLength) {
    const double byteMs = 10000.0 / kBaud;
    const double arrival = commandLength * byteMs + kProcessingMs + 4 * byteMs;
    const double send = vxl::bench::SendWaitMs(kBaud, commandLength);
    return std::max(send, std::ceil(arrival)) + 1.0;
}

}  // namespace

int main() {
    using namespace vxl::bench;
    SimProcess sim({"--line-timing", "--processing-ms", "1"});
    Session session(sim);
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
    const double ideal = (bytes + 6 + 2) * ExchangeWaitMs(5) + ExchangeWaitMs(9);
    std::printf("Image read of a VXL modem (N = %d, extension %d) at %d baud, line timing on\n",
                image->GetMainSize(), image->GetExtensionSize(), kBaud);
    std::printf(
        "  wall %.0f ms; the protocol's own waits %.0f ms (%.0f ms per read) -> "
        "wall / waits = %.3f (target <= 1.10)\n",
        wallMs, ideal, ExchangeWaitMs(5), wallMs / ideal);
    std::printf("  reading side CPU %.1f ms -> CPU / wall = %.4f (target <= 0.05)\n", cpuMs,
                cpuMs / wallMs);
    return 0;
}
