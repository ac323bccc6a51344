// Channel-table files through the coordinator: export, import, serial binding, bad fields and
// bad files, on the demo modem (synthesizer type 4, 450-470 MHz, serial number 1427259).
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "coordinator_harness.h"
#include "params/frequency.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/keystream.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

constexpr uint32_t kDemoSerial = 1427259;

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::string text = TempDir::Read(path);
    return std::vector<uint8_t>(text.begin(), text.end());
}

void WriteBytes(const std::string& path, std::vector<uint8_t> bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// An unscrambled record for `serial` with the given receive and transmit frequencies.
std::vector<uint8_t> Record(uint32_t serial, const std::vector<double>& rx,
                            const std::vector<double>& tx) {
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
    return record;
}

std::vector<uint8_t> Scrambled(std::vector<uint8_t> bytes) {
    ApplyKeystream(bytes.data(), bytes.size());
    return bytes;
}

class ChannelTableFile : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(h.LoadDemo(), rc::kOk); }

    void SetChannel(int k, double rx, double tx) {
        ASSERT_EQ(h.coordinator.SetRealParameter(pid::RxChannelId(k), rx), rc::kOk);
        ASSERT_EQ(h.coordinator.SetRealParameter(pid::TxChannelId(k), tx), rc::kOk);
    }
    std::vector<double> Channels() const {
        std::vector<double> values;
        for (int k = 0; k < 16; ++k) {
            values.push_back(h.Real(pid::RxChannelId(k)));
            values.push_back(h.Real(pid::TxChannelId(k)));
        }
        return values;
    }
    std::unique_ptr<ModemMemoryImage> Snapshot() const {
        return h.coordinator.GetWorkingImage()->Clone();
    }

    CoordinatorHarness h;
};

TEST_F(ChannelTableFile, ExportThenImportReproducesTheChannels) {
    for (uint32_t serial : {0u, kDemoSerial}) {
        SCOPED_TRACE(serial);
        SetChannel(1, 451.0125, 461.0125);
        SetChannel(7, 469.9875, 450.0);
        const std::vector<double> exported = Channels();
        const std::string path = h.dir.File("table.upg");
        ASSERT_EQ(h.coordinator.ExportChannelTable(path, serial), rc::kOk);
        SetChannel(1, 452.5, 452.5);
        SetChannel(7, 453.5, 453.5);
        ASSERT_EQ(h.coordinator.ImportChannelTable(path), rc::kOk);
        EXPECT_EQ(Channels(), exported);
    }
}

TEST_F(ChannelTableFile, ExportWritesTheRecordLayoutScrambled) {
    ASSERT_EQ(h.coordinator.ClearChannelTable(), rc::kOk);
    SetChannel(0, 455.0, 455.0);
    const std::string path = h.dir.File("layout.upg");
    ASSERT_EQ(h.coordinator.ExportChannelTable(path, 0x01020304), rc::kOk);
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 111u);
    ApplyKeystream(bytes.data(), bytes.size());
    EXPECT_EQ(bytes, Record(0x01020304, {455.0}, {455.0}));
    EXPECT_EQ(bytes[14], 0x02);  // 455.0 MHz receive: 02 7C 68
    EXPECT_EQ(bytes[15], 0x7C);
    EXPECT_EQ(bytes[16], 0x68);
}

TEST_F(ChannelTableFile, ExportTakesTheGridAsShownWhenThereIsAView) {
    h.coordinator.SetView(&h.view);
    h.view.gridRx[3] = 460.0;
    h.view.gridTx[3] = 465.0;
    const std::string path = h.dir.File("grid.upg");
    ASSERT_EQ(h.coordinator.ExportChannelTable(path, 0), rc::kOk);
    EXPECT_TRUE(h.view.Saw("GetGridFrequencies"));
    std::vector<uint8_t> bytes = ReadBytes(path);
    ApplyKeystream(bytes.data(), bytes.size());
    std::vector<double> rx(16, 0.0), tx(16, 0.0);
    rx[3] = 460.0;
    tx[3] = 465.0;
    EXPECT_EQ(bytes, Record(0, rx, tx));
}

TEST_F(ChannelTableFile, AnotherModemsFileIsRefusedAndChangesNothing) {
    const std::string path = h.dir.File("other.upg");
    WriteBytes(path, Scrambled(Record(kDemoSerial + 1, {451.0, 452.0}, {451.0, 452.0})));
    auto before = Snapshot();
    EXPECT_EQ(h.coordinator.ImportChannelTable(path), rc::kSerialMismatch);
    EXPECT_TRUE(h.coordinator.GetWorkingImage()->Equals(*before));
}

