// Safe programming: the backup before every Program, the read-back after it, what the operator
// learns when a write or commit goes wrong, and restoring a backup.
#include <gtest/gtest.h>

#include <filesystem>

#include "backup/backup_store.h"
#include "coordinator/safety_commands.h"
#include "coordinator_harness.h"
#include "params/parameter_ids.h"
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

// Without a backup nothing is written: a folder that cannot be made and a disk that is full
// both stop the Program before the modem hears a write, and the changes stay pending.
// Why a file cannot be written (a full disk, a read-only folder) is the writer's test.
TEST(Backup, ABackupThatCannotBeWrittenStopsTheProgram) {
    auto h = EditedHarness();
    h->coordinator.Programming().SetBackupRoot(h->dir.Write("plain", "x") + "/backups");
    const int result = h->coordinator.Program(h->response);
    EXPECT_EQ(result, rc::kBackupFailed);
    EXPECT_EQ(h->modem.Count(0x20), 0);
    EXPECT_EQ(h->modem.Count(0x1E), 0);
    EXPECT_TRUE(h->coordinator.IsModified());
    const std::string message =
        ProgramFailureMessage("Failed.", result, h->coordinator.Programming().GetProgramNote());
    EXPECT_EQ(message, "The modem's settings could not be backed up to " +
                           h->dir.File("plain/backups/") + kSerial + ": cannot make the folder " +
                           h->dir.File("plain/backups") +
                           ": Not a directory.\nNothing was written to the modem. Free some disk "
                           "space or make the folder writable, then program again.");
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

TEST(Verification, TheMenuChoiceIsStoredAndTheCommandLineOnlyLastsTheRun) {
    CoordinatorHarness h;
    EXPECT_TRUE(h.coordinator.Programming().VerifiesAfterProgramming());
    SafetyCommands commands(h.coordinator);
    commands.ToggleVerifyAfterProgramming();
    EXPECT_FALSE(commands.VerifyAfterProgramming());
    EXPECT_EQ(h.prefs.GetInt(kPrefVerifyAfterProgramming, -1), 0);
    h.coordinator.Programming().SetVerifyAfterProgramming(true, false);
    EXPECT_EQ(h.prefs.GetInt(kPrefVerifyAfterProgramming, -1), 0);
    h.coordinator.Init(3, 1);
    EXPECT_FALSE(h.coordinator.Programming().VerifiesAfterProgramming());
}

// After a failed write or commit the written bytes are read back, and the operator learns
// whether the modem holds the new settings. The changes stay pending in every case: Undo returns
// to the old values.
TEST(FailedProgram, ReadsBackAndSaysWhetherTheModemHoldsTheNewSettings) {
    const struct {
        const char* name;
        std::function<void(FakeModem&)> fault;
        int result;
        const char* note;
    } cases[] = {
        {"a write refused",
         [](FakeModem& m) {
             m.faultAddress = 0x16D;
             m.faultReply = {0x01, 0x55, 0x55, 0x55};
         },
         rc::kIncorrectResponse,
         "The settings could not be read back from the modem: whether it holds the new settings "
         "is unknown. Load it again to check."},
        {"a write's reply lost", [](FakeModem& m) { m.lostReplyAddress = 0x16D; }, rc::kTimeout,
         "Reading the settings back shows that the modem does not hold the new settings (4 bytes "
         "differ, first at 0x016E). Program it again."},
        {"the commit's reply lost", [](FakeModem& m) { m.replyFor[0x1E] = {}; }, rc::kTimeout,
         "The modem holds the new settings in its memory, but its answer to the command that "
         "stores them was lost or damaged: whether it stored them is unknown. Load the modem "
         "again to find out, or program it again."},
        {"the commit refused",
         [](FakeModem& m) {
             m.replyFor[0x1E] = {0x01, 0x9E, 0x01, 0x60};
         },
         rc::kIncorrectResponse,
         "The modem holds the new settings in its memory but refused to store them: it returns "
         "to its previous settings when it restarts. Program it again."},
        {"the modem falls silent",
         [](FakeModem& m) {
             m.faultAddress = 0x1F5;
             m.faultReply = {};
         },
         rc::kTimeout,
         "The settings could not be read back from the modem: whether it holds the new settings "
         "is unknown. Load it again to check."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto h = EditedHarness();
        c.fault(h->modem);
        const int result = h->coordinator.Program(h->response);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(h->coordinator.Programming().GetProgramNote(), c.note);
        EXPECT_TRUE(h->coordinator.IsModified());
        EXPECT_FALSE(h->coordinator.IsProgrammed());
        EXPECT_EQ(
            ProgramFailureMessage("Failed.", result, h->coordinator.Programming().GetProgramNote()),
            std::string("Failed.\n\n") + c.note);
        EXPECT_FALSE(h->response.empty());
        ASSERT_EQ(h->coordinator.Undo(), rc::kOk);
        EXPECT_EQ(h->Text(pid::kOwner), "");
        EXPECT_FALSE(h->coordinator.IsModified());
    }
}

class Restore : public ::testing::Test {
  protected:
    void SetUp() override {
        h = EditedHarness("Before");
        ASSERT_EQ(h->coordinator.Program(h->response), rc::kOk);
        ASSERT_EQ(h->coordinator.Settings().SetText(pid::kOwner, "After"), rc::kOk);
        ASSERT_EQ(h->coordinator.Program(h->response), rc::kOk);
        path = h->coordinator.Programming().GetLastBackupPath();
        backup = ReadBack(path);
    }
    std::unique_ptr<CoordinatorHarness> h;
    std::string path;
    BackupImage backup;
};

TEST_F(Restore, PutsTheBackupIntoThePagesAndLeavesProgramToTheOperator) {
    SafetyCommands commands(h->coordinator);
    h->coordinator.SetView(&h->view);
    h->modem.commands.clear();
    EXPECT_EQ(commands.RestoreFromBackup(path), rc::kOk);
    EXPECT_EQ(h->Text(pid::kOwner), "Before");
    EXPECT_TRUE(h->coordinator.IsModified());
    EXPECT_EQ(h->view.calls, std::vector<std::string>{"Values *"});
    EXPECT_TRUE(h->modem.commands.empty());
    ASSERT_EQ(h->ui.messages.size(), 1u);
    EXPECT_EQ(h->ui.messages[0].caption, "Restore From Backup");
    ASSERT_EQ(h->coordinator.Program(h->response), rc::kOk);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&h->modem.memory[0x16B]), 6), "Before");
}

