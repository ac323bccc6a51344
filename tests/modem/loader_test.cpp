// The boot-loader steps of a firmware upgrade against the loader of a fake modem.
#include <algorithm>
#include <functional>

#include "modem/firmware_file.h"
#include "protocol_fixture.h"
#include "support/temp_dir.h"
#include "util/format.h"

namespace vxl::test {
namespace {

const std::string kHeader = FormatSrecord('0', 0, "FW");
const std::string kData1 = FormatSrecord('1', 0x8400, std::string("\0\0\x16\x01", 4));
const std::string kData2 = FormatSrecord('1', 0xFFFE, std::string("\x90\0", 2));
const std::string kEnd = FormatSrecord('9', 0x9000, "");
const std::string kFirmware = kHeader + kData1 + kData2 + kEnd;
const std::string kStartLoader = "\x01\x1C\xE3\n";

class LoaderTest : public ProtocolTest {
  protected:
    LoaderTest() { modem.commandMode = true; }

    // Writes `text` scrambled as an upgrade file and returns its path.
    std::string UpgradeFile(const std::string& text) {
        CFirmwareFile file;
        file.SetText(text);
        std::string path = dir.File(Format("fw%d.fw", files++));
        EXPECT_EQ(file.WriteUpgradeFile(path), 0);
        return path;
    }
    // What the modem heard from the start-loader frame on.
    std::vector<std::string> LoaderTalk() const {
        auto start = std::find(modem.heard.begin(), modem.heard.end(), kStartLoader);
        return std::vector<std::string>(start, modem.heard.end());
    }

