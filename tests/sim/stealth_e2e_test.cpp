// The headless export end to end: vxlconf's stealth run against a simulated modem on a
// pseudo-terminal, through the real port, protocol, coordinator and XML export.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "app/config_app.h"
#include "e2e_fixture.h"
#include "sim/lib/modem_memory.h"
#include "support/holder_process.h"

namespace vxl::sim::test {
namespace {

using vxl::test::TempDir;

class StealthRun : public EndToEnd {
  protected:
    void SetUp() override {
        ASSERT_NE(::getcwd(savedCwd_, sizeof savedCwd_), nullptr);
        // The stealth name is lower-cased like the whole command line, so the document is
        // written relative to a working directory of our own.
        ASSERT_EQ(::chdir(dir.path().c_str()), 0);
        err_ = std::tmpfile();
    }
    void TearDown() override {
        EndToEnd::TearDown();
        std::fclose(err_);
        ASSERT_EQ(::chdir(savedCwd_), 0);
    }
    void StartModem(const FaultPlan& faults = FaultPlan()) {
        SimOptions options;
        options.faults = faults;
        EndToEnd::StartModem(options);
    }
    // A small VXL (32 configuration bytes) whose simulated operator power-cycles it as soon as
    // the program asks for a power-on capture: short runs.
    void StartSmallModem(const FaultPlan& faults = FaultPlan()) {
        SimOptions options;
        options.faults = faults;
        options.profile.configSize = 32;
        options.operatorPowerCycleSeconds = 0.1;
        EndToEnd::StartModem(options);
    }
    int RunVxlconf(std::vector<std::string> args) {
        CConfigApp app;
        app.SetPreferencePath(dir.File("prefs.conf"));
        app.SetErrorStream(err_);
        ScopedUi scope(ui);
        int status = app.Run(args);
        lastResult = app.LastResult();
        return status;
    }
    std::string ErrText() {
        std::fflush(err_);
        std::rewind(err_);
        std::string text;
        for (int c; (c = std::fgetc(err_)) != EOF;) text += static_cast<char>(c);
        return text;
    }
    void ClearErrText() { err_ = std::freopen(nullptr, "w+", err_); }

    int lastResult = -1;

    std::FILE* err_ = nullptr;

  private:
    char savedCwd_[4096];
};

TEST_F(StealthRun, ExportsTheSimulatedModemAndReleasesIt) {
    StartModem();
    ASSERT_EQ(
        RunVxlconf({"stealth", "Station7", "device=" + dir.File("modem"), "softbreak", "nologo"}),
        kExitOk)
        << ErrText();
    std::string xml = TempDir::Read(dir.File("station7.xml"));
    EXPECT_NE(xml.find("<station-id>station7</station-id>\r\n"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<model>VXL</model>"), std::string::npos);
    EXPECT_NE(xml.find("<firmware-revision>2.20</firmware-revision>"), std::string::npos);
    EXPECT_NE(xml.find("<serial-number>01427259</serial-number>"), std::string::npos);
    EXPECT_NE(xml.find("</ktrconf-parameters>\r\n"), std::string::npos);
    EXPECT_TRUE(sim->WaitFor([](const SimStatus& s) { return s.mode == ModemMode::kData; }, 3000))
        << "the modem was not reset to data mode";
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.logos.empty());
}

TEST_F(StealthRun, FailureAfterTheCaptureStillResetsTheModem) {
    // Capture and identification take the first commands; the 20th is a read of the image.
    FaultPlan faults;
    faults.noReplyTo = 20;
    StartModem(faults);
    EXPECT_EQ(RunVxlconf({"stealth", "x", "device", dir.File("modem"), "softbreak"}),
              kExitRunFailed);
    EXPECT_EQ(lastResult, 73);
    std::string line = ErrText();
    EXPECT_NE(line.find("code 73: Cannot Read Memory Map. (Coordinator:316)"), std::string::npos)
        << line;
    EXPECT_EQ(TempDir::Read(dir.File("x.xml")), "");
    EXPECT_TRUE(sim->WaitFor([](const SimStatus& s) { return s.mode == ModemMode::kData; }, 3000))
        << "the modem was left in command mode";
}

TEST_F(StealthRun, FactoryDefaultsAreProgrammedIntoTheModem) {
    StartModem();
    ASSERT_EQ(sim->StoredMemory()[0x197], 0);  // Digisquelch "High"
    ASSERT_EQ(RunVxlconf({"defaults", "device", dir.File("modem"), "softbreak"}), kExitOk)
        << ErrText();
    MemoryBytes stored = sim->StoredMemory();
    EXPECT_EQ(stored[0x197], 2);  // "Low", the shipped default of a VXL modem
    EXPECT_TRUE(ConfigChecksumValid(stored, 246));
    EXPECT_TRUE(sim->WaitFor([](const SimStatus& s) { return s.mode == ModemMode::kData; }, 3000));
}

TEST_F(StealthRun, APortThatCannotBeOpenedGivesOneLineSayingWhyWithTheDevice) {
    for (bool gone : {false, true}) {
        StartModem();
        const std::string link = dir.File("modem");
        vxl::test::HolderProcess holder("minicom", gone ? std::string() : link);
        if (gone) sim->Stop();  // the link is gone: nothing to open
        EXPECT_EQ(RunVxlconf({"stealth", "z", "device", link, "softbreak"}), kExitRunFailed);
        const std::string expected =
            gone ? Format(
                       "vxlconf: stealth run failed: code 2: %s is not there: the adapter was "
                       "unplugged",
                       link.c_str())
                 : Format(
                       "vxlconf: stealth run failed: code 11: %s is in use by minicom (PID "
                       "%d). Close that program and try again. (Coordinator:239)\n",
                       link.c_str(), holder.pid());
        const std::string text = ErrText();
        EXPECT_EQ(text.rfind(expected, 0), 0u) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
        ClearErrText();
    }
}

// SIGHUP, SIGTERM and SIGINT stop the protocol at its next exchange: the modem is released, one
// line says so, and the exit status tells the signal. During a firmware download the first
// Ctrl-C only warns (on standard error) that the modem would stay in its boot loader.
TEST_F(StealthRun, SignalsStopTheRunAndReleaseTheModem) {
    const std::string firmware = WriteFirmware(dir, 300);
    using Status = const SimStatus&;
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::function<bool(Status)> when;
        std::vector<int> signals;
        int status;
        const char* line;
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
         "vxlconf: firmware upgrade interrupted by SIGINT; the modem is left in its boot loader: "
         "run the upgrade again\n",
         ModemMode::kLoader},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartSmallModem();
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
        modem.reset();
        port.Close();
        sim->Stop();
        ClearErrText();
    }
}

}  // namespace
}  // namespace vxl::sim::test
