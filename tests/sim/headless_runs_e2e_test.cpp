// vxlconf's headless runs end to end, in this process, against simulated modems on
// pseudo-terminals through the real port, protocol, coordinator, XML export and backups: a
// failure, a port that cannot be opened, signals, verification with a restore, and profiles.
// The export and reports of a healthy run are checked on the program itself (report_e2e_test).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "app/config_app.h"
#include "backup/backup_store.h"
#include "coordinator/coordinator.h"
#include "coordinator/firmware_upgrade.h"
#include "headless_fixture.h"
#include "line_harness.h"
#include "params/definitions.h"
#include "reports/xml_export.h"
#include "sim/lib/modem_memory.h"
#include "support/holder_process.h"
#include "support/xml_check.h"

namespace vxl::sim::test {
namespace {

using vxl::test::TempDir;

TEST_F(HeadlessRun, FailureAfterTheCaptureStillResetsTheModem) {
    // Capture and identification take the first commands; the 20th is a read of the image.
    StartVxl(Plan({{&FaultPlan::noReplyTo, 20}}));
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

TEST_F(HeadlessRun, APortThatCannotBeOpenedGivesOneLineSayingWhyWithTheDevice) {
    for (bool gone : {false, true}) {
        StartVxl();
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
        ClearOutput();
    }
}

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
        StartVxl(FaultPlan(), true);
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
        modem.reset();
        port.Close();
        sim->Stop();
        ClearOutput();
    }
}

// A byte the modem stores wrongly is caught by the read-back of the written bytes, and the
// backup taken before that Program puts the modem back to the settings it exported before,
// writing every byte.
TEST_F(HeadlessRun, VerificationCatchesAMisWriteAndTheBackupRestoresTheModem) {
    StartVxl();
    ScopedDefinitionsPath definitions(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini");
    CCoordinator c;
    c.Programming().SetBackupRoot(dir.File("backups"));
    c.Init(portNumber, 1);
    std::string response;
    ASSERT_EQ(c.Attach(response, false), rc::kOk) << response;
    ASSERT_EQ(c.Read(response, false), rc::kOk) << response;
    const std::string before = BuildXmlDocument(*c.Settings().Parameters(), 4, "s", "d");

    FaultPlan faults;
    faults.wrongStoreAddress = 0x197;  // Digisquelch, which the defaults change
    sim->SetFaults(faults);
    ASSERT_EQ(c.Settings().ApplyDefaults(), rc::kOk);
    EXPECT_EQ(c.Program(response), rc::kVerifyFailed);
    EXPECT_EQ(c.Programming().GetProgramNote().rfind(
                  "Verification failed: 1 bytes differ, first at 0x0197\n", 0),
              0u)
        << c.Programming().GetProgramNote();
    EXPECT_EQ(sim->StoredMemory()[0x197], 0x12);
    EXPECT_TRUE(c.IsModified());
    EXPECT_EQ(sim->MemoryWrites().count(0x197), 1u);
    EXPECT_EQ(sim->MemoryWrites().count(0x16B), 0u) << "the owner did not change";
    sim->ClearMemoryWrites();

    sim->SetFaults(FaultPlan());
    BackupImage backup;
    std::string reason;
    ASSERT_EQ(ReadBackupFile(c.Programming().GetLastBackupPath(), backup, reason), rc::kOk)
        << reason;
    ASSERT_EQ(c.Programming().RestoreBackup(backup, false, reason), rc::kOk) << reason;
    EXPECT_EQ(BuildXmlDocument(*c.Settings().Parameters(), 4, "s", "d"), before);
    // The read-back of the verification shows the modem holds what was programmed.
    ASSERT_EQ(c.Program(response), rc::kOk) << c.Programming().GetProgramNote();
    EXPECT_EQ(sim->StoredMemory()[0x197], 0x00);
    EXPECT_EQ(sim->MemoryWrites().size(), 246u + 9u) << "every byte of the restored backup";
    EXPECT_EQ(ListBackupFiles(dir.File("backups"), "01427259").size(), 2u);
    c.Detach(response);
}

// A profile saved from one modem configures another so that both export the same settings.
TEST_F(HeadlessRun, OneProfileConfiguresTwoModemsAlike) {
    SimOptions first;
    MemoryBytes memory = BuildMemory(first.profile);
    const char owner[] = "Fleet 7";
    std::copy(owner, owner + sizeof owner, memory.begin() + 0x16B);
    memory[0x190] = 1;   // protocol: transparent with an EOT character ...
    memory[0x193] = 13;  // ... CR
    memory[0x194] = 12;  // local address
    memory[0x197] = 3;   // digisquelch off
    std::copy(memory.begin() + 0x10B, memory.begin() + 0x111, memory.begin() + 0x11D);  // ch 3
    FixConfigChecksum(memory, 246);
    std::string error;
    ASSERT_TRUE(SaveMemoryFile(dir.File("first.bin"), memory, &error)) << error;
    first.imagePath = dir.File("first.bin");
    // Each modem is power-cycled as soon as the program asks: no guard times to wait out.
    first.operatorPowerCycleSeconds = 0.1;
    StartModem(first);
    Simulator& a = *sim;

    SimOptions second;
    second.profile.serialNumber = 1427264;
    second.linkPath = dir.File("second");
    second.processingMs = 1.0;
    second.operatorPowerCycleSeconds = 0.1;
    Simulator b(second);
    ASSERT_TRUE(b.Start(&error)) << error;

    ASSERT_EQ(RunVxlconf({"saveprofile", "fleet.ini", "stealth", "a", "device=" + a.LinkPath(),
                          "nologo", "poweroncapture"}),
              kExitOk)
        << ErrText();
    ASSERT_EQ(RunVxlconf({"loadprofile", "fleet.ini", "stealth", "b", "device=" + b.LinkPath(),
                          "nologo", "poweroncapture"}),
              kExitOk)
        << ErrText();
    b.Stop();
    EXPECT_NE(Export("a").find("<owner>Fleet 7</owner>"), std::string::npos) << Export("a");
    EXPECT_EQ(Export("b"), Export("a"));
    EXPECT_NE(TempDir::Read(dir.File("b.xml")).find("<serial-number>01427264</serial-number>"),
              std::string::npos);
}

}  // namespace
}  // namespace vxl::sim::test