    TempDir dir;
    int files = 0;
};

TEST_F(LoaderTest, UpgradeTalksToTheLoaderInOrderAndStartsTheNewFirmware) {
    CFirmwareFile file(UpgradeFile(kFirmware));
    status = "old";
    ASSERT_EQ(device.UpgradeFirmware(status, file, {}), 0) << status;
    EXPECT_EQ(status, "");
    // The type digit and the first count digit of header and end records go out twice.
    const std::vector<std::string> expected = {kStartLoader, "L\n",
                                               "S00",        kHeader.substr(1),
                                               "S10",        kData1.substr(3),
                                               "S10",        kData2.substr(3),
                                               "S90",        kEnd.substr(1),
                                               "P\r\n",      "G 9000\n"};
    EXPECT_EQ(LoaderTalk(), expected);
    EXPECT_EQ(modem.commands, (Bytes{0x21, 0x21, 0x21, 0x21, 0x21, 0x21, 0x1F, 0x1C}))
        << "the unlock goes before the loader is started";

    ASSERT_EQ(ui.progress.size(), 1u);
    const RecordedProgress& window = *ui.progress[0];
    EXPECT_EQ(window.title, "Firmware Download");
    EXPECT_EQ(window.lines.at(1), "Caution: Do not disconnect modem at this time.");
    EXPECT_EQ(window.lineHistory,
              (std::vector<std::string>{
                  "Reading firmware file.", "Opening modem", "Starting modem bootloader.",
                  "Downloading firmware to modem.", "Saving firmware to modem permanent memory."}));
    EXPECT_EQ(window.barHistory, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(window.upper, 100);
    EXPECT_EQ(window.steps, 1) << "four records: one advance at the start only";
    EXPECT_TRUE(window.closed);
}

TEST_F(LoaderTest, EachOutcomeStopsWithItsCodeAndDiagnostic) {
    using Fault = std::function<void(FakeModem&)>;
    const Fault none = [](FakeModem&) {};
    const struct {
        const char* name;
        Fault fault;
        std::string text;  // the upgrade file's records
        int result;
        std::string status;
        std::string lastHeard;  // the upgrade stopped after this ("": the modem heard nothing)
    } cases[] = {
        // clang-format off
        {"no reset vector: no start command", none, kHeader + kData1 + kEnd, 0,
         "\r\nDONE\r\nPASS\r\n?", "P\r\n"},
        {"unlock refused", [](FakeModem& m) { m.replyFor[0x1F] = {}; }, kFirmware, 77, "Unlock0->",
         std::string("\x01\x1F\0\0\0\0\0\0\xE0", 9)},
        {"banner late but in time", [](FakeModem& m) { m.loader.bannerAfterPolls = 4900; },
         kFirmware, 0, "", "G 9000\n"},
        {"no banner at all", [](FakeModem& m) { m.loader.banner = ""; }, kFirmware, 77,
         "StartBootloader->", kStartLoader},
        {"banner after the poll limit", [](FakeModem& m) { m.loader.bannerAfterPolls = 5100; },
         kFirmware, 77, "StartBootloader->", kStartLoader},
        {"banner without its prompt", [](FakeModem& m) { m.loader.banner = "KTR F/W Loader PASS"; },
         kFirmware, 77, "StartBootloader->KTR F/W Loader PASS", kStartLoader},
        {"load reply short", [](FakeModem& m) { m.loader.loadReply = "..."; }, kFirmware, 77, "",
         "L\n"},
        {"load reply too long", [](FakeModem& m) { m.loader.loadReply = "\r\n...\r\n!"; },
         kFirmware, 89, "", "L\n"},
        {"noise during the header", [](FakeModem& m) { m.loader.afterHeaderBody = "!"; },
         kFirmware, 89, "DownloadSrecord(0,9)->", kHeader.substr(1)},
        {"no prompt for the second data record",
         [](FakeModem& m) { m.loader.stallAtDataRecord = 1; }, kFirmware, 77,
         "DownloadSrecord(S,1)->", "S10"},
        {"no answer after the end record", [](FakeModem& m) { m.loader.afterEndBody = "DONE"; },
         kFirmware, 77, "DownloadSrecord(S,1)->DONE", kEnd.substr(1)},
        {"end record not stored", [](FakeModem& m) { m.loader.afterEndBody = "\r\nERROR\r\n?"; },
         kFirmware, 85, "\r\nERROR\r\n?", kEnd.substr(1)},
        {"store late but in time", [](FakeModem& m) { m.loader.storeAfterPolls = 8900; },
         kFirmware, 0, "", "G 9000\n"},
        {"store after the poll limit", [](FakeModem& m) { m.loader.storeAfterPolls = 9100; },
         kFirmware, 77, "ProgramEEPROM->", "P\r\n"},
        {"store failed", [](FakeModem& m) { m.loader.storeReply = "\r\nFAIL\r\n?"; }, kFirmware,
         85, "ProgramEEPROM->\r\nFAIL\r\n?", "P\r\n"},
        {"store not validated", [](FakeModem& m) { m.loader.storeReply = "\r\nDONE\r\nBAD\r\n?"; },
         kFirmware, 86, "ProgramEEPROM->\r\nDONE\r\nBAD\r\n?", "P\r\n"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeModem fresh(link, clock);
        fresh.commandMode = true;
        c.fault(fresh);
        CFirmwareFile file(UpgradeFile(c.text));
        EXPECT_EQ(device.UpgradeFirmware(status, file, {}), c.result);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(fresh.heard.empty() ? "" : fresh.heard.back(), c.lastHeard);
        EXPECT_TRUE(ui.progress.back()->closed);
    }
}

TEST_F(LoaderTest, StartCommandIsSevenBytesOfLowerCaseHex) {
    status = "x";
    EXPECT_EQ(device.Go(status, 0x12), 0);
    EXPECT_EQ(status, "");
    EXPECT_EQ(modem.heard.back(), "G 0012\n");
    EXPECT_EQ(device.Go(status, 0xABCD), 0);
    EXPECT_EQ(modem.heard.back(), "G abcd\n");
}

// However many records, the bar never runs backwards and ends full.
TEST_F(LoaderTest, ProgressBarStepsFollowTheRecordCount) {
    std::string text = kHeader;
    for (int i = 0; i < 118; ++i) text += FormatSrecord('1', 0x8400 + 16 * i, std::string(16, 'x'));
    text += kEnd;
    std::vector<int> stepsAtPrefix;
    auto answer = link.onWrite;
    link.onWrite = [&](const Bytes& bytes) {
        if (bytes.size() == 3 && bytes[0] == 'S') stepsAtPrefix.push_back(ui.progress[0]->steps);
        answer(bytes);
    };
    CFirmwareFile file(UpgradeFile(text));
    ASSERT_EQ(device.UpgradeFirmware(status, file, {}), 0) << status;
    ASSERT_EQ(stepsAtPrefix.size(), 120u);
    EXPECT_TRUE(std::is_sorted(stepsAtPrefix.begin(), stepsAtPrefix.end()));
    EXPECT_EQ(ui.progress[0]->steps, 100);
}

TEST_F(LoaderTest, DownloadEndsInDataOnlyOnAQuietLineAndDone) {
    modem.inLoader = true;
    CFirmwareFile file;
    file.SetText(kHeader + kData1);
    ASSERT_EQ(file.Parse(), 0);
    EXPECT_EQ(device.Download(status, file, {}), 85) << "the loader stays silent";
    EXPECT_EQ(status, ".");
    modem.loader.afterDataBody = "DONE?";
    EXPECT_EQ(device.Download(status, file, {}), 89) << "the loader answers at once";
    EXPECT_EQ(status, "DownloadSrecord(1)->");
}

}  // namespace
}  // namespace vxl::test
