// The upgrade workflow: revision check, confirmation, the stored preferences, the loader steps
// against the fake modem's boot loader, the detach, and what the operator is told.
#include "coordinator/firmware_upgrade.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "backup/backup_store.h"
#include "coordinator_harness.h"
#include "modem/firmware_file.h"

namespace vxl::test {
namespace {

constexpr const char* kFailedCaption = "Attempt to upgrade modem firmware failed.";

// Firmware 3.55 starting at 0x9000.
const std::string kFirmware =
    FormatSrecord('0', 0, "FW") + FormatSrecord('1', 0x8400, std::string("\0\0\x23\x05", 4)) +
    FormatSrecord('1', 0xFFFE, std::string("\x90\0", 2)) + FormatSrecord('9', 0x9000, "");

class FirmwareUpgradeTest : public ::testing::Test {
  protected:
    // A fresh harness; the old one goes first, so that it does not put back the process-wide
    // services after the new one has installed its own.
    void Fresh(int revisionHundredths = 220) {
        h.reset();
        h = std::make_unique<CoordinatorHarness>(0xD2, revisionHundredths);
    }
    // Attaches to a modem of firmware `revisionHundredths`.
    void Attach(int revisionHundredths) {
        Fresh(revisionHundredths);
        ASSERT_EQ(h->coordinator.Attach(h->response, false), 0) << h->response;
    }
    // Upgrades from a file of these records ("": from a file that does not exist).
    int Upgrade(const std::string& text, bool confirm) {
        CFirmwareFile file;
        file.SetText(text);
        path = h->dir.File(text.empty() ? "absent.fw" : "new.fw");
        EXPECT_TRUE(text.empty() || file.WriteUpgradeFile(path) == 0);
        return UpgradeModemFirmware(h->coordinator, path, confirm, response);
    }

    std::unique_ptr<CoordinatorHarness> h;
    std::string path, response;
};

TEST_F(FirmwareUpgradeTest, SuccessStoresTheOldModemDetachesAndTellsTheOperator) {
    Attach(100);  // the first revision that can be upgraded
    ASSERT_EQ(Upgrade(kFirmware, true), 0) << response;
    const std::vector<RecordedMessage>& messages = h->ui.messages;
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].text, "Copy new firmware from file " + path + " to modem?");
    EXPECT_EQ(messages[0].caption, "Upgrade Modem Firmware");
    EXPECT_EQ(messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages[1].text, "Firmware revision 3.55 written to modem.");
    EXPECT_EQ(messages[1].caption, "Firmware Upgrade Complete");
    EXPECT_EQ(messages[2].caption, "Power-Cycle Your Modem");
    EXPECT_EQ(messages[2].icon, MsgIcon::Exclamation);
    EXPECT_EQ(messages[2].text.rfind("Modem must be power-cycled after firmware download.\n\n", 0),
              0u);

    EXPECT_EQ(h->prefs.GetInt(kPrefLastSerialNumber, -1), 1427259);
    EXPECT_EQ(h->prefs.GetText(kPrefLastFWRev, ""), "1.00");
    EXPECT_FALSE(h->coordinator.IsAttached());
    EXPECT_EQ(h->modem.heard[h->modem.heard.size() - 2], "G 9000\n");
    EXPECT_EQ(h->modem.commands.back(), 0x1D) << "the detach resets the modem";
    EXPECT_EQ(h->ui.waitCursorDepth, 0);
    EXPECT_GT(h->ui.waitCursorCount, 0);
    // Attached without a load: the settings were read for the backup first.
    EXPECT_EQ(ListBackupFiles(h->dir.File("backups"), "01427259").size(), 1u);
}

TEST_F(FirmwareUpgradeTest, NoUpgradeWithoutABackup) {
    Attach(220);
    h->coordinator.Programming().SetBackupRoot(h->dir.Write("plain", "x") + "/backups");
    EXPECT_EQ(Upgrade(kFirmware, false), rc::kBackupFailed);
    ASSERT_EQ(h->ui.messages.size(), 1u);
    EXPECT_EQ(h->ui.messages[0].caption, "Upgrade Modem Firmware");
    EXPECT_NE(h->ui.messages[0].text.find("could not be backed up"), std::string::npos);
    EXPECT_EQ(h->modem.Count(0x1C), 0) << "the boot loader was started";
    EXPECT_EQ(h->prefs.GetText(kPrefLastFWRev, ""), "");
    EXPECT_TRUE(h->coordinator.IsAttached());
}