TEST_F(Restore, RefusesAnotherModemUnlessForcedAndAnotherLayoutAlways) {
    BackupImage other = backup;
    other.bytes[0x09] = 0x3C;  // serial number 1427260
    other.header.serialNumber = "01427260";
    BackupImage shorter = backup;
    shorter.header.extensionSize = 5;
    shorter.bytes.resize(246 + 5);
    const struct {
        const char* name;
        const BackupImage& image;
        bool force;
        int result;
        const char* reason;
    } cases[] = {
        {"another serial number", other, false, rc::kBackupRefused,
         "The backup belongs to the modem with serial number 01427260, not to this modem "
         "(01427259)."},
        {"another serial number, forced", other, true, rc::kOk, ""},
        {"another firmware's layout, forced", shorter, true, rc::kBackupRefused,
         "The backup holds 246 + 5 bytes of a type 4 modem; this modem has 246 + 9 bytes and is "
         "of type 4."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(h->coordinator.Undo(), rc::kOk);
        std::string reason;
        EXPECT_EQ(h->coordinator.Programming().RestoreBackup(c.image, c.force, reason), c.result);
        EXPECT_EQ(reason, c.reason);
        // A forced restore takes the settings, never the identity of the other modem.
        EXPECT_EQ(h->Text(pid::kOwner), c.result == rc::kOk ? "Before" : "After");
        EXPECT_EQ(h->Text(pid::kSerialNumber), kSerial);
    }
}

TEST_F(Restore, ADamagedBackupIsRefusedWithItsReason) {
    std::string text = TempDir::Read(path);
    text[text.rfind("0170=") + 6] ^= 1;  // one hex digit of the memory changed
    const std::string damaged = h->dir.Write("damaged.img", text);
    SafetyCommands commands(h->coordinator);
    EXPECT_EQ(commands.RestoreFromBackup(damaged), rc::kBackupDamaged);
    ASSERT_EQ(h->ui.messages.size(), 1u);
    EXPECT_EQ(h->ui.messages[0].text,
              "The backup " + damaged + " cannot be restored: the bytes do not match their CRC");
    EXPECT_EQ(h->Text(pid::kOwner), "After");
    EXPECT_FALSE(h->coordinator.IsModified());
}

}  // namespace
}  // namespace vxl::test
