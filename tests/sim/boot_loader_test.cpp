// The boot loader's text dialogue, as the host drives it, with records the host's tools write.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "line_harness.h"
#include "modem/srecord_text.h"

namespace vxl::sim::test {
namespace {

// New firmware whose identity block reports revision 3.55 and keeps N = 246.
std::vector<std::string> NewFirmware() {
    return {FormatSrecord('0', 0, "vxl"),
            FormatSrecord('1', 0x8400, {0, 0, 35, 5, '\xF6', 3, '\xAA'}),
            FormatSrecord('1', 0x9000, "\x12\x34\x56"), FormatSrecord('9', 0x9000, "")};
}

class LoaderSession {
  public:
    LoaderSession() { h.CaptureAndUnlock(); }

    // Sends `bytes`; what came back, as text.
    std::string Say(const Bytes& bytes) {
        const Bytes reply = h.Exchange(bytes);
        return std::string(reply.begin(), reply.end());
    }
    std::string Start() { return Say({0x01, 0x1C, 0xE3, 0x0A}); }
    // Sends the records the way the host does: the first three characters, then the rest
    // (header and end records from their type digit on); everything the loader said.
    std::string Download(const std::vector<std::string>& records) {
        std::string said;
        for (const std::string& record : records) {
            said += Say(Bytes(record.begin(), record.begin() + 3));
            const bool headerOrEnd = record[1] == '0' || record[1] == '9';
            said += Say(Bytes(record.begin() + (headerOrEnd ? 1 : 3), record.end()));
        }
        return said;
    }
    std::string Store() { return Say(Text("P\r\n")); }

    LineHarness h;
};

bool Has(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}
bool EndsWithPrompt(const std::string& text) {
    return !text.empty() && text.back() == '?';
}

// Each run starts the loader, loads, downloads new firmware, stores it, and starts it if stored.
// A clean upgrade, and the host's answer to each loader fault, are the end-to-end and loader
// tests'; here, the faults that change what the loader acknowledges and stores.
TEST(BootLoader, UpgradesAndFaultsChangeTheTextsTheHostChecks) {
    using Records = std::vector<std::string>;
    const struct {
        const char* name;
        std::function<void(FaultPlan&, Records&)> fault;
        const char* acknowledged;  // the dots the data records got
        bool downloadDone, downloadPrompt, storeDone, storePass;
    } cases[] = {
        {"no DONE after download",
         [](FaultPlan& p, Records&) { p.loaderNoDoneAfterDownload = true; }, "..", false,
         true, true, true},
        {"bad checksum: one data digit changed",
         [](FaultPlan&, Records& r) { r[1][10] = r[1][10] == '0' ? '1' : '0'; }, "..", false,
         true, false, false},
        {"stall after two records", [](FaultPlan& p, Records&) { p.loaderStallAfterRecords = 2; },
         ".", false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoaderSession s;
        FaultPlan plan;
        Records records = NewFirmware();
        c.fault(plan, records);
        s.h.firmware.SetFaults(plan);
        const std::string banner = s.Start();
        EXPECT_TRUE(Has(banner, "KTR F/W Loader") && EndsWithPrompt(banner)) << banner;
        EXPECT_TRUE(Has(banner, "PASS")) << banner;
        EXPECT_EQ(s.h.firmware.Mode(), ModemMode::kLoader);
        const std::string load = s.Say(Text("L\n"));
        EXPECT_TRUE(load.size() == 7 && Has(load, "...")) << load;
        const std::string said = s.Download(records);
        EXPECT_EQ(said.substr(0, said.find('\r')), c.acknowledged) << said;
        EXPECT_EQ(Has(said, "DONE"), c.downloadDone) << said;
        EXPECT_EQ(EndsWithPrompt(said), c.downloadPrompt) << said;
        EXPECT_EQ(s.h.firmware.StoredMemory()[0x8402], 22) << "nothing stored before P";
        const std::string stored = s.Store();
        EXPECT_EQ(Has(stored, "DONE"), c.storeDone) << stored;
        EXPECT_EQ(Has(stored, "PASS"), c.storePass) << stored;
        EXPECT_EQ(EndsWithPrompt(stored), c.downloadPrompt) << stored;
        EXPECT_EQ(s.h.firmware.StoredMemory()[0x9001], c.storePass ? 0x34 : 0);
        if (!c.storePass) continue;
        EXPECT_TRUE(s.h.Exchange(Text("G 9000\n")).empty());
        EXPECT_EQ(s.h.firmware.Mode(), ModemMode::kData) << "the new firmware runs";
        s.h.SoftBreak();
        EXPECT_EQ(s.h.Exchange(ReadMemoryFrame(0x8402)), Reply(0x21, 35));
        EXPECT_EQ(s.h.Exchange(ReadMemoryFrame(0x8403)), Reply(0x21, 5));
    }
}

}  // namespace
}  // namespace vxl::sim::test
