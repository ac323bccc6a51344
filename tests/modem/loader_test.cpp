#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "modem/fake_loader_link.h"
#include "modem/firmware_file.h"
#include "modem/modem.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {
namespace {

using test::FakeLoaderLink;
using test::FakeModemState;
using test::LoaderScript;

// A fake line and the modem at its far end.
struct Line {
    Line(test::FakeClock& clock, LoaderScript script)
        : state(std::make_shared<FakeModemState>()), link(clock, state) {
        state->script = std::move(script);
    }
    const std::vector<std::string>& writes() const { return state->writes; }

    std::shared_ptr<FakeModemState> state;
    FakeLoaderLink link;
};

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

const std::string kHeader = FormatSrecord('0', 0, "FW");
const std::string kData1 = FormatSrecord('1', 0x8400, Bytes({0, 0, 22, 1}));
const std::string kData2 = FormatSrecord('1', 0xFFFE, Bytes({0x90, 0x00}));
const std::string kEnd = FormatSrecord('9', 0x9000, "");

class LoaderTest : public ::testing::Test {
  protected:
    LoaderTest() : clockScope_(clock_), uiScope_(ui_) {}

    // Writes `text` scrambled as an upgrade file and returns its path.
    std::string UpgradeFile(const std::string& text) {
        CFirmwareFile file;
        file.SetText(text);
        std::string path = dir_.File(Format("fw%d.fw", files_++));
        EXPECT_EQ(file.WriteUpgradeFile(path), 0);
        return path;
    }

    // The writes from the start-loader frame on (the unlock exchanges come before it).
    static std::vector<std::string> LoaderWrites(const std::vector<std::string>& writes) {
        for (size_t i = 0; i < writes.size(); ++i) {
            if (writes[i] == "\x01\x1C\xE3\n") {
                return std::vector<std::string>(writes.begin() + static_cast<long>(i),
                                                writes.end());
            }
        }
        return {};
    }

    test::FakeClock clock_;
    test::RecordingOperator ui_;
    test::TempDir dir_;

