#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "modem/firmware_file.h"
#include "support/temp_dir.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

const std::string kHeader = FormatSrecord('0', 0, "HDR");
const std::string kEnd = FormatSrecord('9', 0x9000, "");
// Identity block at 0x8400: revision bytes 35, 5 at 0x8402/0x8403.
const std::string kIdentity = FormatSrecord('1', 0x8400, Bytes({0, 0, 35, 5, 0xF6, 0x12, 0x34}));
const std::string kVector = FormatSrecord('1', 0xFFFC, Bytes({0xAA, 0xBB, 0x90, 0x00}));

std::string LfOnly(std::string text) {
    std::string out;
    for (char c : text) {
        if (c != '\r') out += c;
    }
    return out;
}

struct ParseCase {
    const char* name;
    std::string text;
    int result;
    int records;
    const char* revision;  // "%3.2f"
    int startAddress;
};

TEST(FirmwareFileParse, RecordRulesRevisionAndStartAddress) {
    const std::string good = kHeader + kIdentity + kVector + kEnd;
    const ParseCase cases[] = {
        {"complete file", good, 0, 4, "3.55", 0x9000},
        {"empty text is valid", "", 0, 0, "0.00", 0},
        {"no identity data gives 0.00", kHeader + kVector + kEnd, 0, 3, "0.00", 0x9000},
        {"no vector gives start 0", kHeader + kIdentity + kEnd, 0, 3, "3.55", 0},
        {"second byte 10 counts as 0", FormatSrecord('1', 0x8402, Bytes({20, 10})), 0, 1, "2.00",
         0},
        {"bytes 34, 1 give 3.41", FormatSrecord('1', 0x8402, Bytes({34, 1})), 0, 1, "3.41", 0},
        {"revision split over two records",
         FormatSrecord('1', 0x83F2, std::string(16, '\x07') + Bytes({12})) +
             FormatSrecord('1', 0x8403, Bytes({3})),
         0, 2, "1.23", 0},
        {"a record ending before 0x8402 gives no revision",
         FormatSrecord('1', 0x8400, Bytes({1, 2})) + FormatSrecord('1', 0x8500, Bytes({9})), 0, 2,
         "0.00", 0},
        {"the last record to cover a byte wins",
         kIdentity + FormatSrecord('1', 0x8402, Bytes({11, 2})), 0, 2, "1.12", 0},
        {"vector needs both bytes", FormatSrecord('1', 0xFFFE, Bytes({0x90})), 0, 1, "0.00", 0},
        {"lower-case hex digits", "S" + ToLower(kVector.substr(1, kVector.size() - 3)) + "\r\n", 0,
         1, "0.00", 0x9000},
        {"LF-only lines", LfOnly(good), 87, 0, "0.00", 0},
        {"CR-only lines", good.substr(0, good.size() - 1), 87, 0, "0.00", 0},
        {"S2 record", kHeader + "S2080084000102030468\r\n" + kEnd, 87, 0, "0.00", 0},
        {"S3 record", "S30900008400010203046B\r\n", 87, 0, "0.00", 0},
        {"S5 record", "S5030004F8\r\n", 87, 0, "0.00", 0},
        {"wrong checksum", "S1048400017E\r\n", 87, 0, "0.00", 0},
        {"not hexadecimal", "S1048400G176\r\n", 87, 0, "0.00", 0},
        {"count too small for an address", "S10284007\r\n", 87, 0, "0.00", 0},
        {"count larger than the text", "S1208400\r\n", 87, 0, "0.00", 0},
        {"text does not start with S", " " + kIdentity, 87, 0, "0.00", 0},
        {"trailing blank line", good + "\r\n", 87, 0, "0.00", 0},
        {"cut short after the type", good + "S1", 87, 0, "0.00", 0},
        {"embedded zero byte", kHeader + std::string(1, '\0') + kEnd, 87, 0, "0.00", 0},
    };
    for (const ParseCase& c : cases) {
        CFirmwareFile file;
        file.SetText(c.text);
        EXPECT_EQ(file.Parse(), c.result) << c.name;
        EXPECT_EQ(file.GetRecordCount(), c.records) << c.name;
        EXPECT_EQ(Format("%3.2f", file.GetRevision()), c.revision) << c.name;
        EXPECT_EQ(file.GetStartAddress(), c.startAddress) << c.name;
        EXPECT_EQ(file.GetProblem().empty(), c.result == 0) << c.name << ": " << file.GetProblem();
    }
}

