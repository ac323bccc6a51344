// Safe programming: the backup before every Program, the read-back after it, what the operator
// learns when a write or commit goes wrong, and restoring a backup.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "backup/backup_store.h"
#include "coordinator/safety_commands.h"
#include "coordinator_harness.h"
#include "params/parameter_ids.h"
#include "support/golden.h"
#include "util/format.h"

namespace vxl::test {
namespace {

constexpr const char* kSerial = "01427259";

// A loaded harness with the owner changed, ready to program.
std::unique_ptr<CoordinatorHarness> EditedHarness(const std::string& owner = "Quarry") {
    auto h = std::make_unique<CoordinatorHarness>();
    EXPECT_EQ(h->Load(), rc::kOk);
    EXPECT_EQ(h->coordinator.Settings().SetText(pid::kOwner, owner), rc::kOk);
    return h;
}

BackupImage ReadBack(const std::string& path) {
    BackupImage backup;
    std::string reason;
    EXPECT_EQ(ReadBackupFile(path, backup, reason), rc::kOk) << path << ": " << reason;
    return backup;
}

std::string OwnerIn(const BackupImage& backup) {
    return std::string(reinterpret_cast<const char*>(&backup.bytes[0x6B]), 6);
}

TEST(Backup, EveryProgramSavesWhatTheModemHeldBeforeIt) {
    auto h = EditedHarness();
    const std::time_t before = h->clock.WallSeconds();
    ASSERT_EQ(h->coordinator.Program(h->response), rc::kOk);
    const std::string first = h->coordinator.Programming().GetLastBackupPath();
    EXPECT_EQ(first.rfind(h->dir.File("backups/01427259/"), 0), 0u) << first;
    BackupImage backup = ReadBack(first);
    EXPECT_EQ(backup.header.serialNumber, kSerial);
    EXPECT_EQ(backup.header.model, "VXL");
    EXPECT_EQ(backup.header.firmware, "2.20");
    EXPECT_EQ(backup.header.mainSize, 246);
    EXPECT_EQ(backup.header.extensionSize, 9);
    EXPECT_EQ(backup.header.modemType, 4);
    EXPECT_TRUE(backup.header.time >= before && backup.header.time <= h->clock.WallSeconds());
    EXPECT_EQ(OwnerIn(backup), std::string(6, '\0'));

    // The next Program in the same second gets a file of its own, holding the first one's
    // settings; both are listed, newest first, with what differs from the loaded settings.
    ASSERT_EQ(h->coordinator.Settings().SetText(pid::kOwner, "Quarry 2"), rc::kOk);
    ASSERT_EQ(h->coordinator.Program(h->response), rc::kOk);
    EXPECT_EQ(OwnerIn(ReadBack(h->coordinator.Programming().GetLastBackupPath())), "Quarry");
    SafetyCommands commands(h->coordinator);
    std::vector<BackupListEntry> list = commands.ListBackups();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].path, h->coordinator.Programming().GetLastBackupPath());
    EXPECT_EQ(list[1].path, first);
    EXPECT_EQ(list[0].firmware, "2.20");
    // What a restore would change: from the loaded value to the backup's.
    EXPECT_EQ(DifferenceLines(list[0].differences), "Owner: Quarry 2 -> Quarry\n");
    EXPECT_EQ(DifferenceLines(list[1].differences), "Owner: Quarry 2 -> (empty)\n");
}

TEST(Backup, TheNewestFiftyOfAModemAreKept) {
    auto h = EditedHarness();
    const std::string folder = h->dir.File("backups/01427259");
    std::filesystem::create_directories(folder);
    for (int second = 0; second < 55; ++second)
        h->dir.Write(Format("backups/01427259/20010101T0000%02dZ.img", second), "old");
    h->dir.Write("backups/01427259/notes.txt", "kept");
    ASSERT_EQ(h->coordinator.Program(h->response), rc::kOk);
    std::vector<std::string> files = ListBackupFiles(h->dir.File("backups"), kSerial);
    ASSERT_EQ(files.size(), static_cast<size_t>(kBackupsKept));
    EXPECT_EQ(files.front(), h->coordinator.Programming().GetLastBackupPath());
    EXPECT_EQ(files.back(), folder + "/20010101T000006Z.img");
    EXPECT_EQ(TempDir::Read(folder + "/notes.txt"), "kept");
}

