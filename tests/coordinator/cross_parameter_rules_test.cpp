// The rules that tie parameters to each other, one row per case, on the demo modem (type 4,
// "VXL", 25 kHz, 2 W, 450-470 MHz, 9600 link rate, GMSK).
#include <gtest/gtest.h>

#include <ostream>

#include <utility>
#include <vector>

#include "coordinator_harness.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

using Values = std::vector<std::pair<int, int>>;     // parameter id, value
using Bytes = std::vector<std::pair<int, uint8_t>>;  // address, byte

struct RuleCase {
    const char* name;
    Bytes before;  // stored as raw bytes before the edit, so no rule or filter applies
    int id;
    int value;
    Values after;                    // values afterwards
    std::vector<std::string> shown;  // view calls, in this order among the others
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}

// True when `expected` appears in `calls` in order (other calls may lie between).
bool InOrder(const std::vector<std::string>& expected, const std::vector<std::string>& calls) {
    size_t next = 0;
    for (const std::string& call : calls) {
        if (next < expected.size() && call == expected[next]) ++next;
    }
    return next == expected.size();
}

std::string Joined(const std::vector<std::string>& calls) {
    std::string text;
    for (const std::string& call : calls) text += call + "\n";
    return text;
}

class CrossParameterRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(CrossParameterRules, ApplyAfterTheNewValueIsStored) {
    const RuleCase& r = GetParam();
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    ModemParameterSet* set = h.coordinator.GetParameterSet();
    for (const auto& [address, byte] : r.before) {
        ASSERT_EQ(set->WriteBytes(address, 1, &byte), rc::kOk) << address;
    }
    h.view.calls.clear();

    ASSERT_EQ(h.coordinator.SetIntParameter(r.id, r.value), rc::kOk);

    for (const auto& [id, value] : r.after) EXPECT_EQ(h.Int(id), value) << "id " << id;
    EXPECT_TRUE(InOrder(r.shown, h.view.calls)) << Joined(h.view.calls);
    // Every edit ends with the Memory Map page and the dialog brought up to date.
    ASSERT_GE(h.view.calls.size(), 2u);
    EXPECT_EQ(h.view.calls[h.view.calls.size() - 2], "FillPage 4");
    EXPECT_EQ(h.view.calls.back(), "UpdateDialog");
}

const int kBw = pid::kChannelBandwidth;
const int kLr = pid::kLinkRate;
const int kMod = pid::kModulationType;

// Raw bytes: the link rate, the modulation, and the bandwidth nibble beside the 2 W power code.
std::pair<int, uint8_t> Lr(uint8_t rate) {
    return {0x18F, rate};
}
std::pair<int, uint8_t> Mod(uint8_t modulation) {
    return {0x1A6, modulation};
}
const std::pair<int, uint8_t> kNarrow = {0x100, 0x11};