TEST(FirmwareFileParse, OnlyFilesWithDataEndingInS9CanBeDownloaded) {
    const struct {
        const char* name;
        std::string text;
        bool downloadable;
    } cases[] = {
        {"complete file", kHeader + kIdentity + kEnd, true},
        {"without header", kIdentity + kEnd, true},
        {"empty", "", false},
        {"no data records", kHeader + kEnd, false},
        {"ends with data", kHeader + kIdentity, false},
        {"S9 before the data", kEnd + kIdentity, false},
        {"invalid text", LfOnly(kIdentity + kEnd), false},
    };
    for (const auto& c : cases) {
        CFirmwareFile file;
        file.SetText(c.text);
        file.Parse();
        EXPECT_EQ(file.DownloadProblem().empty(), c.downloadable) << c.name;
        EXPECT_EQ(CFirmwareFile(file).DownloadProblem(), file.DownloadProblem()) << c.name;
    }
}

TEST(FirmwareFileParse, ProblemNamesTheLine) {
    CFirmwareFile file;
    file.SetText(kHeader + kIdentity + LfOnly(kEnd));
    ASSERT_EQ(file.Parse(), 87);
    EXPECT_NE(file.GetProblem().find("line 3"), std::string::npos) << file.GetProblem();
    EXPECT_NE(file.GetProblem().find("CR LF"), std::string::npos) << file.GetProblem();
}

TEST(FirmwareFileRecords, NextRecordWalksTheTextAndCopiesStartAtTheFirstRecord) {
    CFirmwareFile file;
    file.SetText(kHeader + kIdentity + kEnd);
    ASSERT_EQ(file.Parse(), 0);
    std::string record;
    int length = 0;
    ASSERT_TRUE(file.NextRecord(record, length));
    EXPECT_EQ(record, kHeader);
    EXPECT_EQ(length, static_cast<int>(kHeader.size()) + 1);

    CFirmwareFile copy(file);
    ASSERT_TRUE(file.NextRecord(record, length));
    EXPECT_EQ(record, kIdentity);
    ASSERT_TRUE(file.NextRecord(record, length));
    EXPECT_EQ(record, kEnd);
    EXPECT_EQ(length, 2 * 3 + 7);
    EXPECT_FALSE(file.HasNextRecord());
    EXPECT_FALSE(file.NextRecord(record, length));
    EXPECT_EQ(length, 0);

    ASSERT_TRUE(copy.NextRecord(record, length));
    EXPECT_EQ(record, kHeader) << "a copy restarts at the first record";
    EXPECT_EQ(copy.GetRevision(), file.GetRevision());
    EXPECT_EQ(copy.GetRecordCount(), 3);
    EXPECT_EQ(copy.GetStartAddress(), 0);

    CFirmwareFile assigned("other.fw");
    assigned = file;
    EXPECT_TRUE(assigned.HasNextRecord());
    EXPECT_EQ(assigned.GetText(), file.GetText());
    file.ResetCursor();
    ASSERT_TRUE(file.NextRecord(record, length));
    EXPECT_EQ(record, kHeader);
}

TEST(FirmwareFileScramble, TwiceGivesTheTextBack) {
    const std::string text = kHeader + kIdentity + kVector + kEnd;
    CFirmwareFile file;
    file.SetText(text);
    file.Scramble();
    EXPECT_NE(file.GetText(), text);
    EXPECT_EQ(file.GetLength(), static_cast<int>(text.size()));
    file.Scramble();
    EXPECT_EQ(file.GetText(), text);
}

struct ReadCase {
    const char* name;
    std::string fileName;  // relative to the temp folder, "" = none
    int result;
};

