#include "coordinator/firmware_upgrade.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "coordinator/coordinator.h"
#include "modem/fake_loader_link.h"
#include "modem/firmware_file.h"
#include "modem/modem.h"
#include "params/definitions.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/preferences.h"
#include "util/result_codes.h"

namespace vxl {
namespace {

using test::LoaderScript;
using test::RecordedMessage;

constexpr const char* kFailedCaption = "Attempt to upgrade modem firmware failed.";

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

// Firmware 3.55 starting at 0x9000.
const std::string kFirmware =
    FormatSrecord('0', 0, "FW") + FormatSrecord('1', 0x8400, Bytes({0, 0, 35, 5})) +
    FormatSrecord('1', 0xFFFE, Bytes({0x90, 0x00})) + FormatSrecord('9', 0x9000, "");

class FirmwareUpgradeTest : public ::testing::Test {
  protected:
    FirmwareUpgradeTest()
        : prefs_(dir_.File("prefs.conf")),
          clockScope_(clock_),
          uiScope_(ui_),
          prefsScope_(prefs_),
          definitionsScope_(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini"),
          state_(std::make_shared<test::FakeModemState>()) {
        coordinator_.SetLinkFactory([this](int, int&) -> std::unique_ptr<ISerialLink> {
            return std::make_unique<test::FakeLoaderLink>(clock_, state_);
        });
        coordinator_.SetModemFactory([](std::string& status, ISerialLink* link,
                                        std::unique_ptr<CModemBase>& modem, int, std::string&,
                                        bool) {
            auto real = std::make_unique<CModem>(link);
            int result = real->Identify(status);
            modem = std::move(real);
            return result;
        });
        coordinator_.SetPort(1);
        // A modem of the program's own family (model 5), serial number 123456.
        Poke(0x106, {0x00, 0x01, 0xE2, 0x40});
        Poke(0x10A, {0xD2});
        Poke(0x8404, {246});
    }

    void Poke(int address, std::initializer_list<int> bytes) {
        for (int b : bytes) state_->memory[address++] = static_cast<uint8_t>(b);
    }

    // Attaches to a modem reporting firmware revision bytes b0, b1.
    void AttachModem(int b0, int b1) {
        Poke(0x8402, {b0, b1});
        std::string response;
        ASSERT_EQ(coordinator_.Attach(response, false), 0) << response;
    }

    std::string UpgradeFile(const std::string& text) {
        CFirmwareFile file;
        file.SetText(text);
        std::string path = dir_.File("new.fw");
        EXPECT_EQ(file.WriteUpgradeFile(path), 0);
        return path;
    }

    bool LoaderStarted() const {
        for (const std::string& w : state_->writes) {
            if (w == "\x01\x1C\xE3\n") return true;
        }
        return false;
    }

    test::TempDir dir_;
    test::FakeClock clock_;
    test::RecordingOperator ui_;
    PreferenceStore prefs_;

  private:
    ScopedClock clockScope_;
    ScopedUi uiScope_;
    ScopedPrefs prefsScope_;
    ScopedDefinitionsPath definitionsScope_;

  protected:
    std::shared_ptr<test::FakeModemState> state_;
    CCoordinator coordinator_;
};

TEST_F(FirmwareUpgradeTest, SuccessStoresTheOldModemDetachesAndTellsTheOperator) {
    AttachModem(10, 0);  // 1.00, the first revision that can be upgraded
    std::string path = UpgradeFile(kFirmware);
    std::string response = "old";
    ASSERT_EQ(UpgradeModemFirmware(coordinator_, path, true, response), 0) << response;

    ASSERT_EQ(ui_.messages.size(), 3u);
    EXPECT_EQ(ui_.messages[0].text, "Copy new firmware from file " + path + " to modem?");
    EXPECT_EQ(ui_.messages[0].caption, "Upgrade Modem Firmware");
    EXPECT_EQ(ui_.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(ui_.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui_.messages[1].text, "Firmware revision 3.55 written to modem.");
    EXPECT_EQ(ui_.messages[1].caption, "Firmware Upgrade Complete");
    EXPECT_EQ(ui_.messages[2].caption, "Power-Cycle Your Modem");
    EXPECT_EQ(ui_.messages[2].icon, MsgIcon::Exclamation);
    EXPECT_EQ(
        ui_.messages[2].text.rfind("Modem must be power-cycled after firmware download.\n\n", 0),
        0u);

    EXPECT_EQ(prefs_.GetInt(kPrefLastSerialNumber, -1), 123456);
    EXPECT_EQ(prefs_.GetText(kPrefLastFWRev, ""), "1.00");
    EXPECT_FALSE(coordinator_.IsAttached());
    ASSERT_GE(state_->writes.size(), 2u);
    EXPECT_EQ(state_->writes[state_->writes.size() - 2], "G 9000\n");
    EXPECT_EQ(state_->writes.back()[1], '\x1D') << "the detach resets the modem";
    EXPECT_EQ(ui_.waitCursorDepth, 0);
    EXPECT_GT(ui_.waitCursorCount, 0);
}

TEST_F(FirmwareUpgradeTest, ModemsWithoutAnUpgradableLoaderAreRefused) {
    const struct {
        const char* name;
        std::function<void()> attach;
    } cases[] = {
        {"firmware 0.99", [this] { AttachModem(9, 9); }},
        {"demo modem", [this] { ASSERT_EQ(coordinator_.StartDemo(), 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui_.messages.clear();
        c.attach();
        std::string response;
        EXPECT_EQ(UpgradeModemFirmware(coordinator_, UpgradeFile(kFirmware), true, response),
                  rc::kNotSupported);
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].text,
                  "Your modem's firmware cannot be upgraded by VXL Configuration Software.\n"
                  "Please contact your dealer for further assistance.");
        EXPECT_EQ(ui_.messages[0].caption, "Upgrade Modem Firmware");
        EXPECT_EQ(ui_.messages[0].icon, MsgIcon::Exclamation);
        EXPECT_FALSE(LoaderStarted());
        EXPECT_TRUE(coordinator_.IsAttached());
        EXPECT_EQ(prefs_.GetInt(kPrefLastSerialNumber, -1), -1);
        std::string detached;
        coordinator_.Detach(detached, true);
    }
}

TEST_F(FirmwareUpgradeTest, DeclinedConfirmationChangesNothing) {
    AttachModem(22, 0);
    ui_.ScriptAnswers({MsgAnswer::No});
    std::string response;
    EXPECT_EQ(UpgradeModemFirmware(coordinator_, UpgradeFile(kFirmware), true, response),
              kUpgradeDeclined);
    EXPECT_EQ(ui_.messages.size(), 1u);
    EXPECT_FALSE(LoaderStarted());
    EXPECT_TRUE(coordinator_.IsAttached());
    EXPECT_EQ(prefs_.GetText(kPrefLastFWRev, "none"), "none");
}

TEST_F(FirmwareUpgradeTest, WithoutConfirmationNoQuestionIsAsked) {
    AttachModem(22, 0);
    std::string response;
    ASSERT_EQ(
        UpgradeModemFirmware(
            coordinator_, UpgradeFile(FormatSrecord('1', 0x9000, "x") + FormatSrecord('9', 0, "")),
            false, response),
        0);
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[0].text, "Firmware revision 0.00 written to modem.");
    EXPECT_EQ(prefs_.GetText(kPrefLastFWRev, ""), "2.20");
}

struct FailureCase {
    const char* name;
    std::function<void(LoaderScript&)> fault;
    std::string file;  // S-record text; empty: no file at all
    int result;
    std::string message;
};

TEST_F(FirmwareUpgradeTest, FailuresShowTheCodeTextAndKeepTheModem) {
    const FailureCase cases[] = {
        {"memory check", [](LoaderScript& s) { s.banner = "KTR F/W Loader FAIL?"; }, kFirmware, 82,
         "Loader reports memory check failed\nResponse: StartBootloader->KTR F/W Loader FAIL?<-"},
        {"wrong banner", [](LoaderScript& s) { s.banner = "Hi?"; }, kFirmware, 108,
         "Incorrect response from modem\nResponse: StartBootloader->Hi?<-"},
        {"silent loader", [](LoaderScript& s) { s.banner = ""; }, kFirmware, 77,
         "Modem command timed out"},
        {"load refused", [](LoaderScript& s) { s.loadReply = "\r\nNO!\r\n"; }, kFirmware, 83,
         "Load command failed."},
        {"not stored", [](LoaderScript& s) { s.afterEndBody = "?"; }, kFirmware, 85,
         "Request to write new firmware to EEPROM failed."},
        {"not validated", [](LoaderScript& s) { s.storeReply = "DONE?"; }, kFirmware, 86,
         "Validation of new firmware by loader failed."},
        {"excess load reply", [](LoaderScript& s) { s.loadReply = "\r\n...\r\n\r\n"; }, kFirmware,
         89, "Error code 89"},
        {"unlock cannot read the key", [](LoaderScript& s) { s.answerReads = false; }, kFirmware,
         77, "Modem command timed out"},
        {"corrupt file", [](LoaderScript&) {}, "S1038400\n", 87, "Firmware file is corrupt."},
        {"missing file", [](LoaderScript&) {}, "", rc::kFileNotFound, "The file was not found."},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        ui_.messages.clear();
        state_->script = LoaderScript{};
        state_->dataRecords = 0;
        AttachModem(22, 1);
        c.fault(state_->script);
        std::string path = c.file.empty() ? dir_.File("absent.fw") : UpgradeFile(c.file);
        std::string response;
        EXPECT_EQ(UpgradeModemFirmware(coordinator_, path, false, response), c.result);
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].caption, kFailedCaption);
        EXPECT_EQ(ui_.messages[0].text, c.message);
        EXPECT_EQ(ui_.messages[0].icon, MsgIcon::Stop);
        EXPECT_TRUE(coordinator_.IsAttached());
        EXPECT_EQ(prefs_.GetText(kPrefLastFWRev, ""), "2.21");
    }
}

TEST_F(FirmwareUpgradeTest, LoadedModemStoresItsParameterValues) {
    Poke(0x106, {0x00, 0x0F, 0x42, 0x3F});  // 999999
    AttachModem(21, 3);
    std::string response;
    ASSERT_EQ(coordinator_.Read(response, false), 0) << response;
    ASSERT_NE(coordinator_.GetParameterSet(), nullptr);
    ASSERT_EQ(UpgradeModemFirmware(coordinator_, UpgradeFile(kFirmware), false, response), 0);
    EXPECT_EQ(prefs_.GetInt(kPrefLastSerialNumber, -1), 999999);
    EXPECT_EQ(prefs_.GetText(kPrefLastFWRev, ""), "2.13");
    EXPECT_FALSE(coordinator_.IsLoaded());
}

TEST_F(FirmwareUpgradeTest, NoModemAttached) {
    std::string response;
    EXPECT_EQ(UpgradeModemFirmware(coordinator_, UpgradeFile(kFirmware), true, response),
              rc::kNoPort);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].caption, kFailedCaption);
    EXPECT_EQ(ui_.messages[0].text, "Error code 75");
    EXPECT_TRUE(state_->writes.empty());
}

}  // namespace
}  // namespace vxl