// Program writes the bytes that differ from what the modem holds and the checksum, and reads
// back what it wrote; where what the modem holds is uncertain, and with `fullwrite`, it writes
// and reads every byte (`all`).
TEST(Programming, WritesWhatDiffersUnlessTheModemsContentsAreUncertain) {
    // The owner "Quarry" over an empty one, and the checksum.
    const std::vector<int> owner{0x16B, 0x16C, 0x16D, 0x16E, 0x16F, 0x170, 0x1F5};
    // A modem that runs another serial rate than it stores (after a Program that changed it,
    // until it restarts) also gets the rate the pages show.
    const std::vector<int> ownerAndRate{0x16B, 0x16C, 0x16D, 0x16E, 0x16F, 0x170, 0x18B, 0x1F5};
    const std::vector<int> all;
    const auto failedProgram = [](CoordinatorHarness& h, int wrongStore, int lostReply) {
        h.modem.wrongStoreAddress = wrongStore;
        h.modem.lostReplyAddress = lostReply;
        EXPECT_NE(h.coordinator.Program(h.response), rc::kOk);
        h.modem.wrongStoreAddress = h.modem.lostReplyAddress = -1;
    };
    const struct {
        const char* name;
        std::function<void(CoordinatorHarness&)> before;
        bool verify;
        std::vector<int> written;
        int result;
        const char* note;
    } cases[] = {
        {"one field", [](CoordinatorHarness&) {}, true, owner, rc::kOk, ""},
        {"a byte stored wrongly", [](CoordinatorHarness& h) { h.modem.wrongStoreAddress = 0x16C; },
         true, owner, rc::kVerifyFailed,
         "Verification failed: 1 bytes differ, first at 0x016C\nThe modem does not hold the new "
         "settings. Program it again."},
        {"verification off", [](CoordinatorHarness& h) { h.modem.wrongStoreAddress = 0x16C; },
         false, owner, rc::kOk, ""},
        {"a rate stored otherwise than it runs",
         [](CoordinatorHarness& h) {
             h.modem.memory[0xEE8B] = 2;
             ASSERT_EQ(h.coordinator.Read(h.response, false), rc::kOk);
         },
         true, ownerAndRate, rc::kOk, ""},
        {"fullwrite", [](CoordinatorHarness& h) { h.coordinator.Programming().SetFullWrite(true); },
         true, all, rc::kOk, ""},
        {"after a failed verification", [&](CoordinatorHarness& h) { failedProgram(h, 0x16C, -1); },
         true, all, rc::kOk, ""},
        {"after a lost write reply", [&](CoordinatorHarness& h) { failedProgram(h, -1, 0x16D); },
         true, all, rc::kOk, ""},
        {"a restored backup",
         [](CoordinatorHarness& h) {
             BackupImage held;
             std::string reason;
             ASSERT_TRUE(h.coordinator.Programming().MakeBackup(held));
             ASSERT_EQ(h.coordinator.Programming().RestoreBackup(held, false, reason), rc::kOk);
         },
         true, all, rc::kOk, ""},
        {"settings that failed their checksum",
         [](CoordinatorHarness& h) {
             h.modem.damagedReadAddress = 0x150;
             ASSERT_EQ(h.coordinator.Read(h.response, false), rc::kOk);
             h.modem.damagedReadAddress = -1;
         },
         true, all, rc::kOk, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto h = EditedHarness();
        h->coordinator.Programming().SetVerifyAfterProgramming(c.verify, false);
        c.before(*h);
        ASSERT_EQ(h->coordinator.Settings().SetText(pid::kOwner, "Quarry"), rc::kOk);
        h->modem.commands.clear();
        h->modem.written.clear();
        EXPECT_EQ(h->coordinator.Program(h->response), c.result);
        const std::vector<int> written =
            c.written.empty() ? h->coordinator.Settings().Image()->ConfigurationAddresses()
                              : c.written;
        EXPECT_EQ(h->modem.written, written);
        const auto commit = std::find(h->modem.commands.begin(), h->modem.commands.end(), 0x1E);
        EXPECT_EQ(std::count(commit, h->modem.commands.end(), 0x21),
                  c.verify ? static_cast<long>(written.size()) : 0);
        EXPECT_EQ(h->coordinator.Programming().GetProgramNote(), c.note);
        EXPECT_EQ(h->ui.progress.back()->title, c.verify ? "Verifying Modem" : "Programming Modem");
        EXPECT_EQ(h->ui.progress.back()->steps, 100);
        // After a failed verification the changes stay pending, Undo too keeps Program enabled.
        if (c.result != rc::kOk) {
            ASSERT_EQ(h->coordinator.Undo(), rc::kOk);
        }
        EXPECT_EQ(h->coordinator.IsModified(), c.result != rc::kOk);
    }
}

// After a failed write or commit the written bytes are read back, and the operator learns
// whether the modem holds the new settings (tests/data). Without a backup nothing is written: a
// folder that cannot be made stops the Program before the modem hears a write (why a file cannot
// be written is the writer's test). The changes stay pending in every case: Undo returns to the
// old values.
TEST(FailedProgram, SaysWhetherTheModemHoldsTheNewSettings) {
    const struct {
        const char* name;
        std::function<void(CoordinatorHarness&)> fault;
    } cases[] = {
        {"no backup",
         [](CoordinatorHarness& h) {
             h.coordinator.Programming().SetBackupRoot(h.dir.Write("plain", "x") + "/backups");
         }},
        {"a write refused",
         [](CoordinatorHarness& h) {
             h.modem.faultAddress = 0x16D, h.modem.faultReply = {1, 0x55, 0x55, 0x55};
         }},
        {"a write's reply lost", [](CoordinatorHarness& h) { h.modem.lostReplyAddress = 0x16D; }},
        {"the commit's reply lost", [](CoordinatorHarness& h) { h.modem.replyFor[0x1E] = {}; }},
        {"the commit refused",
         [](CoordinatorHarness& h) {
             h.modem.replyFor[0x1E] = {0x01, 0x9E, 0x01, 0x60};
         }},
        {"the modem falls silent",
         [](CoordinatorHarness& h) { h.modem.faultAddress = 0x1F5, h.modem.faultReply = {}; }},
    };
    std::string notes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto h = EditedHarness();
        c.fault(*h);
        const int result = h->coordinator.Program(h->response);
        notes += WithoutFolder(
            Format("== %s: %d; %d writes, %d commits; response %s\n", c.name, result,
                   h->modem.Count(0x20), h->modem.Count(0x1E), VisibleText(h->response).c_str()) +
                ProgramFailureMessage("Failed.", result,
                                      h->coordinator.Programming().GetProgramNote()) +
                "\n",
            h->dir.path());
        EXPECT_TRUE(h->coordinator.IsModified() && !h->coordinator.IsProgrammed());
        ASSERT_EQ(h->coordinator.Undo(), rc::kOk);
        EXPECT_EQ(h->Text(pid::kOwner), "");
        EXPECT_FALSE(h->coordinator.IsModified());
    }
    EXPECT_TRUE(MatchesGolden("failed_program_notes.txt", notes));
}

