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
#include "e2e_fixture.h"
#include "line_harness.h"
#include "params/definitions.h"
#include "reports/xml_export.h"
#include "sim/lib/modem_memory.h"
#include "support/holder_process.h"
#include "support/xml_check.h"

namespace vxl::sim::test {
namespace {

using vxl::test::TempDir;

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
        err_ = std::tmpfile();
    }
    void TearDown() override {
        EndToEnd::TearDown();
        std::fclose(err_);
        ::setenv("XDG_DATA_HOME", savedData_.c_str(), 1);
        ASSERT_EQ(::chdir(savedCwd_), 0);
    }
    // A VXL with `faults`; a small one (32 configuration bytes) whose simulated operator
    // power-cycles it as soon as the program asks for a power-on capture keeps runs short.
    void StartVxl(const FaultPlan& faults = FaultPlan(), bool small = false) {
        SimOptions options;
        options.faults = faults;
        if (small) {
            options.profile.configSize = 32;
            options.operatorPowerCycleSeconds = 0.1;
        }
        StartModem(options);
    }
    int RunVxlconf(std::vector<std::string> args) {
        CConfigApp app;
        app.SetPreferencePath(dir.File("prefs.conf"));
        app.SetErrorStream(err_);
        ScopedUi scope(ui);
        const int status = app.Run(args);
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
    // An export without the lines that name the station, the time or the modem's serial number.
    std::string Export(const std::string& name) {
        const std::string document = TempDir::Read(dir.File(name + ".xml"));
        EXPECT_TRUE(vxl::test::WellFormedXml(document)) << name;
        std::istringstream in(document);
        std::string kept;
        for (std::string line; std::getline(in, line);)
            if (line.find("<station-id>") == std::string::npos &&
                line.find("<date>") == std::string::npos &&
                line.find("<serial-number>") == std::string::npos)
                kept += line + "\n";
        return kept;
    }

    int lastResult = -1;

  private:
    char savedCwd_[4096];
    std::string savedData_;
    std::FILE* err_ = nullptr;
};

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
        ClearErrText();
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
    StartModem(first);
    Simulator& a = *sim;

    SimOptions second;
    second.profile.serialNumber = 1427264;
    second.linkPath = dir.File("second");
    second.processingMs = 1.0;
    Simulator b(second);
    ASSERT_TRUE(b.Start(&error)) << error;

    ASSERT_EQ(RunVxlconf({"saveprofile", "fleet.ini", "stealth", "a", "device=" + a.LinkPath(),
                          "nologo", "softbreak"}),
              kExitOk)
        << ErrText();
    ASSERT_EQ(RunVxlconf({"loadprofile", "fleet.ini", "stealth", "b", "device=" + b.LinkPath(),
                          "nologo", "softbreak"}),
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