INSTANTIATE_TEST_SUITE_P(
    Rows, CrossParameterRules,
    ::testing::Values(
        // Modulation rule: (bandwidth, new modulation, link rate) -> link rate.
        RuleCase{"Mod_25k_4FSK_at4800", {Lr(2)}, kMod, 1, {{kLr, 3}}, {"ShowInt 62 1"}},
        RuleCase{"Mod_25k_GMSK_at19200", {Mod(1), Lr(4)}, kMod, 0, {{kLr, 3}}, {}},
        RuleCase{"Mod_12k5_4FSK_at4800", {kNarrow, Lr(2)}, kMod, 1, {{kLr, 3}}, {}},
        RuleCase{"Mod_12k5_4FSK_at19200", {kNarrow, Lr(4)}, kMod, 1, {{kLr, 3}}, {}},
        RuleCase{"Mod_12k5_GMSK_at9600", {kNarrow, Mod(1)}, kMod, 0, {{kLr, 2}}, {}},
        RuleCase{"Mod_12k5_GMSK_at19200",
                 {kNarrow, Mod(1), Lr(4)},
                 kMod,
                 0,
                 {{kLr, 2}},
                 {"ShowInt 62 0", "FillPage 0", "ShowInt 62 0"}},
        RuleCase{"Mod_25k_4FSK_at9600Stays", {}, kMod, 1, {{kLr, 3}}, {}},
        RuleCase{"Mod_25k_GMSK_at4800Stays", {Mod(1), Lr(2)}, kMod, 0, {{kLr, 2}}, {}},
        // Link-rate rule: (bandwidth, new link rate) -> modulation.
        RuleCase{"Rate_25k_4800", {Mod(1)}, kLr, 2, {{kMod, 0}}, {"FillPage 0", "ShowInt 41 2"}},
        RuleCase{"Rate_25k_19200", {Mod(1)}, kLr, 4, {{kMod, 1}}, {}},
        RuleCase{"Rate_12k5_4800", {kNarrow}, kLr, 2, {{kMod, 0}}, {}},
        RuleCase{"Rate_12k5_9600", {kNarrow, Mod(1), Lr(2)}, kLr, 3, {{kMod, 1}}, {}},
        // Bandwidth: the link-rate rule with the current rate, then the modulation rule.
        RuleCase{"Bandwidth_25k_At19200MakesIt4Fsk",
                 {Lr(4)},
                 kBw,
                 0,
                 {{kMod, 1}, {kLr, 4}},
                 {"ShowInt 79 0", "FillPage 0", "ShowInt 79 0"}},
        RuleCase{"Bandwidth_To12k5_At4800MakesItGmsk",
                 {Mod(1), Lr(2)},
                 kBw,
                 1,
                 {{kMod, 0}, {kLr, 2}},
                 {}},
        RuleCase{"Bandwidth_To12k5_At19200", {Mod(1), Lr(4)}, kBw, 1, {{kMod, 1}, {kLr, 3}}, {}},
        RuleCase{
            "Bandwidth_To25k_At4800", {kNarrow, Mod(1), Lr(2)}, kBw, 0, {{kMod, 0}, {kLr, 2}}, {}},
        RuleCase{"Bandwidth_To12k5_At9600Gmsk", {}, kBw, 1, {{kMod, 1}, {kLr, 3}}, {}},
        // Protocol mode.
        RuleCase{"Protocol_Transparent",
                 {{0x194, 7}},
                 pid::kProtocolMode,
                 1,
                 {},
                 {"ShowInt 46 7", "ShowInt 48 255", "ShowBool 43 1",
                  "SetRealRange 78 0.000 2.550 2", "ShowReal 78 0.0500"}},
        RuleCase{"Protocol_Packet",
                 {{0x194, 9}},
                 pid::kProtocolMode,
                 2,
                 {},
                 {"ShowInt 46 9", "ShowBool 43 1", "SetRealRange 78 0.000 2.550 2"}},
        RuleCase{"Protocol_Digipeater",
                 {},
                 pid::kProtocolMode,
                 3,
                 {},
                 {"ShowBool 77 1", "ShowBool 43 1", "SetRealRange 78 0.000 2.550 2"}},
        RuleCase{"Protocol_FastAsync",
                 {},
                 pid::kProtocolMode,
                 4,
                 {},
                 {"ShowBool 77 0", "SetRealRange 78 0.000 2.550 2"}},
        RuleCase{
            "Protocol_TrimMark",
            {Mod(1), Lr(4)},
            pid::kProtocolMode,
            5,
            {{kMod, 0}, {kLr, 3}},
            {"ShowInt 62 0", "ShowInt 41 3", "ShowBool 43 1", "SetRealRange 78 0.000 0.255 3"}},
        RuleCase{"Protocol_TrimTalkKeeps4800",
                 {Lr(2)},
                 pid::kProtocolMode,
                 6,
                 {{kMod, 0}, {kLr, 2}},
                 {"ShowInt 62 0", "ShowBool 43 1"}},
        // Model: power and channel selection follow what the model allows.
        RuleCase{"Model_HpBaseTakesItsPower",
                 {},
                 pid::kModel,
                 0,
                 {{pid::kPower, 2}},
                 {"ShowText 82 938-7", "TransmitEditable 1", "ShowInt 71 0"}},
        RuleCase{"Model_RoverTakesItsPower",
                 {},
                 pid::kModel,
                 1,
                 {{pid::kPower, 0}},
                 {"TransmitEditable 0", "ShowInt 71 1"}},
        RuleCase{"Model_LpBaseKeeps2W",
                 {},
                 pid::kModel,
                 3,
                 {{pid::kPower, 1}},
                 {"TransmitEditable 1", "ShowInt 71 3"}},
        // The rest show what changed.
        RuleCase{"SerialNumberShownWithEightDigits",
                 {},
                 pid::kSerialNumber,
                 1234,
                 {},
                 {"ShowText 2 00001234"}},
        RuleCase{"EotCharacterShownAsCount",
                 {},
                 pid::kEOTCharacter,
                 13,
                 {{pid::kEOTCount, 13}},
                 {"ShowInt 83 13", "ShowReal 78 0.1300"}},
        RuleCase{"EotCountShownAsCharacter",
                 {},
                 pid::kEOTCount,
                 7,
                 {{pid::kEOTCharacter, 7}},
                 {"ShowInt 45 7", "ShowReal 78 0.0700"}},
        RuleCase{"PowerShowsTheBoardAgain",
                 {},
                 pid::kPower,
                 3,
                 {},
                 {"ShowInt 73 3", "ShowText 82 1038-7", "FillPage 0"}},
        RuleCase{"CrystalShowsTheBoardAgain", {}, pid::kCrystal, 2, {}, {"ShowText 82 1038-2"}},
        RuleCase{"FrequencyRefreshesEverything",
                 {},
                 pid::kFrequency,
                 1,
                 {},
                 {"ShowText 82 1038-7", "FillPage 0", "FillPage 5", "ShowInt 72 1"}},
        RuleCase{"ParityHasNoRule", {}, pid::kParity, 2, {{pid::kParity, 2}}, {}}),
    [](const ::testing::TestParamInfo<RuleCase>& info) { return info.param.name; });

