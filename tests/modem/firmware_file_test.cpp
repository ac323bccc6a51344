// Upgrade files: the S-record rules, revision and start address, writing and reading.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "modem/firmware_file.h"
#include "support/temp_dir.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {
namespace {

std::string Chars(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

std::string LfOnly(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::string S1(int address, std::initializer_list<int> bytes) {
    return FormatSrecord('1', address, Chars(bytes));
}

const std::string kHeader = FormatSrecord('0', 0, "HDR");
const std::string kEnd = FormatSrecord('9', 0x9000, "");
// Identity block at 0x8400: revision bytes 35, 5 at 0x8402/0x8403.
const std::string kIdentity = S1(0x8400, {0, 0, 35, 5, 0xF6, 0x12, 0x34});
const std::string kVector = S1(0xFFFC, {0xAA, 0xBB, 0x90, 0x00});
const std::string kGood = kHeader + kIdentity + kVector + kEnd;

TEST(FirmwareFile, ParseFollowsTheRecordRulesAndFindsRevisionAndStartAddress) {
    const std::string lowerCase = "S" + ToLower(kVector.substr(1, kVector.size() - 3)) + "\r\n";
    const struct {
        const char* name;
        std::string text;
        int result, records;
        const char* revision;  // "%3.2f"
        int startAddress;
    } cases[] = {
        // clang-format off
        {"complete file", kGood, 0, 4, "3.55", 0x9000},
        {"empty text is valid", "", 0, 0, "0.00", 0},
        {"second byte 10 counts as 0", S1(0x8402, {20, 10}), 0, 1, "2.00", 0},
        {"bytes 34, 1 give 3.41", S1(0x8402, {34, 1}), 0, 1, "3.41", 0},
        {"revision split over two records",
         FormatSrecord('1', 0x83F2, std::string(16, '\x07') + Chars({12})) + S1(0x8403, {3}), 0, 2,
         "1.23", 0},
        {"a record ending before 0x8402 gives no revision",
         S1(0x8400, {1, 2}) + S1(0x8500, {9}), 0, 2, "0.00", 0},
        {"the last record to cover a byte wins", kIdentity + S1(0x8402, {11, 2}), 0, 2, "1.12", 0},
        {"vector needs both bytes", S1(0xFFFE, {0x90}), 0, 1, "0.00", 0},
        {"lower-case hex digits", lowerCase, 0, 1, "0.00", 0x9000},
        {"LF-only lines", LfOnly(kGood), 87, 0, "0.00", 0},
        {"CR-only lines", kGood.substr(0, kGood.size() - 1), 87, 0, "0.00", 0},
        {"S2 record", kHeader + "S2080084000102030468\r\n" + kEnd, 87, 0, "0.00", 0},
        {"wrong checksum", "S1048400017E\r\n", 87, 0, "0.00", 0},
        {"not hexadecimal", "S1048400G176\r\n", 87, 0, "0.00", 0},
        {"count too small for an address", "S10284007\r\n", 87, 0, "0.00", 0},
        {"count larger than the text", "S1208400\r\n", 87, 0, "0.00", 0},
        {"text does not start with S", " " + kIdentity, 87, 0, "0.00", 0},
        {"trailing blank line", kGood + "\r\n", 87, 0, "0.00", 0},
        {"cut short after the type", kGood + "S1", 87, 0, "0.00", 0},
        {"embedded zero byte", kHeader + std::string(1, '\0') + kEnd, 87, 0, "0.00", 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFirmwareFile file;
        file.SetText(c.text);
        EXPECT_EQ(file.Parse(), c.result);
        EXPECT_EQ(file.GetRecordCount(), c.records);
        EXPECT_EQ(Format("%3.2f", file.GetRevision()), c.revision);
        EXPECT_EQ(file.GetStartAddress(), c.startAddress);
        EXPECT_EQ(file.GetProblem().empty(), c.result == 0) << file.GetProblem();
    }
    // The problem names the line and what is wrong with it.
    CFirmwareFile file;
    file.SetText(kHeader + kIdentity + LfOnly(kEnd));
    ASSERT_EQ(file.Parse(), 87);
    EXPECT_NE(file.GetProblem().find("line 3"), std::string::npos) << file.GetProblem();
    EXPECT_NE(file.GetProblem().find("CR LF"), std::string::npos) << file.GetProblem();
}

TEST(FirmwareFile, OnlyFilesWithDataEndingInS9CanBeDownloaded) {
    const struct {
        const char* name;
        std::string text;
        bool downloadable;
    } cases[] = {{"complete file", kHeader + kIdentity + kEnd, true},
                 {"empty", "", false},
                 {"no data records", kHeader + kEnd, false},
                 {"ends with data", kHeader + kIdentity, false},
                 {"S9 before the data", kEnd + kIdentity, false},
                 {"invalid text", LfOnly(kIdentity + kEnd), false}};
    for (const auto& c : cases) {
        CFirmwareFile file;
        file.SetText(c.text);
        file.Parse();
        EXPECT_EQ(file.DownloadProblem().empty(), c.downloadable) << c.name;
    }
}

TEST(FirmwareFile, ScrambledFilesAreWrittenAndReadBack) {
    CFirmwareFile source;
    source.SetText(kGood);
    test::TempDir dir;
    ASSERT_EQ(source.WriteUpgradeFile(dir.File("good.fw")), 0);
    EXPECT_EQ(source.WriteUpgradeFile(dir.File("no/such/folder.fw")), rc::kFileNotFound);
    dir.Write("plain.fw", kHeader + kEnd);  // not scrambled
    dir.Write("empty.fw", "");
    ASSERT_EQ(::mkdir(dir.File("folder.fw").c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(dir.File("pipe.fw").c_str(), 0600), 0);
    ASSERT_EQ(::truncate(dir.Write("huge.fw", "").c_str(), kMaxUpgradeFileBytes + 1), 0);
    // Nothing that is not a regular file is read (a pipe without a writer would block).
    const struct {
        const char* name;
        std::string fileName;  // in the temp folder
        int result;
        const char* problem;
    } cases[] = {{"a folder", "folder.fw", rc::kFileAccessDenied, "is a directory"},
                 {"a pipe", "pipe.fw", rc::kFileBadPath, "is a pipe"},
                 {"unscrambled text", "plain.fw", rc::kCorruptFirmware, "line 1 "},
                 {"larger than any firmware", "huge.fw", rc::kCorruptFirmware, "too large"},
                 {"empty file", "empty.fw", rc::kFileEndOfFile, "is empty"}};
    for (const auto& c : cases) {
        CFirmwareFile file(dir.File(c.fileName));
        EXPECT_EQ(file.ReadUpgradeFile(), c.result) << c.name;
        EXPECT_NE(file.GetProblem().find(c.problem), std::string::npos) << file.GetProblem();
    }
    CFirmwareFile good(dir.File("good.fw"));
    ASSERT_EQ(good.ReadUpgradeFile(), 0);
    EXPECT_EQ(good.GetText(), kGood);
}

// Random bytes, cut-off files and single-character damage must give 0 or 87 and, when
// accepted, records that NextRecord can walk exactly.
TEST(FirmwareFile, DamagedTextNeverCrashesParse) {
    std::mt19937 random(20240611u);
    std::string good = kHeader;
    for (int a = 0x8400; a < 0x8600; a += 32) good += FormatSrecord('1', a, std::string(32, 'x'));
    good += kVector + kEnd;
    std::vector<std::string> texts;
    for (size_t cut = 0; cut <= good.size(); cut += 3) texts.push_back(good.substr(0, cut));
    for (int i = 0; i < 1500; ++i) {
        std::string damaged = good;
        damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
        texts.push_back(damaged);
        std::string noise(random() % 200, '\0');
        for (char& c : noise) c = static_cast<char>(random() % 256);
        texts.push_back(i % 2 ? "S1" + noise : noise);
    }
    for (const std::string& text : texts) {
        CFirmwareFile file;
        file.SetText(text);
        const int result = file.Parse();
        ASSERT_TRUE(result == 0 || result == 87) << result;
        std::string record;
        int length = 0, walked = 0;
        while (file.NextRecord(record, length)) ++walked;
        if (result == 0) {
            EXPECT_EQ(walked, file.GetRecordCount());
        }
    }
}

}  // namespace
}  // namespace vxl
