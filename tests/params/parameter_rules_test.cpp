// Availability and editability rules, the text conversions, and the set's raw-byte and
// channel-table operations.
#include <gtest/gtest.h>

#include <tuple>

#include "modem_under_test.h"
#include "params/identity_parameters.h"
#include "params/parameter_ids.h"
#include "params/parameter_text.h"
#include "util/result_codes.h"

namespace {

using vxl::test::ModemUnderTest;
using vxl::test::Type4ModelByte;
using namespace vxl;
using namespace vxl::pid;

// Per modem: parameters that are available and editable ("AE"), only one of the two ("A-", "-E")
// or neither ("--").
TEST(ParameterRules, AvailabilityAndEditability) {
    const uint8_t hp = Type4ModelByte(0, 0), rover = Type4ModelByte(1, 0);
    const uint8_t vxl5 = Type4ModelByte(5, 0);
    const vxl::test::ModemCase<std::pair<int, std::string>> cases[] = {
        // clang-format off
        {"VXL", 4, 2.2, {{0x10A, vxl5}}, {{TxChannelId(3), "AE"}, {kPowerControl, "AE"},
         {kRoverAutoOff, "--"}}},
        {"rover", 4, 2.2, {{0x10A, rover}}, {{TxChannelId(3), "-E"}, {kPower, "A-"}}},
        {"rover at 1.04", 4, 1.04, {{0x10A, rover}}, {{kRoverAutoOff, "AE"}, {kModemEnable, "A-"}}},
        {"before 1.04", 4, 1.03, {}, {{kModemEnable, "--"}}},
        {"QMX", 2, 3.5, {}, {{TxChannelId(3), "AE"}, {kModulationType, "--"}, {kCallSign, "AE"}}},
        {"type 1", 1, 3.0, {}, {{kCallSign, "-E"}}},
        {"packet", 4, 2.2, {{0x190, 2}}, {{kLocalAddress, "AE"}}},
        {"fast async", 4, 2.2, {{0x190, 4}}, {{kLocalAddress, "A-"},
         {kForwardErrorCorrection, "A-"}}},
        {"digipeater", 4, 2.2, {{0x10A, hp}, {0x190, 3}}, {{kRepeater, "A-"}}},
        {"TrimTalk", 4, 2.2, {{0x190, 6}}, {{kModulationType, "A-"}}},
        {"transparent", 4, 2.2, {}, {{kModulationType, "AE"}, {kChannelSelectType, "-E"},
         {kCurrentChannel, "AE"}, {kSerialNumber, "AE"}, {kLowRSSICDLevel, "A-"},
         {kFirmwareRevision, "--"}, {kBitPolarity, "--"}, {3, "--"}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        ModemUnderTest m(c.type, c.revision, c.bytes);
        for (const auto& [id, rule] : c.checks) {
            const std::string actual = std::string(m.set->IsAvailable(id) ? "A" : "-") +
                                       (m.set->IsEditable(id) ? "E" : "-");
            EXPECT_EQ(actual, rule) << c.name << ", id " << id;
        }
    }
}

TEST(ParameterTexts, DecimalNumbersToleranceAndLimits) {
    const char* const huge = "99999999999999999999";
    const std::tuple<const char*, int, int> ints[] = {
        {"12x", 0, 12}, {"12xy", 92, 0}, {"", 92, 0}, {"-3", 92, 0}, {"256", 92, 0}, {huge, 92, 0}};
    for (auto [text, code, expected] : ints) {
        int value = 0;
        EXPECT_EQ(vxl::ParseDecimalInt(text, 0, 255, value), code) << text;
        EXPECT_EQ(code == 0 ? value : 0, expected) << text;
    }
    const std::tuple<const char*, int, double> reals[] = {
        {"2.5s", 0, 2.5}, {"0x10", 92, 0}, {"inf", 92, 0}, {"nan", 92, 0}, {"60.01", 92, 0},
    };
    for (auto [text, code, expected] : reals) {
        double value = 0;
        EXPECT_EQ(vxl::ParseDecimalReal(text, 0.0, 60.0, value), code) << text;
        EXPECT_DOUBLE_EQ(code == 0 ? value : 0, expected) << text;
    }
}

TEST(ParameterSetBytes, RangeChecksRawWritesClearingAndNoImage) {
    ModemUnderTest m(4, 2.2, {});
    uint8_t bytes[15] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    EXPECT_EQ(m.set->WriteParameterBytes(kDACCompVoltageCount, bytes), 0);
    EXPECT_EQ(m.Byte(0x1A8), 1);
    EXPECT_EQ(m.Byte(0x1B6), 15);
    EXPECT_EQ(m.set->WriteParameterBytes(81, bytes), rc::kNotInLocationTable);
    // The model-ID mark is the modem's, cleared through the set.
    m.modem.modelIdMissing = true;
    EXPECT_FALSE(m.set->IsModelIdValid());
    m.set->ClearModelIdMissing();
    EXPECT_FALSE(m.modem.modelIdMissing);
    // Clearing the channel table empties every channel and no byte after it.
    m.Poke({{0x1A0, 4}, {0x18E, 2}, {0x16B, 'Q'}});
    for (int address = 0x10B; address < 0x16B; ++address) m.Poke({{address, 0x5A}});
    EXPECT_EQ(m.set->ClearChannelTable(), 0);
    for (int address = 0x10B; address < 0x16B; ++address)
        EXPECT_EQ(m.Byte(address), 0) << std::hex << address;
    EXPECT_EQ(m.Byte(0x18E), 0xFF);
    EXPECT_EQ(m.Byte(0x16B), 'Q');

    // Without an image nothing is editable or readable.
    std::string location;
    int status = -1;
    ModemParameterSet set(location, status, nullptr);
    EXPECT_FALSE(set.IsEditable(kOwner));
    uint8_t byte = 0;
    EXPECT_EQ(set.ReadBytes(0x100, 1, &byte), rc::kNoImage);
    EXPECT_EQ(set.WriteParameterBytes(kOwner, &byte), rc::kBadModemTypeForLayout);
}

}  // namespace
