// Backup files: what is written reads back the same, and any damage is told apart from a good
// file with a reason.
#include "backup/backup_file.h"

#include <gtest/gtest.h>

#include "util/result_codes.h"

namespace vxl {
namespace {

BackupImage Sample() {
    BackupImage backup;
    backup.header = {"01427259", "VXL", "2.20", 20, 5, 4, 1700000000};
    for (int i = 0; i < 25; ++i) backup.bytes.push_back(static_cast<uint8_t>(i * 37));
    return backup;
}

// `text` with the first occurrence of `from` replaced by `to`.
std::string Changed(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(BackupFile, ReadsBackWhatWasWritten) {
    const std::string text = FormatBackup(Sample());
    EXPECT_NE(text.find("Time=2023-11-14T22:13:20Z\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n0110=50 75 9A BF E4 09 2E 53 78\n"), std::string::npos) << text;
    BackupImage read;
    std::string reason;
    ASSERT_EQ(ParseBackup(text, read, reason), rc::kOk) << reason;
    EXPECT_EQ(read.bytes, Sample().bytes);
    EXPECT_EQ(read.header.serialNumber, "01427259");
    EXPECT_EQ(read.header.time, 1700000000);
    EXPECT_EQ(read.header.mainSize + read.header.extensionSize, 25);
    EXPECT_EQ(Crc32({'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0xCBF43926u);
}

TEST(BackupFile, DamageIsFoundAndNamed) {
    const std::string good = FormatBackup(Sample());
    const struct {
        const char* name;
        std::string text;
        const char* reason;
    } cases[] = {
        {"a byte changed", Changed(good, "0100=00 25", "0100=00 26"),
         "the bytes do not match their CRC"},
        {"a line lost", Changed(good, "\n0110=", "\n;0110="), "bytes of the memory are missing"},
        {"cut short", good.substr(0, good.size() - 6), "bytes of the memory are missing"},
        {"a byte that is no hex", Changed(good, "0100=00", "0100=0G"),
         "the memory line 0100 is not valid"},
        {"a key missing", Changed(good, "ModemType=4\n", ""), "ModemType is missing"},
        {"a size beyond any modem",
         Changed(good, "ConfigurationSize=20", "ConfigurationSize=99999"),
         "its header holds a value that is not valid"},
        {"a time that is none", Changed(good, "T22:13:20Z", " 22:13"),
         "its header holds a value that is not valid"},
        {"another kind of file", "[VXL]\nOwner=x\n", "line 1 names an unknown section"},
        {"text without sections", "hello\n", "line 1 is not a backup line"},
    };
    for (const auto& c : cases) {
        BackupImage read;
        std::string reason;
        EXPECT_EQ(ParseBackup(c.text, read, reason), rc::kBackupDamaged) << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
    }
}

}  // namespace
}  // namespace vxl
