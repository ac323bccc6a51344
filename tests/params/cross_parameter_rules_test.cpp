// The rules that tie parameters to each other, one row per case, on a type-4 "VXL" (25 kHz,
// 2 W, 9600 link rate, GMSK, Packet Switched): what each edit changes besides itself, and which
// parameters it reports as changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "modem_under_test.h"
#include "params/parameter_ids.h"
#include "params/parameter_rules.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

using namespace vxl::pid;
using Values = std::vector<std::pair<int, int>>;   // parameter id, value afterwards
using Raw = std::vector<std::pair<int, uint8_t>>;  // address, byte before the edit

constexpr int kAll = -1;  // the rule reports every parameter as changed

// Raw bytes: the link rate, the modulation, the bandwidth nibble beside the 2 W power code.
std::pair<int, uint8_t> Lr(uint8_t rate) {
    return {0x18F, rate};
}
std::pair<int, uint8_t> Mod(uint8_t modulation) {
    return {0x1A6, modulation};
}
const std::pair<int, uint8_t> kNarrow = {0x100, 0x11};

struct Vxl : ModemUnderTest {
    explicit Vxl(const Raw& raw)
        : ModemUnderTest(4, 2.2,
                         {{0x100, 0x01},
                          {0x10A, Type4ModelByte(5, 2)},
                          {0x18F, 3},
                          {0x190, 2},
                          {0x192, 1},
                          {0x1A0, 4}}) {
        for (const auto& [address, byte] : raw) WriteByte(image, address, byte);
    }
    int Int(int id) const {
        int value = -99;
        set->GetInt(id, value);
        return value;
    }
};

TEST(CrossParameterRules, EachEditChangesWhatItsRuleSaysAndReportsIt) {
    const struct {
        const char* name;
        Raw before;  // raw bytes, so that no rule applies while they are stored
        int id, value;
        Values after;
        std::vector<int> changed;  // exactly these ids, or {kAll}
    } rows[] = {
        // clang-format off
        // Modulation: (bandwidth, new modulation, link rate) -> link rate.
        {"25k 4FSK at 4800", {Lr(2)}, kModulationType, 1, {{kLinkRate, 3}}, {kAll}},
        {"25k GMSK at 19200", {Mod(1), Lr(4)}, kModulationType, 0, {{kLinkRate, 3}}, {kAll}},
        {"12k5 4FSK at 19200", {kNarrow, Lr(4)}, kModulationType, 1, {{kLinkRate, 3}}, {kAll}},
        {"12k5 GMSK at 9600", {kNarrow, Mod(1)}, kModulationType, 0, {{kLinkRate, 2}}, {kAll}},
        {"25k 4FSK at 9600 stays", {}, kModulationType, 1, {{kLinkRate, 3}}, {kAll}},
        // Link rate: (bandwidth, new link rate) -> modulation.
        {"rate 25k 19200", {Mod(1)}, kLinkRate, 4, {{kModulationType, 1}}, {kAll}},
        {"rate 12k5 4800", {kNarrow}, kLinkRate, 2, {{kModulationType, 0}}, {kAll}},
        // Bandwidth: the link-rate rule with the current rate, then the modulation rule.
        {"25k at 19200 makes it 4FSK", {Lr(4)}, kChannelBandwidth, 0,
         {{kModulationType, 1}, {kLinkRate, 4}}, {kAll}},
        {"12k5 at 19200", {Mod(1), Lr(4)}, kChannelBandwidth, 1,
         {{kModulationType, 1}, {kLinkRate, 3}}, {kAll}},
        // Protocol mode: the settings that follow the mode are shown again.
        {"transparent", {}, kProtocolMode, 1, {},
         {kLocalAddress, kProtocolMode, kForwardErrorCorrection, kRemoteAddress, kEOTTimeout}},
        {"TrimMark: GMSK at 9600", {Mod(1), Lr(4)}, kProtocolMode, 5,
         {{kModulationType, 0}, {kLinkRate, 3}},
         {kProtocolMode, kForwardErrorCorrection, kLinkRate, kModulationType, kEOTTimeout}},
        {"TrimTalk keeps 4800", {Lr(2)}, kProtocolMode, 6, {{kModulationType, 0}, {kLinkRate, 2}},
         {kProtocolMode, kForwardErrorCorrection, kModulationType, kEOTTimeout}},
        // Model: power and channel selection follow what the model allows.
        {"HP Base takes its power", {}, kModel, 0, {{kPower, 2}}, {kAll}},
        {"Rover takes its power", {}, kModel, 1, {{kPower, 0}}, {kAll}},
        {"a base drops the rover selection", {{0x1C3, 2}}, kModel, 0, {{kChannelSelectType, 0}},
         {kAll}},
        {"a rover drops the base selection", {{0x1C3, 1}}, kModel, 1, {{kChannelSelectType, 0}},
         {kAll}},
        {"a rover keeps its own", {{0x1C3, 2}}, kModel, 1, {{kChannelSelectType, 2}}, {kAll}},
        // The rest show what else reads the same bytes.
        {"EOT character", {}, kEOTCharacter, 13, {{kEOTCount, 13}},
         {kEOTCharacter, kEOTTimeout, kEOTCount}},
        {"EOT count", {}, kEOTCount, 7, {{kEOTCharacter, 7}},
         {kEOTCharacter, kEOTTimeout, kEOTCount}},
        {"power names the board", {}, kPower, 3, {}, {kPower, kModemID}},
        {"frequency", {}, kFrequency, 1, {}, {kAll}},
        {"parity has no rule", {}, kParity, 2, {}, {kParity}},
        // Any edit settles a link rate that the modulation rules out.
        {"parity fits 19200 at 12k5 GMSK", {kNarrow, Lr(4)}, kParity, 1, {{kLinkRate, 2}},
         {kParity, kLinkRate}},
        // clang-format on
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Vxl m(r.before);
        ParameterChanges changes;
        changes.Add(r.id);
        ASSERT_EQ(rules::SetInt(*m.set, r.id, r.value, changes), rc::kOk);
        EXPECT_EQ(m.Int(r.id), r.value);
        for (const auto& [id, value] : r.after) EXPECT_EQ(m.Int(id), value) << "id " << id;
        if (r.changed == std::vector<int>{kAll}) {
            EXPECT_TRUE(changes.IsAll());
        } else {
            std::vector<int> expected = r.changed;
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(changes.Ids(), expected);
        }
    }
}