TEST(CrossParameterRuleDetails, ProtocolModeReEncodesScrambling) {
    CoordinatorHarness h;
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    ASSERT_EQ(h.coordinator.SetBoolParameter(pid::kScrambling, true), rc::kOk);
    uint8_t byte = 0;
    ASSERT_EQ(h.coordinator.SetIntParameter(pid::kProtocolMode, 5), rc::kOk);
    h.coordinator.GetParameterSet()->ReadBytes(0x192, 1, &byte);
    EXPECT_EQ(byte, 2);
    ASSERT_EQ(h.coordinator.SetIntParameter(pid::kProtocolMode, 2), rc::kOk);
    h.coordinator.GetParameterSet()->ReadBytes(0x192, 1, &byte);
    EXPECT_EQ(byte, 1);
}

TEST(CrossParameterRuleDetails, ModelClearsTheChannelSelectionTheModelCannotUse) {
    const struct {
        int model;
        uint8_t selectionBefore;
        uint8_t selectionAfter;
    } rows[] = {{0, 2, 0}, {0, 1, 1}, {1, 1, 0}, {1, 2, 2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.model);
        CoordinatorHarness h;
        ASSERT_EQ(h.LoadDemo(), rc::kOk);
        ASSERT_EQ(h.coordinator.WriteMemoryByte(0xC3, row.selectionBefore), rc::kOk);
        ASSERT_EQ(h.coordinator.SetIntParameter(pid::kModel, row.model), rc::kOk);
        uint8_t byte = 0xEE;
        h.coordinator.GetParameterSet()->ReadBytes(0x1C3, 1, &byte);
        EXPECT_EQ(byte, row.selectionAfter);
    }
}

TEST(CrossParameterRuleDetails, EotTimeoutShowsTheSharedByteInBothOtherControls) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.SetRealParameter(pid::kEOTTimeout, 0.2), rc::kOk);
    EXPECT_EQ(h.view.calls, (std::vector<std::string>{"ShowInt 45 20", "ShowInt 83 20",
                                                      "FillPage 4", "UpdateDialog"}));
}

TEST(CrossParameterRuleDetails, ATypeTwoModemSkipsTheTypeFourSteps) {
    ModemIdentity qmx;
    qmx.modelByte = 24;  // QMX44A 430-450MHz 35W
    qmx.revisionHundredths = 341;
    CoordinatorHarness h(qmx);
    h.coordinator.SetView(&h.view);
    h.Load();  // the defaults of a QMX model row are reported as a bad model; the set stays
    ASSERT_TRUE(h.coordinator.IsLoaded());
    ASSERT_EQ(h.coordinator.GetParameterSet()->GetModemType(), 2);
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.SetIntParameter(pid::kLinkRate, 2), rc::kOk);
    EXPECT_EQ(h.view.calls.front(), "ShowInt 41 2");
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.SetIntParameter(pid::kModel, 25), rc::kOk);
    EXPECT_FALSE(h.view.Saw("TransmitEditable 0"));
    EXPECT_FALSE(h.view.Saw("TransmitEditable 1"));
    EXPECT_TRUE(h.view.Saw("ShowInt 71 25"));
}

}  // namespace
}  // namespace vxl::test
