// The rules that tie parameters to each other, one row per case, on the demo modem (type 4,
// "VXL", 25 kHz, 2 W, 450-470 MHz, 9600 link rate, GMSK).
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "coordinator_harness.h"
#include "params/parameter_ids.h"

namespace vxl::test {
namespace {

using Values = std::vector<std::pair<int, int>>;     // parameter id, value
using Bytes = std::vector<std::pair<int, uint8_t>>;  // address, byte

// True when `expected` appears in `calls` in order (other calls may lie between).
bool InOrder(const std::vector<std::string>& expected, const std::vector<std::string>& calls) {
    size_t next = 0;
    for (const std::string& call : calls) {
        if (next < expected.size() && call == expected[next]) ++next;
    }
    return next == expected.size();
}

const int kBw = pid::kChannelBandwidth;
const int kLr = pid::kLinkRate;
const int kMod = pid::kModulationType;
const int kProto = pid::kProtocolMode;
// Raw bytes: the link rate, the modulation, and the bandwidth nibble beside the 2 W power code.
const auto Lr = [](uint8_t rate) { return std::pair<int, uint8_t>{0x18F, rate}; };
const auto Mod = [](uint8_t modulation) { return std::pair<int, uint8_t>{0x1A6, modulation}; };
const std::pair<int, uint8_t> kNarrow = {0x100, 0x11};
const char* const kRange255 = "SetRealRange 78 0.000 2.550 2";

TEST(CrossParameterRules, ApplyAfterTheNewValueIsStored) {
    const struct {
        const char* name;
        Bytes before;  // stored as raw bytes before the edit, so no rule or filter applies
        int id, value;
        Values after;                    // values afterwards
        std::vector<std::string> shown;  // view calls, in this order among the others
    } rows[] = {
        // clang-format off
        // Modulation rule: (bandwidth, new modulation, link rate) -> link rate.
        {"25k 4FSK at 4800", {Lr(2)}, kMod, 1, {{kLr, 3}}, {"ShowInt 62 1"}},
        {"25k GMSK at 19200", {Mod(1), Lr(4)}, kMod, 0, {{kLr, 3}}, {}},
        {"12k5 4FSK at 4800", {kNarrow, Lr(2)}, kMod, 1, {{kLr, 3}}, {}},
        {"12k5 4FSK at 19200", {kNarrow, Lr(4)}, kMod, 1, {{kLr, 3}}, {}},
        {"12k5 GMSK at 9600", {kNarrow, Mod(1)}, kMod, 0, {{kLr, 2}}, {}},
        {"12k5 GMSK at 19200", {kNarrow, Mod(1), Lr(4)}, kMod, 0, {{kLr, 2}},
         {"ShowInt 62 0", "FillPage 0", "ShowInt 62 0"}},
        {"25k 4FSK at 9600 stays", {}, kMod, 1, {{kLr, 3}}, {}},
        {"25k GMSK at 4800 stays", {Mod(1), Lr(2)}, kMod, 0, {{kLr, 2}}, {}},
        // Link-rate rule: (bandwidth, new link rate) -> modulation.
        {"rate 25k 4800", {Mod(1)}, kLr, 2, {{kMod, 0}}, {"FillPage 0", "ShowInt 41 2"}},
        {"rate 25k 19200", {Mod(1)}, kLr, 4, {{kMod, 1}}, {}},
        {"rate 12k5 4800", {kNarrow}, kLr, 2, {{kMod, 0}}, {}},
        {"rate 12k5 9600", {kNarrow, Mod(1), Lr(2)}, kLr, 3, {{kMod, 1}}, {}},
        // Bandwidth: the link-rate rule with the current rate, then the modulation rule.
        {"25k at 19200 makes it 4FSK", {Lr(4)}, kBw, 0, {{kMod, 1}, {kLr, 4}},
         {"ShowInt 79 0", "FillPage 0", "ShowInt 79 0"}},
        {"12k5 at 4800 makes it GMSK", {Mod(1), Lr(2)}, kBw, 1, {{kMod, 0}, {kLr, 2}}, {}},
        {"12k5 at 19200", {Mod(1), Lr(4)}, kBw, 1, {{kMod, 1}, {kLr, 3}}, {}},
        {"25k at 4800", {kNarrow, Mod(1), Lr(2)}, kBw, 0, {{kMod, 0}, {kLr, 2}}, {}},
        {"12k5 at 9600 GMSK", {}, kBw, 1, {{kMod, 1}, {kLr, 3}}, {}},
        // Protocol mode.
        {"transparent", {{0x194, 7}}, kProto, 1, {},
         {"ShowInt 46 7", "ShowInt 48 255", "ShowBool 43 1", kRange255, "ShowReal 78 0.0500"}},
        {"packet", {{0x194, 9}}, kProto, 2, {}, {"ShowInt 46 9", "ShowBool 43 1", kRange255}},
        {"digipeater", {}, kProto, 3, {}, {"ShowBool 77 1", "ShowBool 43 1", kRange255}},
        {"fast async", {}, kProto, 4, {}, {"ShowBool 77 0", kRange255}},
        {"TrimMark", {Mod(1), Lr(4)}, kProto, 5, {{kMod, 0}, {kLr, 3}},
         {"ShowInt 62 0", "ShowInt 41 3", "ShowBool 43 1", "SetRealRange 78 0.000 0.255 3"}},
        {"TrimTalk keeps 4800", {Lr(2)}, kProto, 6, {{kMod, 0}, {kLr, 2}},
         {"ShowInt 62 0", "ShowBool 43 1"}},
        // Model: power and channel selection follow what the model allows.
        {"HP Base takes its power", {}, pid::kModel, 0, {{pid::kPower, 2}},
         {"ShowText 82 938-7", "TransmitEditable 1", "ShowInt 71 0"}},
        {"Rover takes its power", {}, pid::kModel, 1, {{pid::kPower, 0}},
         {"TransmitEditable 0", "ShowInt 71 1"}},
        {"LP Base keeps 2 W", {}, pid::kModel, 3, {{pid::kPower, 1}},
         {"TransmitEditable 1", "ShowInt 71 3"}},
        // The rest show what changed.
        {"serial number", {}, pid::kSerialNumber, 1234, {}, {"ShowText 2 00001234"}},
        {"EOT character", {}, pid::kEOTCharacter, 13, {{pid::kEOTCount, 13}},
         {"ShowInt 83 13", "ShowReal 78 0.1300"}},
        {"EOT count", {}, pid::kEOTCount, 7, {{pid::kEOTCharacter, 7}},
         {"ShowInt 45 7", "ShowReal 78 0.0700"}},
        {"power", {}, pid::kPower, 3, {}, {"ShowInt 73 3", "ShowText 82 1038-7", "FillPage 0"}},
        {"crystal", {}, pid::kCrystal, 2, {}, {"ShowText 82 1038-2"}},
        {"frequency", {}, pid::kFrequency, 1, {},
         {"ShowText 82 1038-7", "FillPage 0", "FillPage 5", "ShowInt 72 1"}},
        {"parity has no rule", {}, pid::kParity, 2, {{pid::kParity, 2}}, {}},
        // clang-format on
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        CoordinatorHarness h;
        h.coordinator.SetView(&h.view);
        ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk);
        for (const auto& [address, byte] : r.before)
            ASSERT_EQ(h.Set()->WriteBytes(address, 1, &byte), rc::kOk) << address;
        h.view.calls.clear();

        ASSERT_EQ(h.coordinator.SetIntParameter(r.id, r.value), rc::kOk);

        for (const auto& [id, value] : r.after) EXPECT_EQ(h.Int(id), value) << "id " << id;
        EXPECT_TRUE(InOrder(r.shown, h.view.calls)) << testing::PrintToString(h.view.calls);
        // Every edit ends with the Memory Map page and the dialog brought up to date.
        ASSERT_GE(h.view.calls.size(), 2u);
        EXPECT_EQ(h.view.calls[h.view.calls.size() - 2], "FillPage 4");
        EXPECT_EQ(h.view.calls.back(), "UpdateDialog");
    }
}

TEST(CrossParameterRules, ProtocolModeReEncodesScramblingAndModelClearsUnusableSelections) {
    CoordinatorHarness h;
    ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk);
    ASSERT_EQ(h.coordinator.SetBoolParameter(pid::kScrambling, true), rc::kOk);
    uint8_t byte = 0;
    ASSERT_EQ(h.coordinator.SetIntParameter(kProto, 5), rc::kOk);
    h.Set()->ReadBytes(0x192, 1, &byte);
    EXPECT_EQ(byte, 2);
    ASSERT_EQ(h.coordinator.SetIntParameter(kProto, 2), rc::kOk);
    h.Set()->ReadBytes(0x192, 1, &byte);
    EXPECT_EQ(byte, 1);