TEST(FirmwareFileRead, ResultCodes) {
    test::TempDir dir;
    CFirmwareFile source;
    source.SetText(kHeader + kIdentity + kVector + kEnd);
    ASSERT_EQ(source.WriteUpgradeFile(dir.File("good.fw")), 0);
    EXPECT_EQ(source.WriteUpgradeFile(dir.File("no/such/folder.fw")), rc::kFileNotFound);
    dir.Write("plain.fw", kHeader + kEnd);  // not scrambled
    dir.Write("empty.fw", "");
    ASSERT_EQ(::mkdir(dir.File("folder.fw").c_str(), 0700), 0);
    ASSERT_EQ(::truncate(dir.Write("huge.fw", "").c_str(), kMaxUpgradeFileBytes + 1), 0);

    const ReadCase cases[] = {
        {"no file name", "", rc::kMissingArgument},
        {"missing file", "absent.fw", rc::kFileNotFound},
        {"a folder", "folder.fw", rc::kFileAccessDenied},
        {"unscrambled text", "plain.fw", rc::kCorruptFirmware},
        {"larger than any firmware", "huge.fw", rc::kCorruptFirmware},
        {"empty file", "empty.fw", rc::kOk},
        {"good file", "good.fw", rc::kOk},
    };
    for (const ReadCase& c : cases) {
        CFirmwareFile file(c.fileName.empty() ? std::string() : dir.File(c.fileName));
        EXPECT_EQ(file.ReadUpgradeFile(), c.result) << c.name;
    }
    CFirmwareFile good(dir.File("good.fw"));
    ASSERT_EQ(good.ReadUpgradeFile(), 0);
    EXPECT_EQ(good.GetText(), source.GetText());
    EXPECT_EQ(good.GetRecordCount(), 4);
    EXPECT_EQ(Format("%3.2f", good.GetRevision()), "3.55");
    EXPECT_EQ(good.GetStartAddress(), 0x9000);
    EXPECT_EQ(good.GetFileName(), dir.File("good.fw"));
}

TEST(FirmwareFileText, NormaliseLineEnds) {
    const std::string crlf = kHeader + kEnd;
    EXPECT_EQ(NormaliseLineEnds(LfOnly(crlf)), crlf);
    EXPECT_EQ(NormaliseLineEnds(crlf), crlf);
    EXPECT_EQ(NormaliseLineEnds("\n" + LfOnly(kHeader) + "  \n\n" + kEnd.substr(0, 10)),
              kHeader + kEnd.substr(0, 10) + "\r\n");
    EXPECT_EQ(NormaliseLineEnds(""), "");
}

// Random bytes, cut-off files and single-character damage must give 0 or 87 and, when
// accepted, records that NextRecord can walk exactly.
TEST(FirmwareFileFuzz, DamagedTextNeverCrashesParse) {
    std::mt19937 random(20240611u);
    std::string good;
    for (int a = 0x8400; a < 0x8600; a += 32) good += FormatSrecord('1', a, std::string(32, 'x'));
    good = kHeader + good + kVector + kEnd;

    std::vector<std::string> texts;
    for (size_t cut = 0; cut <= good.size(); cut += 3) texts.push_back(good.substr(0, cut));
    for (int i = 0; i < 1500; ++i) {
        std::string damaged = good;
        damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
        texts.push_back(damaged);
        std::string noise(random() % 200, '\0');
        for (char& c : noise) c = static_cast<char>(random() % 256);
        if (i % 2) noise = "S1" + noise;
        texts.push_back(noise);
    }
    for (const std::string& text : texts) {
        CFirmwareFile file;
        file.SetText(text);
        int result = file.Parse();
        ASSERT_TRUE(result == 0 || result == 87) << result;
        std::string record;
        int length = 0;
        int walked = 0;
        while (file.NextRecord(record, length)) ++walked;
        if (result == 0) {
            EXPECT_EQ(walked, file.GetRecordCount());
            EXPECT_FALSE(file.HasNextRecord());
        }
    }
}

}  // namespace
}  // namespace vxl
