// End-to-end tests: a simulated modem on a pseudo-terminal, the real CComPort on its link and
// the real CModem on that port, with real time; and vxlconf's headless runs in this process
// against it, with the program's own CConfigApp, its standard output and error caught, in a
// working directory and data folder of the test's own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/config_app.h"
#include "link/com_port.h"
#include "link/port_table.h"
#include "modem/firmware_file.h"
#include "modem/modem.h"
#include "sim/lib/simulator.h"
#include "support/captured_output.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "ui/operator.h"
#include "util/clock.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl::sim::test {

using vxl::test::RunCommand;

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
    // A VXL with `faults` and `configSize` configuration bytes (a small one keeps reads short).
    void StartVxl(const FaultPlan& faults = FaultPlan(), int configSize = 246,
                  bool lineTiming = false) {
        SimOptions options;
        options.faults = faults;
        options.profile.configSize = configSize;
        StartModem(options, lineTiming);
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
    void StopModem() {
        modem.reset();
        port.Close();
        if (sim) sim->Stop();
    }
    void TearDown() override { StopModem(); }

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

class HeadlessRun : public EndToEnd {
  protected:
    void SetUp() override {
        ASSERT_NE(::getcwd(savedCwd_, sizeof savedCwd_), nullptr);
        // The stealth name is lower-cased like the whole command line, so the documents are
        // written relative to a working directory of our own; backups are kept there too.
        ASSERT_EQ(::chdir(dir.path().c_str()), 0);
        const char* data = std::getenv("XDG_DATA_HOME");
        savedData_ = data ? data : "";
        ::setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
    }
    void TearDown() override {
        EndToEnd::TearDown();
        ::setenv("XDG_DATA_HOME", savedData_.c_str(), 1);
        ASSERT_EQ(::chdir(savedCwd_), 0);
    }
    int RunVxlconf(std::vector<std::string> args) {
        CConfigApp app;
        app.SetPreferencePath(dir.File("prefs.conf"));
        app.SetErrorStream(err_.file());
        app.SetOutputStream(out_.file());
        ScopedUi scope(ui);
        const int status = app.Run(args);
        lastResult = app.LastResult();
        return status;
    }
    std::string ErrText() const { return err_.Text(); }
    std::string OutText() const { return out_.Text(); }
    void ClearOutput() {
        err_.Clear();
        out_.Clear();
    }

    int lastResult = -1;

  private:
    char savedCwd_[4096];
    std::string savedData_;
    vxl::test::CapturedStream err_, out_;
};

}  // namespace vxl::sim::test
