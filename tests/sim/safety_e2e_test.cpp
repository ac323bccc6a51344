// Backups, verification and profiles end to end: vxlconf's headless runs against simulated
// modems on pseudo-terminals, through the real port, protocol and coordinator.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "app/config_app.h"
#include "backup/backup_store.h"
#include "coordinator/coordinator.h"
#include "e2e_fixture.h"
#include "params/definitions.h"
#include "reports/xml_export.h"
#include "sim/lib/modem_memory.h"

namespace vxl::sim::test {
namespace {

using vxl::test::TempDir;

class SafetyRun : public EndToEnd {
  protected:
    void SetUp() override {
        ASSERT_NE(::getcwd(savedCwd_, sizeof savedCwd_), nullptr);
        ASSERT_EQ(::chdir(dir.path().c_str()), 0);  // the XML documents land here
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
    int RunVxlconf(std::vector<std::string> args, const std::string& device) {
        args.insert(args.end(), {"device=" + device, "softbreak", "nologo"});
        CConfigApp app;
        app.SetPreferencePath(dir.File("prefs.conf"));
        app.SetErrorStream(err_);
        ScopedUi scope(ui);
        return app.Run(args);
    }
    std::string ErrText() {
        std::fflush(err_);
        std::rewind(err_);
        std::string text;
        for (int c; (c = std::fgetc(err_)) != EOF;) text += static_cast<char>(c);
        return text;
    }
    // An export without the lines that name the station, the time or the modem's serial number.
    std::string Export(const std::string& name) {
        std::istringstream in(TempDir::Read(dir.File(name + ".xml")));
        std::string kept;
        for (std::string line; std::getline(in, line);)
            if (line.find("<station-id>") == std::string::npos &&
                line.find("<date>") == std::string::npos &&
                line.find("<serial-number>") == std::string::npos)
                kept += line + "\n";
        return kept;
    }

  private:
    char savedCwd_[4096];
    std::string savedData_;
    std::FILE* err_ = nullptr;
};

// A byte the modem stores wrongly is caught by the read-back, and the backup taken before that
// Program puts the modem back to the settings it exported before.
TEST_F(SafetyRun, VerificationCatchesAMisWriteAndTheBackupRestoresTheModem) {
    StartModem();
    ScopedDefinitionsPath definitions(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini");
    CCoordinator c;
    c.SetBackupRoot(dir.File("backups"));
    c.Init(portNumber, 1);
    std::string response;
    ASSERT_EQ(c.Attach(response, false), rc::kOk) << response;
    ASSERT_EQ(c.Read(response, false), rc::kOk) << response;
    const std::string before = BuildXmlDocument(*c.GetParameterSet(), 4, "s", "d");

    FaultPlan faults;
    faults.wrongStoreAddress = 0x197;  // Digisquelch, which the defaults change
    sim->SetFaults(faults);
    ASSERT_EQ(c.ApplyDefaults(), rc::kOk);
    EXPECT_EQ(c.Program(response), rc::kVerifyFailed);
    EXPECT_EQ(c.GetProgramNote().rfind("Verification failed: 1 bytes differ, first at 0x0197\n", 0),
              0u)
        << c.GetProgramNote();
    EXPECT_EQ(sim->StoredMemory()[0x197], 0x12);
    EXPECT_TRUE(c.IsModified());

    sim->SetFaults(FaultPlan());
    BackupImage backup;
    std::string reason;
    ASSERT_EQ(ReadBackupFile(c.GetLastBackupPath(), backup, reason), rc::kOk) << reason;
    ASSERT_EQ(c.RestoreBackup(backup, false, reason), rc::kOk) << reason;
    ASSERT_EQ(c.Program(response), rc::kOk) << c.GetProgramNote();
    EXPECT_EQ(sim->StoredMemory()[0x197], 0x00);
    ASSERT_EQ(c.Read(response, false), rc::kOk) << response;
    EXPECT_EQ(BuildXmlDocument(*c.GetParameterSet(), 4, "s", "d"), before);
    EXPECT_EQ(ListBackupFiles(dir.File("backups"), "01427259").size(), 2u);
    c.Detach(response);
}

// A profile saved from one modem configures another so that both export the same settings.
TEST_F(SafetyRun, OneProfileConfiguresTwoModemsAlike) {
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

    ASSERT_EQ(RunVxlconf({"saveprofile", "fleet.ini", "stealth", "a"}, a.LinkPath()), kExitOk)
        << ErrText();
    ASSERT_EQ(RunVxlconf({"loadprofile", "fleet.ini", "stealth", "b"}, b.LinkPath()), kExitOk)
        << ErrText();
    b.Stop();
    EXPECT_NE(Export("a").find("<owner>Fleet 7</owner>"), std::string::npos) << Export("a");
    EXPECT_EQ(Export("b"), Export("a"));
    EXPECT_NE(TempDir::Read(dir.File("b.xml")).find("<serial-number>01427264</serial-number>"),
              std::string::npos);
}

}  // namespace
}  // namespace vxl::sim::test
