// Channel-table files through the coordinator: export, import, serial binding, bad fields and
// bad files, on the demo modem (synthesizer type 4, 450-470 MHz, serial number 1427259).
#include <gtest/gtest.h>

#include <vector>

#include "coordinator_harness.h"
#include "params/frequency.h"
#include "params/modem_memory_image.h"
#include "params/parameter_ids.h"
#include "util/keystream.h"

namespace vxl::test {
namespace {

constexpr uint32_t kDemoSerial = 1427259;

// An unscrambled record for `serial` with the given receive and transmit frequencies.
std::string Record(uint32_t serial, const std::vector<double>& rx, const std::vector<double>& tx) {
    std::vector<uint8_t> record(111, 0);
    for (int i = 0; i < 4; ++i) record[2 + i] = static_cast<uint8_t>(serial >> (8 * (3 - i)));
    record[12] = record[13] = 3;
    for (size_t k = 0; k < 16; ++k) {
        EncodeFrequency(4, k < rx.size() ? rx[k] : 0.0, &record[14 + 6 * k], true);
        EncodeFrequency(4, k < tx.size() ? tx[k] : 0.0, &record[17 + 6 * k], false);
    }
    unsigned sum = 0;
    for (int i = 0; i < 110; ++i) sum += record[i];
    record[110] = static_cast<uint8_t>(~sum);
    return std::string(record.begin(), record.end());
}

std::string Scrambled(std::string bytes) {
    ApplyKeystream(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    return bytes;
}

class ChannelTableFile : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk); }

    void SetChannel(int k, double rx, double tx) {
        ASSERT_EQ(h.coordinator.Settings().SetReal(pid::RxChannelId(k), rx), rc::kOk);
        ASSERT_EQ(h.coordinator.Settings().SetReal(pid::TxChannelId(k), tx), rc::kOk);
    }
    std::vector<double> Channels() const {
        std::vector<double> values;
        for (int k = 0; k < 16; ++k) {
            values.push_back(h.Real(pid::RxChannelId(k)));
            values.push_back(h.Real(pid::TxChannelId(k)));
        }
        return values;
    }

    CoordinatorHarness h;
};

TEST_F(ChannelTableFile, ExportThenImportReproducesTheChannelsWithAndWithoutSerialBinding) {
    for (uint32_t serial : {0u, kDemoSerial}) {
        SCOPED_TRACE(serial);
        SetChannel(1, 451.0125, 461.0125);
        SetChannel(7, 469.9875, 450.0);
        const std::vector<double> exported = Channels();
        const std::string path = h.dir.File("table.upg");
        ASSERT_EQ(h.coordinator.Settings().ExportChannelTable(path, serial), rc::kOk);
        SetChannel(1, 452.5, 452.5);
        SetChannel(7, 453.5, 453.5);
        ASSERT_EQ(h.coordinator.Settings().ImportChannelTable(path), rc::kOk);
        EXPECT_EQ(Channels(), exported);
    }
}

TEST_F(ChannelTableFile, ExportWritesTheRecordScrambledFromTheSettings) {
    ASSERT_EQ(h.coordinator.Settings().ClearChannelTable(), rc::kOk);
    SetChannel(0, 455.0, 455.0);
    SetChannel(3, 460.0, 465.0);
    const std::string path = h.dir.File("layout.upg");
    ASSERT_EQ(h.coordinator.Settings().ExportChannelTable(path, 0x01020304), rc::kOk);
    const std::string bytes = Scrambled(TempDir::Read(path));
    EXPECT_EQ(bytes, Record(0x01020304, {455.0, 0, 0, 460.0}, {455.0, 0, 0, 465.0}));
    EXPECT_EQ(bytes.substr(14, 3), "\x02\x7C\x68");  // 455.0 MHz receive
}

// An empty field leaves the channel; one above the band edge empties it; a longer file is read
// by its first record.
TEST_F(ChannelTableFile, ImportTakesTheFieldsOfTheFirstRecord) {
    SetChannel(2, 458.0, 459.0);
    SetChannel(3, 462.0, 463.0);
    const std::string path = h.dir.File("mixed.upg");
    h.dir.Write("mixed.upg", Scrambled(Record(0, {0, 0, 480.0, 466.0}, {0, 0, 0.0, 467.0}) +
                                       std::string(189, 'x')));
    ASSERT_EQ(h.coordinator.Settings().ImportChannelTable(path), rc::kOk);
    EXPECT_EQ(h.Real(pid::RxChannelId(2)), 0.0);
    EXPECT_NEAR(h.Real(pid::TxChannelId(2)), 459.0, 1e-9);
    EXPECT_NEAR(h.Real(pid::RxChannelId(3)), 466.0, 1e-9);
    EXPECT_NEAR(h.Real(pid::TxChannelId(3)), 467.0, 1e-9);
}

TEST_F(ChannelTableFile, AnotherModemsFileOrAnUnreadableOneChangesNothing) {
    h.dir.Write("other.upg", Scrambled(Record(kDemoSerial + 1, {451.0, 452.0}, {451.0, 452.0})));
    h.dir.Write("short.upg", Scrambled(Record(0, {451.0}, {451.0})).substr(0, 110));
    // One bit flipped in a channel's frequency: the checksum byte no longer matches.
    std::string damaged = Record(0, {451.0, 452.0}, {451.0, 452.0});
    damaged[20] ^= 0x04;
    h.dir.Write("damaged.upg", Scrambled(damaged));
    const auto before = h.coordinator.Settings().Image()->Clone();
    const struct {
        std::string path;
        int result;
        const char* problem;
    } cases[] = {
        {h.dir.File("other.upg"), rc::kSerialMismatch, ""},
        {h.dir.File("short.upg"), rc::kFileEndOfFile, "holds 110 bytes"},
        {h.dir.File("damaged.upg"), rc::kImportFailed, "checksum does not match"},
        {h.dir.File("missing.upg"), rc::kFileNotFound, "No such file"},
        {h.dir.path(), rc::kFileAccessDenied, "is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string problem;
        EXPECT_EQ(h.coordinator.Settings().ImportChannelTable(c.path, &problem), c.result);
        EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
        EXPECT_TRUE(h.coordinator.Settings().Image()->Equals(*before));
    }
    EXPECT_EQ(h.coordinator.Settings().ExportChannelTable(h.dir.File("no/such/folder.upg"), 0),
              rc::kFileBadPath);
}

TEST_F(ChannelTableFile, ClearEmptiesEveryChannelAndDeselectsTheCurrentOne) {
    h.coordinator.SetView(&h.view);
    SetChannel(5, 455.0, 456.0);
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.Settings().ClearChannelTable(), rc::kOk);
    for (double mhz : Channels()) EXPECT_EQ(mhz, 0.0);
    uint8_t current = 0;
    h.Set()->ReadBytes(0x18E, 1, &current);
    EXPECT_EQ(current, 0xFF);
    EXPECT_EQ(h.view.calls, std::vector<std::string>{"Values *"});
}

TEST(ChannelTableWithoutModem, ExportWritesNothingAndNothingIsShown) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    const std::string path = h.dir.File("nothing.upg");
    EXPECT_EQ(h.coordinator.Settings().ExportChannelTable(path, 0), rc::kMissingArgument);
    EXPECT_EQ(TempDir::Read(path), "");
    EXPECT_EQ(h.coordinator.Settings().ImportChannelTable(path), rc::kOk);
    EXPECT_EQ(h.coordinator.Settings().ClearChannelTable(), rc::kMissingArgument);
    EXPECT_TRUE(h.view.calls.empty());
}

}  // namespace
}  // namespace vxl::test