// The window's command: the check comes before the file dialog, the folder is remembered once
// the operator confirms, and the window learns its next default button and menu states.
TEST_F(FirmwareUpgradeTest, TheWindowChecksFirstThenAsksForTheFileAndTheConfirmation) {
    const struct {
        const char* name;
        int revision;
        bool chooseFile;
        MsgAnswer confirm;
        int result;
        size_t dialogs;
        std::vector<std::string> captions;
    } cases[] = {
        // clang-format off
        {"cannot be upgraded", 99, true, MsgAnswer::Yes, rc::kNotSupported, 0,
         {"Upgrade Modem Firmware"}},
        {"file dialog cancelled", 220, false, MsgAnswer::Yes, kUpgradeDeclined, 1, {}},
        {"not confirmed", 220, true, MsgAnswer::No, kUpgradeDeclined, 1, {"Upgrade Modem Firmware"}},
        {"upgraded", 220, true, MsgAnswer::Yes, 0, 1,
         {"Upgrade Modem Firmware", "Firmware Upgrade Complete", "Power-Cycle Your Modem"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Attach(c.revision);
        CFirmwareFile file;
        file.SetText(kFirmware);
        path = h->dir.File("fw/new.fw");
        std::filesystem::create_directories(h->dir.File("fw"));
        ASSERT_EQ(file.WriteUpgradeFile(path), 0);
        h->ui.ScriptFiles({c.chooseFile ? path : ""});
        h->ui.ScriptAnswers({c.confirm});
        std::string folder = "/srv/firmware";
        const FirmwareUpgradeOutcome outcome =
            UpgradeFirmwareFromWindow(h->coordinator, folder, response);
        EXPECT_EQ(outcome.result, c.result);
        ASSERT_EQ(h->ui.fileDialogs.size(), c.dialogs);
        if (c.dialogs) {
            const RecordedFileDialog& d = h->ui.fileDialogs[0];
            EXPECT_EQ(d.title, "Upgrade Modem Firmware");
            EXPECT_EQ(d.filter, "Firmware Upgrades (*.fw);;All Files (*)");
            EXPECT_EQ(d.startDir, "/srv/firmware");
            EXPECT_EQ(d.afterMessages, 0u);
        }
        std::vector<std::string> captions;
        for (const RecordedMessage& m : h->ui.messages) captions.push_back(m.caption);
        EXPECT_EQ(captions, c.captions);
        const bool upgraded = c.result == 0;
        EXPECT_EQ(folder, upgraded ? h->dir.File("fw") : "/srv/firmware");
        EXPECT_EQ(outcome.loadBecomesDefault, upgraded);
        EXPECT_EQ(outcome.upgradeEnabled, !upgraded);
        EXPECT_EQ(outcome.selectPortEnabled, upgraded);
        EXPECT_EQ(h->modem.Count(0x1C), upgraded ? 1 : 0);
        EXPECT_EQ(h->prefs.GetText(kPrefLastFWRev, "none"), upgraded ? "2.20" : "none");
    }
}

TEST_F(FirmwareUpgradeTest, ModemsWithoutAnUpgradableLoaderAreRefused) {
    for (bool demo : {false, true}) {
        SCOPED_TRACE(demo ? "demo modem" : "firmware 0.99");
        if (demo) {
            Fresh();
            ASSERT_EQ(h->coordinator.StartDemo(), 0);
        } else {
            Attach(99);
        }
        EXPECT_EQ(Upgrade(kFirmware, true), rc::kNotSupported);
        ASSERT_EQ(h->ui.messages.size(), 1u);
        EXPECT_EQ(h->ui.messages[0].text,
                  "Your modem's firmware cannot be upgraded by VXL Configuration Software.\n"
                  "Please contact your dealer for further assistance.");
        EXPECT_EQ(h->ui.messages[0].caption, "Upgrade Modem Firmware");
        EXPECT_EQ(h->ui.messages[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(h->modem.Count(0x1C), 0);
        EXPECT_TRUE(h->coordinator.IsAttached());
        EXPECT_EQ(h->prefs.GetInt(kPrefLastSerialNumber, -1), -1);
    }
}

TEST_F(FirmwareUpgradeTest, FailuresShowTheCodeTextAndKeepTheModem) {
    const struct {
        const char* name;
        std::function<void(FakeModem&)> fault;
        std::string file;  // S-record text; empty: no file at all
        int result;
        std::string message;
        bool inLoader;  // the advice for a modem left in its boot loader follows
    } cases[] = {
        // clang-format off
        {"memory check", [](FakeModem& m) { m.loader.banner = "KTR F/W Loader FAIL?"; }, kFirmware, 82,
         "Loader reports memory check failed\nResponse: StartBootloader->KTR F/W Loader FAIL?<-", true},
        {"wrong banner", [](FakeModem& m) { m.loader.banner = "Hi?"; }, kFirmware, 108,
         "Incorrect response from modem\nResponse: StartBootloader->Hi?<-", false},
        {"silent loader", [](FakeModem& m) { m.loader.banner = ""; }, kFirmware, 77,
         "Modem command timed out", false},
        {"load refused", [](FakeModem& m) { m.loader.loadReply = "\r\nNO!\r\n"; }, kFirmware, 83,
         "Load command failed.", true},
        {"not stored", [](FakeModem& m) { m.loader.afterEndBody = "?"; }, kFirmware, 85,
         "Request to write new firmware to EEPROM failed.", true},
        {"not validated", [](FakeModem& m) { m.loader.storeReply = "DONE?"; }, kFirmware, 86,
         "Validation of new firmware by loader failed.", true},
        {"excess load reply", [](FakeModem& m) { m.loader.loadReply = "\r\n...\r\n\r\n"; }, kFirmware,
         89, "Error code 89: " + ErrorText(89), true},
        {"unlock cannot read the key", [](FakeModem& m) { m.faultAddress = 0x100; }, kFirmware, 77,
         "Modem command timed out", false},
        {"corrupt file", [](FakeModem&) {}, "S1038400\n", 87,
         "Firmware file is corrupt.\n\n$: line 1 ends (LF) after 8 characters where its count asks "
         "for 10 characters followed by CR LF", false},
        {"missing file", [](FakeModem&) {}, "", rc::kFileNotFound,
         "The file was not found.\n\n$: No such file or directory", false},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Attach(221);
        ASSERT_EQ(h->coordinator.Read(response, false), 0) << response;
        c.fault(h->modem);
        EXPECT_EQ(Upgrade(c.file, false), c.result);
        ASSERT_EQ(h->ui.messages.size(), 1u);
        EXPECT_EQ(h->ui.messages[0].caption, kFailedCaption);
        std::string message = c.message;  // "$" stands for the file
        if (message.find('$') != std::string::npos) message.replace(message.find('$'), 1, path);
        if (c.inLoader) message += std::string("\n\n") + kLeftInBootLoader;
        EXPECT_EQ(h->ui.messages[0].text, message);
        EXPECT_EQ(h->ui.messages[0].icon, MsgIcon::Stop);
        EXPECT_TRUE(h->coordinator.IsAttached());
        // A file that cannot be used is refused before the modem is touched.
        const bool touched = c.result != 87 && c.result != rc::kFileNotFound;
        EXPECT_EQ(h->prefs.GetText(kPrefLastFWRev, ""), touched ? "2.21" : "");
    }
}

// A loaded modem stores its parameter values; the confirmation can be left out.
TEST_F(FirmwareUpgradeTest, ALoadedModemStoresItsParameterValues) {
    Attach(213);
    h->modem.Poke(0x106, {0x00, 0x0F, 0x42, 0x3F});  // 999999
    ASSERT_EQ(h->coordinator.Read(response, false), 0) << response;
    ASSERT_EQ(Upgrade(FormatSrecord('1', 0x9000, "x") + FormatSrecord('9', 0, ""), false), 0);
    ASSERT_EQ(h->ui.messages.size(), 2u);
    EXPECT_EQ(h->ui.messages[0].text, "Firmware revision 0.00 written to modem.");
    EXPECT_EQ(h->prefs.GetInt(kPrefLastSerialNumber, -1), 999999);
    EXPECT_EQ(h->prefs.GetText(kPrefLastFWRev, ""), "2.13");
    EXPECT_FALSE(h->coordinator.IsLoaded());
}

TEST_F(FirmwareUpgradeTest, NoModemAttached) {
    Fresh();
    EXPECT_EQ(Upgrade(kFirmware, true), rc::kNoPort);
    ASSERT_EQ(h->ui.messages.size(), 1u);
    EXPECT_EQ(h->ui.messages[0].caption, kFailedCaption);
    EXPECT_EQ(h->ui.messages[0].text, "Error code 75: No modem is attached.");
    EXPECT_TRUE(h->modem.heard.empty());
}

}  // namespace
}  // namespace vxl::test