TEST(CrossParameterRules, OtherKindsOfEditAndWhatTheyReport) {
    Vxl m({{0x194, 9}});
    ParameterChanges changes;
    // A digipeater repeats, fast async does not.
    ASSERT_EQ(rules::SetInt(*m.set, kProtocolMode, 3, changes), rc::kOk);
    EXPECT_EQ(m.Byte(0x1A3) & 0x40, 0x40);
    ASSERT_EQ(rules::SetInt(*m.set, kProtocolMode, 4, changes), rc::kOk);
    EXPECT_EQ(m.Byte(0x1A3) & 0x40, 0);

    changes = ParameterChanges();
    ASSERT_EQ(rules::SetReal(*m.set, kEOTTimeout, 0.2, changes), rc::kOk);
    EXPECT_EQ(changes.Ids(), (std::vector<int>{kEOTCharacter, kEOTCount}));
    changes = ParameterChanges();
    ASSERT_EQ(rules::SetReal(*m.set, RxChannelId(2), 455.5, changes), rc::kOk);
    EXPECT_EQ(changes.Ids(), (std::vector<int>{RxChannelId(2), kCurrentChannel}));

    // A type-2 modem skips the type-4 steps, and a parameter it lacks is refused.
    ModemUnderTest qmx(2, 3.41, {{0x18F, 2}});
    changes = ParameterChanges();
    ASSERT_EQ(rules::SetInt(*qmx.set, kLinkRate, 2, changes), rc::kOk);
    EXPECT_EQ(rules::SetInt(*qmx.set, kModulationType, 1, changes), rc::kMissingArgument);
}

}  // namespace
}  // namespace vxl::test
