// vxlconf's headless runs stopped by a signal, end to end against a simulated modem: the modem
// is released (or stays in its boot loader, as the warning says), one line says so, and the
// exit status tells the signal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "coordinator/firmware_upgrade.h"
#include "e2e_fixture.h"

namespace vxl::sim::test {
namespace {

// SIGHUP, SIGTERM and SIGINT stop the protocol at its next exchange: the modem is released, one
// line says so, and the exit status tells the signal. During a firmware download the first
// Ctrl-C only warns (on standard error) that the modem would stay in its boot loader.
TEST_F(HeadlessRun, SignalsStopTheRunAndReleaseTheModem) {
    const std::string firmware = WriteFirmware(dir, 300);
    using Status = const SimStatus&;
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::function<bool(Status)> when;
        std::vector<int> signals;
        int status;
        std::string line;
        ModemMode modeAfter;
    } cases[] = {
        // clang-format off
        {"SIGHUP in the soft break", {"stealth", "x", "softbreak"},
         [](Status s) { return s.hostConnected; }, {SIGHUP}, 129,
         "vxlconf: stealth run interrupted by SIGHUP\n", ModemMode::kData},
        {"SIGTERM in the read", {"stealth", "x", "poweroncapture"},
         [](Status s) { return s.commandCount >= 20; }, {SIGTERM}, 143,
         "vxlconf: stealth run interrupted by SIGTERM; the modem was released\n",
         ModemMode::kData},
        {"Ctrl-C twice in the download", {"upgrade", firmware, "poweroncapture"},
         [](Status s) { return s.mode == ModemMode::kLoader; }, {SIGINT, SIGINT}, 130,
         "vxlconf: firmware upgrade interrupted by SIGINT. " + std::string(kLeftInBootLoader) +
             "\n",
         ModemMode::kLoader},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimOptions small;  // 32 configuration bytes, power-cycled as soon as asked
        small.profile.configSize = 32;
        small.operatorPowerCycleSeconds = 0.1;
        StartModem(small);
        quickPauses.reset();  // the run must still be going when the signal comes
        std::atomic<bool> done{false};
        std::atomic<int> sent{0};
        std::atomic<bool> stillRunning{false};
        std::thread signaller([&] {
            if (!sim->WaitFor([&](Status s) { return c.when(s) || done; }, 20000) || done) return;
            for (size_t i = 0; i < c.signals.size() && !done; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                if (i > 0) stillRunning = !done && sim->Status().mode == ModemMode::kLoader;
                ::kill(::getpid(), c.signals[i]);
                ++sent;
            }
        });
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"device", dir.File("modem")});
        const int status = RunVxlconf(args);
        done = true;
        signaller.join();
        EXPECT_EQ(sent, static_cast<int>(c.signals.size()));
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(ErrText(), c.line);
        EXPECT_EQ(stillRunning, c.signals.size() > 1) << "the first Ctrl-C only warns";
        EXPECT_TRUE(sim->WaitFor([&](Status s) { return s.mode == c.modeAfter; }, 3000))
            << ModeName(sim->Status().mode);
        StopModem();
        ClearOutput();
    }
}

}  // namespace
}  // namespace vxl::sim::test