TEST_F(ChannelTableFile, EmptyFieldsLeaveTheChannelAndOutOfRangeFieldsEmptyIt) {
    SetChannel(2, 458.0, 459.0);
    SetChannel(3, 462.0, 463.0);
    std::vector<double> rx(16, 0.0), tx(16, 0.0);
    rx[2] = 480.0;  // above the 470 MHz band edge: imported as an empty channel
    tx[2] = 0.0;    // empty field: the channel keeps its frequency
    rx[3] = 466.0;
    tx[3] = 467.0;
    const std::string path = h.dir.File("mixed.upg");
    WriteBytes(path, Scrambled(Record(0, rx, tx)));
    ASSERT_EQ(h.coordinator.ImportChannelTable(path), rc::kOk);
    EXPECT_EQ(h.Real(pid::RxChannelId(2)), 0.0);
    EXPECT_NEAR(h.Real(pid::TxChannelId(2)), 459.0, 1e-9);
    EXPECT_NEAR(h.Real(pid::RxChannelId(3)), 466.0, 1e-9);
    EXPECT_NEAR(h.Real(pid::TxChannelId(3)), 467.0, 1e-9);
}

TEST_F(ChannelTableFile, ALongerFileIsReadByItsFirstRecord) {
    std::vector<uint8_t> record = Record(0, {457.5}, {457.5});
    record.resize(300, 0xAA);
    const std::string path = h.dir.File("long.upg");
    WriteBytes(path, Scrambled(record));
    ASSERT_EQ(h.coordinator.ImportChannelTable(path), rc::kOk);
    EXPECT_NEAR(h.Real(pid::RxChannelId(0)), 457.5, 1e-9);
}

TEST_F(ChannelTableFile, UnreadableFilesGiveAFileErrorAndChangeNothing) {
    std::vector<uint8_t> shortRecord = Scrambled(Record(0, {451.0}, {451.0}));
    shortRecord.resize(110);
    WriteBytes(h.dir.File("short.upg"), shortRecord);
    auto before = Snapshot();
    const struct {
        std::string path;
        int result;
    } cases[] = {
        {h.dir.File("short.upg"), rc::kFileEndOfFile},
        {h.dir.File("missing.upg"), rc::kFileNotFound},
        {h.dir.path(), rc::kFileAccessDenied},  // a folder, not a file
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const int result = h.coordinator.ImportChannelTable(c.path);
        if (c.path == h.dir.path()) {
            EXPECT_GT(result, 900);  // how a folder fails to read differs between systems
            EXPECT_LE(result, 914);
        } else {
            EXPECT_EQ(result, c.result);
        }
        EXPECT_TRUE(h.coordinator.GetWorkingImage()->Equals(*before));
    }
}

TEST_F(ChannelTableFile, ExportToAFolderThatDoesNotExistFails) {
    EXPECT_EQ(h.coordinator.ExportChannelTable(h.dir.File("no/such/folder.upg"), 0),
              rc::kFileNotFound);
}

TEST(ChannelTableWithoutModem, ExportWritesNothingAndSaysSo) {
    CoordinatorHarness h;
    const std::string path = h.dir.File("nothing.upg");
    EXPECT_EQ(h.coordinator.ExportChannelTable(path, 0), rc::kMissingArgument);
    EXPECT_TRUE(ReadBytes(path).empty());
    EXPECT_EQ(h.coordinator.ImportChannelTable(path), rc::kOk);
}

TEST(ChannelTableWithoutModem, ClearEmptiesTheGridAndReturns57) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    EXPECT_EQ(h.coordinator.ClearChannelTable(), rc::kMissingArgument);
    EXPECT_EQ(h.view.calls, std::vector<std::string>{"ClearGridFrequencies"});
}

TEST_F(ChannelTableFile, ClearEmptiesEveryChannelAndDeselectsTheCurrentOne) {
    h.coordinator.SetView(&h.view);
    SetChannel(5, 455.0, 456.0);
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.ClearChannelTable(), rc::kOk);
    for (double mhz : Channels()) EXPECT_EQ(mhz, 0.0);
    uint8_t current = 0;
    h.coordinator.GetParameterSet()->ReadBytes(0x18E, 1, &current);
    EXPECT_EQ(current, 0xFF);
    EXPECT_TRUE(h.view.Saw("FillPage 3"));
    EXPECT_TRUE(h.view.Saw("UpdateDialog"));
}

}  // namespace
}  // namespace vxl::test
