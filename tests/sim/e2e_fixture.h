// End-to-end tests: a simulated modem on a pseudo-terminal, the real CComPort on its link and
// the real CModem on that port, with real time.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "link/com_port.h"
#include "link/port_table.h"
#include "modem/modem.h"
#include "sim/lib/simulator.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "ui/operator.h"
#include "util/clock.h"

namespace vxl::sim::test {

// Real sleeps and steady time, but wall-clock seconds pass `factor` times faster: the host's
// 10-second power-on capture window then lasts 10 / factor seconds.
class FastWallClock : public vxl::Clock {
  public:
    explicit FastWallClock(int factor) : factor_(factor), origin_(real_.SteadyMs()) {}
    void SleepMs(int ms) override { real_.SleepMs(ms); }
    int64_t SteadyMs() override { return real_.SteadyMs(); }
    std::time_t WallSeconds() override {
        return kStart + static_cast<std::time_t>((real_.SteadyMs() - origin_) * factor_ / 1000);
    }

  private:
    static constexpr std::time_t kStart = 1700000000;
    vxl::SystemClock real_;
    int factor_;
    int64_t origin_;
};

class EndToEnd : public ::testing::Test {
  protected:
    // Starts a simulated modem; `options` gives the modem and its faults. Line timing is left
    // to the tests whose polls are generous: with a busy machine the simulator's paced bytes
    // could come later than the image read's 10 polls allow.
    void StartModem(SimOptions options = SimOptions(), bool lineTiming = false) {
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
    // Power-on capture with the simulator power-cycled shortly after the capture starts.
    int PowerOnCapture() {
        std::thread powerCycle([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            sim->PowerCycle();
        });
        std::string status;
        const int result = modem->Capture(status, 3, false);
        powerCycle.join();
        return result;
    }
    void TearDown() override {
        modem.reset();
        port.Close();
        if (sim) sim->Stop();
    }

    vxl::test::TempDir dir;
    vxl::test::RecordingOperator ui;
    vxl::ScopedUi scopedUi{ui};
    std::unique_ptr<Simulator> sim;
    int portNumber = 0;
    CComPort port;
    std::unique_ptr<CModem> modem;
};

}  // namespace vxl::sim::test