    const struct {
        int model;
        uint8_t selectionBefore, selectionAfter;
    } rows[] = {{0, 2, 0}, {0, 1, 1}, {1, 1, 0}, {1, 2, 2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.model);
        ASSERT_EQ(h.coordinator.WriteMemoryByte(0xC3, row.selectionBefore), rc::kOk);
        ASSERT_EQ(h.coordinator.SetIntParameter(pid::kModel, row.model), rc::kOk);
        h.Set()->ReadBytes(0x1C3, 1, &byte);
        EXPECT_EQ(byte, row.selectionAfter);
    }
}

TEST(CrossParameterRules, EotTimeoutShowsTheSharedByteInBothOtherControls) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk);
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.SetRealParameter(pid::kEOTTimeout, 0.2), rc::kOk);
    EXPECT_EQ(h.view.calls, (std::vector<std::string>{"ShowInt 45 20", "ShowInt 83 20",
                                                      "FillPage 4", "UpdateDialog"}));
}

TEST(CrossParameterRules, RefillingTheRadioLinkPageFitsTheLinkRateToTheModulation) {
    const struct {
        const char* name;
        Bytes stored;
        bool wholeSheet;  // RefreshPages, else RefreshLinkPage
        int linkRate;     // afterwards
    } rows[] = {
        // clang-format off
        {"25k 4FSK at 4800", {Mod(1), Lr(2)}, true, 3},
        {"25k GMSK at 19200", {Lr(4)}, false, 3},
        {"12k5 4FSK at 4800", {kNarrow, Mod(1), Lr(2)}, true, 3},
        {"12k5 4FSK at 19200", {kNarrow, Mod(1), Lr(4)}, false, 3},
        {"12k5 GMSK at 9600", {kNarrow}, true, 2},
        {"12k5 GMSK at 19200", {kNarrow, Lr(4)}, false, 2},
        {"25k GMSK at 9600 stays", {}, true, 3},
        {"25k 4FSK at 19200 stays", {Mod(1), Lr(4)}, false, 4},
        // clang-format on
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        CoordinatorHarness h;
        ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk);
        for (const auto& [address, byte] : r.stored)
            ASSERT_EQ(h.Set()->WriteBytes(address, 1, &byte), rc::kOk) << address;
        const int stored = h.Int(kLr);
        ASSERT_EQ(h.coordinator.RefreshPages(), rc::kOk);
        EXPECT_EQ(h.Int(kLr), stored) << "without windows the stored rate is what is reported";

        h.coordinator.SetView(&h.view);
        ASSERT_EQ(r.wholeSheet ? h.coordinator.RefreshPages() : h.coordinator.RefreshLinkPage(),
                  rc::kOk);
        EXPECT_EQ(h.Int(kLr), r.linkRate);
    }
}

TEST(CrossParameterRules, ATypeTwoModemSkipsTheTypeFourSteps) {
    CoordinatorHarness h(24, 341);  // QMX44A 430-450MHz 35W
    h.coordinator.SetView(&h.view);
    h.Load();  // the defaults of a QMX model row are reported as a bad model; the set stays
    ASSERT_TRUE(h.coordinator.IsLoaded());
    ASSERT_EQ(h.Set()->GetModemType(), 2);
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.SetIntParameter(kLr, 2), rc::kOk);
    EXPECT_EQ(h.view.calls.front(), "ShowInt 41 2");
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.SetIntParameter(pid::kModel, 25), rc::kOk);
    EXPECT_FALSE(h.view.Saw("TransmitEditable 0"));
    EXPECT_FALSE(h.view.Saw("TransmitEditable 1"));
    EXPECT_TRUE(h.view.Saw("ShowInt 71 25"));
}

}  // namespace
}  // namespace vxl::test
