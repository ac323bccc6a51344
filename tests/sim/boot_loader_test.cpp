// The boot loader's text dialogue, as the host drives it.
#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <string>
#include <vector>

#include "line_harness.h"
#include "sim/lib/srecord.h"
#include "util/format.h"

namespace vxl::sim::test {
namespace {

std::string Record(char type, int address, const std::vector<uint8_t>& data) {
    const int count = static_cast<int>(data.size()) + 3;
    unsigned sum = static_cast<unsigned>(count + (address >> 8) + (address & 0xFF));
    std::string text = Format("S%c%02X%04X", type, count, address);
    for (uint8_t b : data) {
        text += Format("%02X", b);
        sum += b;
    }
    return text + Format("%02X", static_cast<uint8_t>(~sum)) + "\r\n";
}

std::string AsText(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// New firmware whose identity block reports revision 3.55 and keeps N = 246.
std::vector<std::string> NewFirmware() {
    return {Record('0', 0, {'v', 'x', 'l'}),
            Record('1', 0x8400, {0x00, 0x00, 35, 5, 246, 0x03, 0xAA}),
            Record('1', 0x9000, {0x12, 0x34, 0x56}), Record('9', 0x9000, {})};
}

class LoaderSession {
  public:
    LoaderSession() { h.CaptureAndUnlock(); }

    std::string Start() { return AsText(h.Exchange({0x01, 0x1C, 0xE3, 0x0A})); }
    std::string Load() { return AsText(h.Exchange(Text("L\n"))); }
    // Sends one record the way the host does; returns what came back after its first three
    // characters and at its end.
    std::pair<std::string, std::string> SendRecord(const std::string& record) {
        const std::string first = AsText(h.Exchange(Bytes(record.begin(), record.begin() + 3)));
        const bool headerOrEnd = record[1] == '0' || record[1] == '9';
        const auto rest = record.begin() + (headerOrEnd ? 1 : 3);
        const std::string last = AsText(h.Exchange(Bytes(rest, record.end())));
        return {first, last};
    }
    std::string Download(const std::vector<std::string>& records) {
        std::string last;
        for (const std::string& record : records) last = SendRecord(record).second;
        return last;
    }
    std::string Store() { return AsText(h.Exchange(Text("P\r\n"))); }

    LineHarness h;
};

bool Has(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}
bool EndsWithPrompt(const std::string& text) {
    return !text.empty() && text.back() == '?';
}

TEST(BootLoader, UpgradeChangesTheReportedRevision) {
    LoaderSession s;
    const std::string banner = s.Start();
    EXPECT_TRUE(Has(banner, "KTR F/W Loader")) << banner;
    EXPECT_TRUE(Has(banner, "PASS")) << banner;
    EXPECT_TRUE(EndsWithPrompt(banner));
    EXPECT_EQ(s.h.firmware.Mode(), ModemMode::kLoader);

    const std::string load = s.Load();
    EXPECT_EQ(load.size(), 7u);
    EXPECT_TRUE(Has(load, "..."));

    const auto records = NewFirmware();
    EXPECT_EQ(s.SendRecord(records[0]), std::make_pair(std::string(), std::string()));
    EXPECT_EQ(s.SendRecord(records[1]), std::make_pair(std::string("."), std::string()));
    EXPECT_EQ(s.SendRecord(records[2]), std::make_pair(std::string("."), std::string()));
    const std::string end = s.SendRecord(records[3]).second;
    EXPECT_TRUE(Has(end, "DONE")) << end;
    EXPECT_TRUE(EndsWithPrompt(end));
    EXPECT_EQ(s.h.firmware.StoredMemory()[0x8402], 22) << "nothing stored before P";

    const std::string stored = s.Store();
    EXPECT_TRUE(Has(stored, "DONE") && Has(stored, "PASS")) << stored;
    EXPECT_TRUE(EndsWithPrompt(stored));
    EXPECT_EQ(s.h.firmware.StoredMemory()[0x9001], 0x34);

    EXPECT_TRUE(s.h.Exchange(Text("G 9000\n")).empty());
    EXPECT_EQ(s.h.firmware.Mode(), ModemMode::kData) << "the new firmware runs";
    s.h.SoftBreak();
    EXPECT_EQ(s.h.Exchange(ReadFrame(0x8402)), Reply(0x21, 35));
    EXPECT_EQ(s.h.Exchange(ReadFrame(0x8403)), Reply(0x21, 5));
}

struct LoaderFaultCase {
    const char* name;
    std::function<void(FaultPlan&)> plan;
    bool bannerPass;
    bool downloadDone;
    bool storeDone;
    bool storePass;
};

// Test names and failure messages show the case by its name.
void PrintTo(const LoaderFaultCase& c, std::ostream* os) {
    *os << c.name;
}

class LoaderFaults : public ::testing::TestWithParam<LoaderFaultCase> {};

TEST_P(LoaderFaults, ChangeTheTextsTheHostChecks) {
    const LoaderFaultCase& c = GetParam();
    LoaderSession s;
    FaultPlan plan;
    c.plan(plan);
    s.h.firmware.SetFaults(plan);
    const std::string banner = s.Start();
    EXPECT_TRUE(Has(banner, "KTR F/W Loader"));
    EXPECT_EQ(Has(banner, "PASS"), c.bannerPass) << banner;
    s.Load();
    const std::string end = s.Download(NewFirmware());
    EXPECT_EQ(Has(end, "DONE"), c.downloadDone) << end;
    EXPECT_TRUE(EndsWithPrompt(end));
    const std::string stored = s.Store();
    EXPECT_EQ(Has(stored, "DONE"), c.storeDone) << stored;
    EXPECT_EQ(Has(stored, "PASS"), c.storePass) << stored;
    EXPECT_EQ(s.h.firmware.StoredMemory()[0x8402], c.storePass ? 35 : 22);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, LoaderFaults,
    ::testing::Values(LoaderFaultCase{"none", [](FaultPlan&) {}, true, true, true, true},
                      LoaderFaultCase{"memory_check",
                                      [](FaultPlan& p) { p.loaderMemoryCheckFails = true; }, false,
                                      true, true, true},
                      LoaderFaultCase{"no_done_after_download",
                                      [](FaultPlan& p) { p.loaderNoDoneAfterDownload = true; },
                                      true, false, true, true},
                      LoaderFaultCase{"no_done_after_store",
                                      [](FaultPlan& p) { p.loaderNoDoneAfterStore = true; }, true,
                                      true, false, false},
                      LoaderFaultCase{"done_without_pass",
                                      [](FaultPlan& p) { p.loaderDoneWithoutPass = true; }, true,
                                      true, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BootLoader, ABadChecksumEndsWithoutDoneAndStoresNothing) {
    LoaderSession s;
    s.Start();
    s.Load();
    auto records = NewFirmware();
    records[1][10] = records[1][10] == '0' ? '1' : '0';  // one data digit changed
    const std::string end = s.Download(records);
    EXPECT_FALSE(Has(end, "DONE")) << end;
    EXPECT_TRUE(EndsWithPrompt(end));
    EXPECT_FALSE(Has(s.Store(), "DONE"));
    EXPECT_EQ(s.h.firmware.StoredMemory()[0x8402], 22);
}

TEST(BootLoader, StallStopsAnsweringMidDownload) {
    LoaderSession s;
    FaultPlan plan;
    plan.loaderStallAfterRecords = 2;
    s.h.firmware.SetFaults(plan);
    s.Start();
    s.Load();
    const auto records = NewFirmware();
    s.SendRecord(records[0]);
    EXPECT_EQ(s.SendRecord(records[1]).first, ".");
    EXPECT_EQ(s.SendRecord(records[2]).first, "");
    EXPECT_EQ(s.SendRecord(records[3]).second, "");
}

TEST(BootLoader, NeedsTheUnlockAndItsLineFeed) {
    LineHarness h;
    h.SoftBreak();
    EXPECT_EQ(h.Exchange({0x01, 0x1C, 0xE3, 0x0A}), Reply(0x1C, 1));
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kCommand);

    LoaderSession s;
    EXPECT_TRUE(s.h.Exchange({0x01, 0x1C, 0xE3}).empty()) << "the banner waits for the LF";
    EXPECT_TRUE(Has(AsText(s.h.Exchange({0x0A})), "KTR F/W Loader"));
    EXPECT_TRUE(Has(AsText(s.h.Exchange(Text("X\n"))), "?"));
    EXPECT_TRUE(Has(s.Store(), "?"));
    EXPECT_FALSE(Has(s.Store(), "DONE")) << "nothing downloaded";
}

TEST(SRecords, ParseChecksAndFields) {
    SRecord r;
    std::string text = Record('1', 0x1234, {0xAB, 0xCD});
    text.resize(text.size() - 2);
    ASSERT_TRUE(ParseSRecord(text, &r));
    EXPECT_EQ(r.type, '1');
    EXPECT_EQ(r.address, 0x1234);
    EXPECT_EQ(r.data, (std::vector<uint8_t>{0xAB, 0xCD}));
    const char* bad[] = {"",
                         "S1",
                         "X1051234ABCD00",
                         "S10512",
                         "S1051234ABCDZZ",
                         "S1061234ABCD00",
                         "S1051234ABCD00",
                         "S1051234ABCD0"};
    for (const char* b : bad) EXPECT_FALSE(ParseSRecord(b, &r)) << b;
    ASSERT_TRUE(ParseSRecord("S9030000FC", &r));
    EXPECT_EQ(r.type, '9');
}

}  // namespace
}  // namespace vxl::sim::test
