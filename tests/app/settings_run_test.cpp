// The headless settings run against a fake modem in simulated time: what a failed or partly
// applied run tells the operator on standard error, and its exit status.
#include <gtest/gtest.h>

#include <filesystem>

#include "backup/backup_file.h"
#include "fake_modem_run.h"
#include "util/format.h"

namespace vxl {
namespace {

using test::FakeModem;
using test::FakeModemRun;

TEST(SettingsRun, FailuresAndRefusalsAreReportedOnStandardError) {
    const struct {
        const char* name;
        std::function<void(FakeModem&)> fault;
        int exitStatus;
        const char* errors;
    } cases[] = {
        {"applied", [](FakeModem&) {}, kExitEntriesRefused,
         "vxlconf: profile entry refused: Bogus=1: this is not a setting this program knows\n"},
        {"a byte stored wrongly", [](FakeModem& m) { m.wrongStoreAddress = 0x16B; }, kExitRunFailed,
         "vxlconf: profile entry refused: Bogus=1: this is not a setting this program knows\n"
         "vxlconf: profile run failed: code 131: Verification failed: 1 bytes differ, first at "
         "0x016B. The modem does not hold the new settings. Program it again.\n"},
        {"the commit's answer lost", [](FakeModem& m) { m.replyFor[0x1E] = {}; }, kExitRunFailed,
         "vxlconf: profile entry refused: Bogus=1: this is not a setting this program knows\n"
         "vxlconf: profile run failed: code 77: Modem command timed out. The modem holds the new "
         "settings in its memory, but its answer to the command that stores them was lost or "
         "damaged: whether it stored them is unknown. Load the modem again to find out, or "
         "program it again. response: Program->\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeModemRun run;
        c.fault(run.modem);
        const std::string profile = run.dir.Write("p.ini", "[VXL]\nOwner=Quarry\nBogus=1\n");
        EXPECT_EQ(run.Run({"loadprofile", profile}), c.exitStatus);
        EXPECT_EQ(run.errors, c.errors);
    }
}

// `fullwrite` writes every byte where the change alone writes the owner's and the checksum.
TEST(SettingsRun, FullwriteWritesEveryByte) {
    for (bool full : {false, true}) {
        FakeModemRun run;
        std::vector<std::string> args{"loadprofile",
                                      run.dir.Write("p.ini", "[VXL]\nOwner=Quarry\n")};
        if (full) args.push_back("fullwrite");
        EXPECT_EQ(run.Run(args), kExitOk) << run.errors;
        EXPECT_EQ(run.modem.Count(0x20), full ? 246 + 9 : 6 + 1);
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
    EXPECT_EQ(run.modem.Count(0x20), 246 + 9);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&run.modem.memory[0x16B]), 5), "Other");
    EXPECT_EQ(run.modem.memory[0x109], 0x3B) << "the serial number stays this modem's";
}

}  // namespace
}  // namespace vxl
