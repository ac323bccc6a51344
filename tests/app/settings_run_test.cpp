// The headless settings run against a fake modem in simulated time: what a failed or partly
// applied run tells the operator on standard error, and its exit status.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/config_app.h"
#include "backup/backup_file.h"
#include "support/fake_clock.h"
#include "support/fake_modem.h"
#include "support/fake_serial_link.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/format.h"

namespace vxl {
namespace {

using test::FakeModem;
using test::TempDir;

std::string ReadAll(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
    return text;
}

// A modem on a fake line in simulated time, and vxlconf run against it.
struct FakeModemRun {
    FakeModemRun() : scopedClock(clock), scopedUi(ui), modem(clock) {
        modem.SetIdentity(0xD2, 22, 0);
        modem.Poke(0x106, {0x00, 0x15, 0xC7, 0x3B});
        modem.Poke(0x10B, {0x02, 0x7C, 0x68});  // channel 0 on 455.0 MHz
        modem.Poke(0x1A0, {4});
        modem.SetConfigChecksum();
        std::filesystem::copy(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini",
                              dir.File("vxlconf.ini"));
        PreferenceStore(dir.File("prefs.conf")).SetText(kPrefInstallDir, dir.path());
    }
    // Runs vxlconf with `args` on the fake modem; standard error goes to `errors`.
    int Run(std::vector<std::string> args, const std::string& backupRoot = std::string()) {
        args.insert(args.end(), {"port", "3", "softbreak"});
        CConfigApp app;
        app.SetPreferencePath(dir.File("prefs.conf"));
        std::FILE* err = std::tmpfile();
        app.SetErrorStream(err);
        app.Coordinator().Programming().SetBackupRoot(backupRoot.empty() ? dir.File("backups")
                                                                         : backupRoot);
        app.Coordinator().Session().SetLinkFactory(
            [this](int, int&) -> std::unique_ptr<ISerialLink> {
                auto link = std::make_unique<test::FakeSerialLink>(3);
                modem.Connect(*link);
                return link;
            });
        const int status = app.Run(args);
        errors = ReadAll(err);
        std::fclose(err);
        return status;
    }

    TempDir dir;
    test::FakeClock clock;
    test::RecordingOperator ui;
    ScopedClock scopedClock;
    ScopedUi scopedUi;
    FakeModem modem;
    std::string errors;
};

TEST(SettingsRun, FailuresAndRefusalsAreReportedOnStandardError) {
    const struct {
        const char* name;
        std::function<void(FakeModem&)> fault;
        bool backupRootIsAFile;
        int exitStatus;
        const char* errors;  // %s: the temporary folder
    } cases[] = {
        {"applied", [](FakeModem&) {}, false, kExitEntriesRefused,
         "vxlconf: profile entry refused: Bogus=1: this is not a setting this program knows\n"},
        {"a byte stored wrongly", [](FakeModem& m) { m.wrongStoreAddress = 0x16B; }, false,
         kExitRunFailed,
         "vxlconf: profile entry refused: Bogus=1: this is not a setting this program knows\n"
         "vxlconf: profile run failed: code 131: Verification failed: 1 bytes differ, first at "
         "0x016B. The modem does not hold the new settings. Program it again.\n"},
        {"the commit's answer lost", [](FakeModem& m) { m.replyFor[0x1E] = {}; }, false,
         kExitRunFailed,
         "vxlconf: profile entry refused: Bogus=1: this is not a setting this program knows\n"
         "vxlconf: profile run failed: code 77: Modem command timed out. Reading the settings "
         "back shows that the modem holds the new settings; only its answer to the commit was "
         "lost. Program it again to be sure they are stored. response: Program->\n"},
        {"no backup", [](FakeModem&) {}, true, kExitRunFailed,
         "vxlconf: profile entry refused: Bogus=1: this is not a setting this program knows\n"
         "vxlconf: profile run failed: code 132: The modem's settings could not be backed up to "
         "%s/plain/backups/01427259: Not a directory. Nothing was written to the modem. Free "
         "some disk space or make the folder writable, then program again.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeModemRun run;
        c.fault(run.modem);
        const std::string profile = run.dir.Write("p.ini", "[VXL]\nOwner=Quarry\nBogus=1\n");
        EXPECT_EQ(run.Run({"loadprofile", profile},
                          c.backupRootIsAFile ? run.dir.Write("plain", "") + "/backups" : ""),
                  c.exitStatus);
        EXPECT_EQ(run.errors, Format(c.errors, run.dir.path().c_str()));
    }
}

// A backup of another modem is refused unless `force` is given; the modem keeps its identity.
TEST(SettingsRun, RestoringAnotherModemsBackupNeedsForce) {
    FakeModemRun run;
    BackupImage backup;
    backup.header = {"01427260", "VXL", "2.20", 246, 9, 4, 1700000000};
    backup.bytes.assign(255, 0);
    backup.bytes[0x06] = 0x00;
    backup.bytes[0x07] = 0x15;
    backup.bytes[0x08] = 0xC7;
    backup.bytes[0x09] = 0x3C;
    backup.bytes[0x0A] = 0xD2;
    const char owner[] = "Other";
    std::copy(owner, owner + 5, backup.bytes.begin() + 0x6B);
    const std::string path = run.dir.Write("other.img", FormatBackup(backup));

    EXPECT_EQ(run.Run({"restore", path}), kExitRunFailed);
    EXPECT_EQ(run.errors,
              "vxlconf: restore failed: code 133: This backup does not belong to this modem. The "
              "backup belongs to the modem with serial number 01427260, not to this modem "
              "(01427259). Give 'force' to restore it all the same.\n");
    EXPECT_EQ(run.modem.Count(0x20), 0);
    EXPECT_EQ(run.Run({"restore", path, "force"}), kExitOk) << run.errors;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&run.modem.memory[0x16B]), 5), "Other");
    EXPECT_EQ(run.modem.memory[0x109], 0x3B) << "the serial number stays this modem's";
}

}  // namespace
}  // namespace vxl
