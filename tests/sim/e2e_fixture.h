// End-to-end tests: a simulated modem on a pseudo-terminal, the real CComPort on its link and
// the real CModem on that port, with real time.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "link/com_port.h"
#include "link/port_table.h"
#include "modem/firmware_file.h"
#include "modem/modem.h"
#include "sim/lib/simulator.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "ui/operator.h"
#include "util/clock.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl::sim::test {

// Runs a shell command: its exit status, and what it wrote to standard output and error.
inline int RunCommand(const std::string& command, std::string* output) {
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) *output += buffer;
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Writes an upgrade file of `records` S1 records of 32 bytes into `dir`.
inline std::string WriteFirmware(const vxl::test::TempDir& dir, int records) {
    std::string text = FormatSrecord('0', 0, "HDR");
    for (int i = 0; i < records; ++i)
        text += FormatSrecord('1', 0x9000 + 32 * i, std::string(32, static_cast<char>(i)));
    CFirmwareFile file;
    file.SetText(text + FormatSrecord('9', 0x9000, ""));
    const std::string path = dir.File("firmware.fw");
    EXPECT_EQ(file.WriteUpgradeFile(path), vxl::rc::kOk);
    return path;
}

class EndToEnd : public ::testing::Test {
  protected:
    // Starts a simulated modem; `options` gives the modem and its faults. Line timing is left
    // to the tests whose polls are generous: with a busy machine the simulator's paced bytes
    // could come later than the image read's 10 polls allow. Without line timing nothing paces
    // the exchanges but the protocol's own pauses, which are then cut short.
    void StartModem(SimOptions options = SimOptions(), bool lineTiming = false) {
        if (!lineTiming && !quickPauses) quickPauses.emplace(quickClock);
        options.linkPath = dir.File("modem");
        options.lineTiming = lineTiming;
        options.processingMs = 1.0;
        sim = std::make_unique<Simulator>(options);
        std::string error;
        ASSERT_TRUE(sim->Start(&error)) << error;
        portNumber = vxl::PortTable::Instance().AssignDevice(sim->LinkPath());
        ASSERT_GT(portNumber, 0);
    }
    // Opens the port the way the coordinator does and starts its monitor.
    void OpenPort(int baud = 9600) {
        ASSERT_TRUE(port.Open(true, portNumber, baud, 0, 8, 0, 9, 100000))
            << "errno " << port.GetLastError();
        ASSERT_TRUE(port.StartMonitor());
        modem = std::make_unique<CModem>(&port);
    }
    // Runs `body` while `event` happens to the simulator, 200 ms after the body starts.
    int During(const std::function<void()>& event, const std::function<int()>& body) {
        std::thread other([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            event();
        });
        const int result = body();
        other.join();
        return result;
    }
    // Power-on capture; the modem is power-cycled unless another `event` is given.
    int PowerOnCapture(std::function<void()> event = nullptr) {
        if (!event) event = [this] { sim->PowerCycle(); };
        return During(event, [this] { return modem->Capture(status, 3, false); });
    }
    void TearDown() override {
        modem.reset();
        port.Close();
        if (sim) sim->Stop();
    }

    vxl::test::QuickPauseClock quickClock;
    std::optional<ScopedClock> quickPauses;
    vxl::test::TempDir dir;
    vxl::test::RecordingOperator ui;
    vxl::ScopedUi scopedUi{ui};
    std::unique_ptr<Simulator> sim;
    int portNumber = 0;
    CComPort port;
    std::unique_ptr<CModem> modem;
    std::string status;  // the protocol's response text of the last call
};

}  // namespace vxl::sim::test