// A restore puts the backup into the pages and leaves Program to the operator; a backup of
// another firmware's layout is refused even when forced. (Another serial number, a damaged file
// and the menu's messages are the settings run's and the Settings menu's tests.)
TEST(Restore, PutsTheBackupIntoThePagesUnlessItsLayoutDiffers) {
    auto h = EditedHarness("Before");
    BackupImage backup;
    ASSERT_TRUE(h->coordinator.Programming().MakeBackup(backup));
    BackupImage shorter = backup;
    shorter.header.extensionSize = 5;
    shorter.bytes.resize(246 + 5);
    ASSERT_EQ(h->coordinator.Program(h->response), rc::kOk);
    ASSERT_EQ(h->coordinator.Settings().SetText(pid::kOwner, "After"), rc::kOk);
    h->coordinator.SetView(&h->view);
    h->modem.commands.clear();
    std::string reason;
    EXPECT_EQ(h->coordinator.Programming().RestoreBackup(shorter, true, reason),
              rc::kBackupRefused);
    EXPECT_EQ(
        reason,
        "The backup holds 246 + 5 bytes of a type 4 modem; this modem has 246 + 9 bytes and is "
        "of type 4.");
    EXPECT_EQ(h->Text(pid::kOwner), "After");
    EXPECT_TRUE(h->view.calls.empty());
    ASSERT_EQ(h->coordinator.Programming().RestoreBackup(backup, false, reason), rc::kOk);
    EXPECT_EQ(h->Text(pid::kOwner), "");
    EXPECT_EQ(h->view.calls, std::vector<std::string>{"Values *"});
    EXPECT_TRUE(h->modem.commands.empty());
    EXPECT_TRUE(h->coordinator.IsModified());
}

}  // namespace
}  // namespace vxl::test