  private:
    ScopedClock clockScope_;
    ScopedUi uiScope_;
    int files_ = 0;
};

TEST_F(LoaderTest, UpgradeTalksToTheLoaderInOrderAndStartsTheNewFirmware) {
    Line line(clock_, LoaderScript{});
    CModem modem(&line.link);
    CFirmwareFile file(UpgradeFile(kHeader + kData1 + kData2 + kEnd));
    std::string status = "old";
    ASSERT_EQ(modem.UpgradeFirmware(status, file, {}), 0) << status;
    EXPECT_EQ(status, "");

    const std::vector<std::string> expected = {
        "\x01\x1C\xE3\n",
        "L\n",
        "S00",
        kHeader.substr(1),  // the type digit and the first count digit go out twice
        "S10",
        kData1.substr(3),
        "S10",
        kData2.substr(3),
        "S90",
        kEnd.substr(1),
        "P\r\n",
        "G 9000\n",
    };
    EXPECT_EQ(LoaderWrites(line.writes()), expected);
    ASSERT_GE(line.writes().size(), 7u);
    EXPECT_EQ(line.writes()[6][1], '\x1F') << "the unlock goes before the loader is started";

    ASSERT_EQ(ui_.progress.size(), 1u);
    const test::RecordedProgress& window = *ui_.progress[0];
    EXPECT_EQ(window.title, "Firmware Download");
    EXPECT_EQ(window.lines.at(1), "Caution: Do not disconnect modem at this time.");
    const std::vector<std::string> steps = {
        "Reading firmware file.", "Opening modem", "Starting modem bootloader.",
        "Downloading firmware to modem.", "Saving firmware to modem permanent memory."};
    EXPECT_EQ(window.lineHistory, steps);
    EXPECT_EQ(window.barHistory, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(window.lower, 0);
    EXPECT_EQ(window.upper, 100);
    EXPECT_EQ(window.step, 1);
    EXPECT_EQ(window.steps, 1) << "four records: one advance at the start only";
    EXPECT_TRUE(window.closed);
}

TEST_F(LoaderTest, NoStartCommandWithoutResetVector) {
    Line line(clock_, LoaderScript{});
    CModem modem(&line.link);
    CFirmwareFile file(UpgradeFile(kHeader + kData1 + kEnd));
    std::string status;
    ASSERT_EQ(modem.UpgradeFirmware(status, file, {}), 0) << status;
    EXPECT_EQ(line.writes().back(), "P\r\n");
}

TEST_F(LoaderTest, StartCommandIsSevenBytesOfLowerCaseHex) {
    const struct {
        int address;
        const char* sent;
    } cases[] = {{0x12, "G 0012\n"}, {0xABCD, "G abcd\n"}, {0x9000, "G 9000\n"}};
    for (const auto& c : cases) {
        Line line(clock_, LoaderScript{});
        CModem modem(&line.link);
        std::string status = "x";
        EXPECT_EQ(modem.Go(status, c.address), 0);
        EXPECT_EQ(status, "");
        ASSERT_EQ(line.writes().size(), 1u);
        EXPECT_EQ(line.writes()[0], c.sent);
    }
}

struct FailureCase {
    const char* name;
    std::function<void(LoaderScript&)> fault;
    int result;
    std::string status;     // exact status text
    std::string lastWrite;  // the write the upgrade stopped after
};

TEST_F(LoaderTest, EachFailureStopsWithItsCodeAndDiagnostic) {
    const std::string upgrade = kHeader + kData1 + kData2 + kEnd;
    const FailureCase cases[] = {
        {"unlock refused", [](LoaderScript& s) { s.answerUnlock = false; }, 77, "Unlock0->",
         std::string("\x01\x1F\0\0\0\0\0\0\xE0", 9)},
        {"banner late but in time", [](LoaderScript& s) { s.bannerDelayMs = 4900; }, 0, "",
         "G 9000\n"},
        {"no banner at all", [](LoaderScript& s) { s.banner = ""; }, 77, "StartBootloader->",
         "\x01\x1C\xE3\n"},
        {"banner after the poll limit", [](LoaderScript& s) { s.bannerDelayMs = 5100; }, 77,
         "StartBootloader->", "\x01\x1C\xE3\n"},
        {"banner without its prompt", [](LoaderScript& s) { s.banner = "KTR F/W Loader PASS"; }, 77,
         "StartBootloader->KTR F/W Loader PASS", "\x01\x1C\xE3\n"},
        {"something else answers", [](LoaderScript& s) { s.banner = "Hello?"; }, 108,
         "StartBootloader->Hello?", "\x01\x1C\xE3\n"},
        {"memory check failed", [](LoaderScript& s) { s.banner = "KTR F/W Loader FAIL?"; }, 82,
         "StartBootloader->KTR F/W Loader FAIL?", "\x01\x1C\xE3\n"},
        {"load reply short", [](LoaderScript& s) { s.loadReply = "..."; }, 77, "", "L\n"},
        {"load reply too long", [](LoaderScript& s) { s.loadReply = "\r\n...\r\n!"; }, 89, "",
         "L\n"},
        {"load refused", [](LoaderScript& s) { s.loadReply = "\r\nERR\r\n"; }, 83, "", "L\n"},
        {"noise during the header", [](LoaderScript& s) { s.afterHeaderBody = "!"; }, 89,
         "DownloadSrecord(0,9)->", kHeader.substr(1)},
        {"no prompt for the second data record", [](LoaderScript& s) { s.stallAtDataRecord = 1; },
         77, "DownloadSrecord(S,1)->", "S10"},
        {"no answer after the end record", [](LoaderScript& s) { s.afterEndBody = "DONE"; }, 77,
         "DownloadSrecord(S,1)->DONE", kEnd.substr(1)},
        {"end record not stored", [](LoaderScript& s) { s.afterEndBody = "\r\nERROR\r\n?"; }, 85,
         "\r\nERROR\r\n?", kEnd.substr(1)},
        {"store late but in time", [](LoaderScript& s) { s.storeDelayMs = 8900; }, 0, "",
         "G 9000\n"},
        {"store after the poll limit", [](LoaderScript& s) { s.storeDelayMs = 9100; }, 77,
         "ProgramEEPROM->", "P\r\n"},
        {"store failed", [](LoaderScript& s) { s.storeReply = "\r\nFAIL\r\n?"; }, 85,
         "ProgramEEPROM->\r\nFAIL\r\n?", "P\r\n"},
        {"store not validated", [](LoaderScript& s) { s.storeReply = "\r\nDONE\r\nBAD\r\n?"; }, 86,
         "ProgramEEPROM->\r\nDONE\r\nBAD\r\n?", "P\r\n"},
    };
    for (const FailureCase& c : cases) {
        LoaderScript script;
        c.fault(script);
        Line line(clock_, script);
        CModem modem(&line.link);
        CFirmwareFile file(UpgradeFile(upgrade));
        std::string status;
        EXPECT_EQ(modem.UpgradeFirmware(status, file, {}), c.result) << c.name;
        EXPECT_EQ(status, c.status) << c.name;
        ASSERT_FALSE(line.writes().empty()) << c.name;
        EXPECT_EQ(line.writes().back(), c.lastWrite) << c.name;
        EXPECT_TRUE(ui_.progress.back()->closed) << c.name;
    }
}

TEST_F(LoaderTest, BadFilesAreRefusedBeforeTheModemIsTouched) {
    const struct {
        const char* name;
        std::string path;
        int result;
        std::string status;
    } cases[] = {
        {"no file name", "", 57, ""},
        {"missing file", dir_.File("absent.fw"), rc::kFileNotFound, ""},
        {"LF-only lines", UpgradeFile("S1048400017A\n" + kEnd), 87, ""},
        {"no data records", UpgradeFile(kHeader + kEnd), 87, "the file holds no S1 data records"},
        {"no end record", UpgradeFile(kHeader + kData1), 87,
         "the file does not end with an S9 record"},
    };
    for (const auto& c : cases) {
        Line line(clock_, LoaderScript{});
        CModem modem(&line.link);
        CFirmwareFile file(c.path);
        std::string status;
        EXPECT_EQ(modem.UpgradeFirmware(status, file, {}), c.result) << c.name;
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_TRUE(line.writes().empty()) << c.name;
        EXPECT_TRUE(ui_.progress.back()->closed) << c.name;
    }
}

TEST_F(LoaderTest, WithoutPortNothingHappens) {
    CModem modem(nullptr);
    CFirmwareFile file(dir_.File("absent.fw"));
    std::string status = "x";
    EXPECT_EQ(modem.UpgradeFirmware(status, file, {}), 0);
    EXPECT_EQ(status, "");
    EXPECT_TRUE(ui_.progress.empty());
}

// 120 records: step 2, threshold -79. One advance at the start, one after each of records 0 to
// 78, then one after every second record (80 ... 118): 100 in all.
TEST_F(LoaderTest, ProgressBarStepsFollowTheRecordCount) {
    std::string text = kHeader;
    for (int i = 0; i < 118; ++i) text += FormatSrecord('1', 0x8400 + 16 * i, std::string(16, 'x'));
    text += kEnd;
    Line line(clock_, LoaderScript{});
    std::vector<int> stepsAtPrefix;
    line.state->onWrite = [&](const std::string& chunk) {
        if (chunk.size() == 3 && chunk[0] == 'S') stepsAtPrefix.push_back(ui_.progress[0]->steps);
    };
    CModem modem(&line.link);
    CFirmwareFile file(UpgradeFile(text));
    std::string status;
    ASSERT_EQ(modem.UpgradeFirmware(status, file, {}), 0) << status;
    ASSERT_EQ(stepsAtPrefix.size(), 120u);
    int expected = 1;
    for (int record = 0; record < 120; ++record) {
        EXPECT_EQ(stepsAtPrefix[record], expected) << "before record " << record;
        if (record <= 78 || (record >= 80 && record % 2 == 0)) ++expected;
    }
    EXPECT_EQ(ui_.progress[0]->steps, 100);
}

TEST_F(LoaderTest, DownloadOfAFileEndingInDataNeedsAQuietLineAndDone) {
    const struct {
        const char* name;
        std::string afterDataBody;
        int result;
        std::string status;
    } cases[] = {
        {"loader silent", "", 85, "."},
        {"loader answers at once", "DONE?", 89, "DownloadSrecord(1)->"},
    };
    for (const auto& c : cases) {
        LoaderScript script;
        script.afterDataBody = c.afterDataBody;
        Line line(clock_, script);
        CModem modem(&line.link);
        CFirmwareFile file;
        file.SetText(kHeader + kData1);
        ASSERT_EQ(file.Parse(), 0);
        std::string status;
        EXPECT_EQ(modem.Download(status, file, {}), c.result) << c.name;
        EXPECT_EQ(status, c.status) << c.name;
    }
}

TEST_F(LoaderTest, PreambleLinesGoBeforeTheFileRecords) {
    Line line(clock_, LoaderScript{});
    CModem modem(&line.link);
    CFirmwareFile file;
    file.SetText(kData1 + kEnd);
    ASSERT_EQ(file.Parse(), 0);
    const std::string preamble = FormatSrecord('1', 0x8000, "P");
    std::string status;
    EXPECT_EQ(modem.Download(status, file, {preamble}), 0) << status;
    const std::vector<std::string> expected = {
        "L\n", "S10", preamble.substr(3), "S10", kData1.substr(3), "S90", kEnd.substr(1)};
    EXPECT_EQ(line.writes(), expected);
    EXPECT_EQ(modem.Download(status, file, {"S"}), rc::kBadParameters);
}

}  // namespace
}  // namespace vxl
