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
    EXPECT_EQ(backup.header.serialNumber, kSerial);  // its layout: Restore's test
    EXPECT_TRUE(backup.header.time >= before && backup.header.time <= h->clock.WallSeconds());
    EXPECT_EQ(OwnerIn(backup), std::string(6, '\0'));

    // The next Program in the same second gets a file of its own, holding the first one's
    // settings (the list of both, newest first, is the Settings menu's test).
    ASSERT_EQ(h->coordinator.Settings().SetText(pid::kOwner, "Quarry 2"), rc::kOk);
    ASSERT_EQ(h->coordinator.Program(h->response), rc::kOk);
    EXPECT_NE(h->coordinator.Programming().GetLastBackupPath(), first);
    EXPECT_EQ(OwnerIn(ReadBack(h->coordinator.Programming().GetLastBackupPath())), "Quarry");
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
// and reads every byte (tests/data). A modem that runs another serial rate than it stores (after
// a Program that changed it, until it restarts) also gets the rate the pages show. After a failed
// verification the changes stay pending; Undo too keeps Program enabled.
TEST(Programming, WritesWhatDiffersUnlessTheModemsContentsAreUncertain) {
    const auto failedProgram = [](CoordinatorHarness& h, int wrongStore, int lostReply) {
        h.modem.wrongStoreAddress = wrongStore;
        h.modem.lostReplyAddress = lostReply;
        EXPECT_NE(h.coordinator.Program(h.response), rc::kOk);
        h.modem.wrongStoreAddress = h.modem.lostReplyAddress = -1;
    };
    const struct {
        const char* name;
        std::function<void(CoordinatorHarness&)> before;
        bool verify = true;
    } cases[] = {
        {"one field", [](CoordinatorHarness&) {}},
        {"a byte stored wrongly", [](CoordinatorHarness& h) { h.modem.wrongStoreAddress = 0x16C; }},
        {"verification off", [](CoordinatorHarness& h) { h.modem.wrongStoreAddress = 0x16C; },
         false},
        {"a rate stored otherwise than it runs",
         [](CoordinatorHarness& h) {
             h.modem.memory[0xEE8B] = 2;
             ASSERT_EQ(h.coordinator.Read(h.response, false), rc::kOk);
         }},
        {"fullwrite",
         [](CoordinatorHarness& h) { h.coordinator.Programming().SetFullWrite(true); }},
        {"after a failed verification",
         [&](CoordinatorHarness& h) { failedProgram(h, 0x16C, -1); }},
        {"after a lost write reply", [&](CoordinatorHarness& h) { failedProgram(h, -1, 0x16D); }},
        {"a restored backup",
         [](CoordinatorHarness& h) {
             BackupImage held;
             std::string reason;
             ASSERT_TRUE(h.coordinator.Programming().MakeBackup(held));
             ASSERT_EQ(h.coordinator.Programming().RestoreBackup(held, false, reason), rc::kOk);
         }},
        {"settings that failed their checksum",
         [](CoordinatorHarness& h) {
             h.modem.damagedReadAddress = 0x150;
             ASSERT_EQ(h.coordinator.Read(h.response, false), rc::kOk);
             h.modem.damagedReadAddress = -1;
         }},
    };
    std::string outcomes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto h = EditedHarness();
        h->coordinator.Programming().SetVerifyAfterProgramming(c.verify, false);
        c.before(*h);
        ASSERT_EQ(h->coordinator.Settings().SetText(pid::kOwner, "Quarry"), rc::kOk);
        h->modem.commands.clear();
        h->modem.written.clear();
        const int result = h->coordinator.Program(h->response);
        std::string written;
        for (int address : h->modem.written) written += Format(" %03X", address);
        if (h->modem.written == h->coordinator.Settings().Image()->ConfigurationAddresses())
            written = " every byte";
        const auto commit = std::find(h->modem.commands.begin(), h->modem.commands.end(), 0x1E);
        if (result != rc::kOk) {
            ASSERT_EQ(h->coordinator.Undo(), rc::kOk);
        }
        outcomes += Format("## %s: %d; %s (%d steps); modified %d\nwrote%s; read back %ld\n",
                           c.name, result, h->ui.progress.back()->title.c_str(),
                           h->ui.progress.back()->steps, h->coordinator.IsModified(),
                           written.c_str(), std::count(commit, h->modem.commands.end(), 0x21)) +
                    h->coordinator.Programming().GetProgramNote() + "\n";
    }
    EXPECT_TRUE(MatchesGolden("programming_writes.txt", outcomes));
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
