// Locations by layout, availability and editability rules, the serial-number form check, and
// the set's raw-byte and channel-table operations.
#include <gtest/gtest.h>

#include "modem_under_test.h"
#include "params/identity_parameters.h"
#include "params/location_table.h"
#include "params/parameter_ids.h"
#include "params/parameter_text.h"
#include "util/result_codes.h"

namespace {

using vxl::test::ModemUnderTest;
using vxl::test::Type4ModelByte;
namespace pid = vxl::pid;
namespace rc = vxl::rc;

TEST(ParameterLocations, ThreeLayouts) {
    struct Case {
        int id;
        int type;
        bool found;
        int address;
        int length;
        int kind;
    } cases[] = {
        {pid::kBaudRate, 1, true, 0x18B, 1, 6},
        {pid::kBaudRate, 3, true, 0x18B, 1, 1},
        {pid::kCallSign, 1, false, 0, 0, 0},
        {pid::kCallSign, 2, true, 0x1B7, 8, 4},
        {pid::kCallSign, 4, true, 0x1B7, 10, 4},
        {pid::kDACCompVoltageCount, 1, true, 0x1A8, 7, 0},
        {pid::kDACCompVoltageCount, 2, true, 0x1A8, 15, 0},
        {pid::kPower, 2, true, 0x10A, 1, 6},
        {pid::kPower, 4, true, 0x100, 1, 6},
        {pid::kModemEnable, 2, false, 0, 0, 0},
        {pid::kModemEnable, 4, true, 0x8005, 1, 5},
        {pid::kDataSecurityCode, 4, true, 0x8006, 4, 1},
        {pid::kSystemClock, 4, true, 0x8001, 4, 1},
        {pid::kFirmwareRevision, 1, true, 0xE002, 2, 6},
        {pid::kModemID, 4, true, 0x8405, 2, 6},
        {81, 4, false, 0, 0, 0},
        {87, 4, true, 0x1F5, 1, 1},
        {87, 1, false, 0, 0, 0},
        {69, 3, true, 0x1BF, 1, 0},
        {pid::RxChannelId(0), 4, true, 0x10B, 3, 3},
        {pid::TxChannelId(15), 1, true, 0x168, 3, 3},
        {pid::kEOTTimeout, 2, true, 0x193, 1, 2},
        {pid::kOwner, 0, false, 0, 0, 0},
        {pid::kOwner, 5, false, 0, 0, 0},
        {88, 4, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        int address = 0;
        int length = 0;
        int kind = 0;
        ASSERT_EQ(vxl::LookupLocation(c.id, c.type, address, length, kind), c.found)
            << c.id << "/" << c.type;
        if (!c.found) continue;
        EXPECT_EQ(address, c.address) << c.id << "/" << c.type;
        EXPECT_EQ(length, c.length) << c.id << "/" << c.type;
        EXPECT_EQ(kind, c.kind) << c.id << "/" << c.type;
    }
    vxl::LocationRow row{};
    EXPECT_EQ(vxl::FindLocationRow(pid::kModemEnable, 2, row), rc::kNotInLocationTable);
    EXPECT_EQ(vxl::FindLocationRow(pid::kCallSign, 1, row), rc::kOk);
    EXPECT_EQ(row.length, 0);
    EXPECT_EQ(vxl::FindLocationRow(pid::kOwner, 0, row), rc::kBadModemTypeForLayout);
}

TEST(ParameterRules, AvailabilityAndEditability) {
    struct Case {
        const char* name;
        int type;
        double revision;
        vxl::test::Bytes bytes;
        int id;
        bool available;
        bool editable;
    } cases[] = {
        {"TX on a transmitter",
         4,
         2.2,
         {{0x10A, Type4ModelByte(5, 0)}},
         pid::TxChannelId(3),
         true,
         true},
        {"TX on a rover",
         4,
         2.2,
         {{0x10A, Type4ModelByte(1, 0)}},
         pid::TxChannelId(3),
         false,
         true},
        {"TX on a QMX", 2, 3.5, {}, pid::TxChannelId(3), true, true},
        {"TX on a receive-only QMX", 3, 1.0, {}, pid::TxChannelId(3), false, true},
        {"local address, packet", 4, 2.2, {{0x190, 2}}, pid::kLocalAddress, true, true},
        {"local address, fast async", 4, 2.2, {{0x190, 4}}, pid::kLocalAddress, true, false},
        {"FEC, fast async", 4, 2.2, {{0x190, 4}}, pid::kForwardErrorCorrection, true, false},
        {"repeater, digipeater",
         4,
         2.2,
         {{0x10A, Type4ModelByte(0, 0)}, {0x190, 3}},
         pid::kRepeater,
         true,
         false},
        {"modulation, TrimTalk", 4, 2.2, {{0x190, 6}}, pid::kModulationType, true, false},
        {"modulation, transparent", 4, 2.2, {{0x190, 0}}, pid::kModulationType, true, true},
        {"modulation on a QMX", 2, 3.5, {}, pid::kModulationType, false, false},
        {"power on a rover", 4, 2.2, {{0x10A, Type4ModelByte(1, 0)}}, pid::kPower, true, false},
        {"power control on the VXL",
         4,
         2.2,
         {{0x10A, Type4ModelByte(5, 0)}},
         pid::kPowerControl,
         true,
         true},
        {"rover auto-off on a rover",
         4,
         1.04,
         {{0x10A, Type4ModelByte(1, 0)}},
         pid::kRoverAutoOff,
         true,
         true},
        {"rover auto-off on the VXL",
         4,
         2.2,
         {{0x10A, Type4ModelByte(5, 0)}},
         pid::kRoverAutoOff,
         false,
         false},
        {"modem enable from 1.04", 4, 1.04, {}, pid::kModemEnable, true, false},
        {"modem enable before 1.04", 4, 1.03, {}, pid::kModemEnable, false, false},
        {"call sign on type 2", 2, 3.5, {}, pid::kCallSign, true, true},
        {"call sign on type 1", 1, 3.0, {}, pid::kCallSign, false, true},
        {"channel select", 4, 2.2, {}, pid::kChannelSelectType, false, true},
        {"current channel", 4, 2.2, {}, pid::kCurrentChannel, true, true},
        {"serial number", 4, 2.2, {}, pid::kSerialNumber, true, true},
        {"RSSI level", 4, 2.2, {}, pid::kLowRSSICDLevel, true, false},
        {"firmware revision", 4, 2.2, {}, pid::kFirmwareRevision, false, false},
        {"bit polarity", 4, 2.2, {}, pid::kBitPolarity, false, false},
        {"modem ID on type 3", 3, 1.0, {}, pid::kModemID, false, false},
        {"empty slot", 4, 2.2, {}, 3, false, false},
    };
    for (const auto& c : cases) {
        ModemUnderTest m(c.type, c.revision, c.bytes);
        EXPECT_EQ(m.set->IsAvailable(c.id), c.available) << c.name;
        EXPECT_EQ(m.set->IsEditable(c.id), c.editable) << c.name;
    }
}

TEST(ParameterRules, NothingIsEditableWithoutAModem) {
    std::string location;
    int status = -1;
    ModemParameterSet set(location, status, nullptr);
    EXPECT_FALSE(set.IsEditable(pid::kOwner));
    EXPECT_EQ(set.GetModemType(), 0);
    std::string text;
    EXPECT_EQ(set.GetText(pid::kOwner, text), rc::kBadOffsetOrLength);
    uint8_t byte = 0;
    EXPECT_EQ(set.ReadBytes(0x100, 1, &byte), rc::kNoImage);
    EXPECT_EQ(set.WriteParameterBytes(pid::kOwner, &byte), rc::kBadModemTypeForLayout);
}

TEST(ParameterRules, SerialNumberForm) {
    struct Case {
        const char* text;
        int year;
        bool valid;
    } cases[] = {
        {"04011234", 2004, true},   {"04521234", 2004, true},  {"04531234", 2004, false},
        {"04001234", 2004, false},  {"05011234", 2004, false}, {"05011234", 2005, true},
        {"96011234", 2004, true},   {"99xxxxxx", 2004, false}, {"9901abcd", 2004, true},
        {"95011234", 2004, false},  {"03011234", 1999, true},  {"0401123", 2004, false},
        {"040112345", 2004, false}, {"ab011234", 2004, false}, {"0a011234", 2030, false},
        {"25101234", 2025, true},   {"26101234", 2025, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vxl::IsValidSerialNumberText(c.text, c.year), c.valid)
            << c.text << " in " << c.year;
}

TEST(ParameterSetBytes, RangeChecksAndRawWrites) {
    ModemUnderTest m(4, 2.2, {});
    uint8_t bytes[15] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    EXPECT_EQ(m.set->ReadBytes(-1, 1, bytes), rc::kBadOffsetOrLength);
    EXPECT_EQ(m.set->ReadBytes(0x100, 0, bytes), rc::kBadOffsetOrLength);
    EXPECT_EQ(m.set->WriteBytes(0x100, -2, bytes), rc::kBadOffsetOrLength);
    EXPECT_EQ(m.set->ReadBytes(0x8400, 1, bytes), rc::kBadAddress);
    EXPECT_EQ(m.set->WriteParameterBytes(pid::kDACCompVoltageCount, bytes), 0);
    EXPECT_EQ(m.Byte(0x1A8), 1);
    EXPECT_EQ(m.Byte(0x1B6), 15);
    EXPECT_EQ(m.set->WriteParameterBytes(81, bytes), rc::kNotInLocationTable);
    EXPECT_EQ(m.set->WriteParameterBytes(88, bytes), rc::kBadParameterId);
    EXPECT_EQ(m.set->WriteParameterBytes(pid::kOwner, nullptr), rc::kMissingArgument);
    ModemUnderTest qmx(1, 3.0, {});
    EXPECT_EQ(qmx.set->WriteParameterBytes(pid::kCallSign, bytes), rc::kNotInLocationTable);
}

TEST(ParameterSetBytes, ClearChannelTableEmptiesEveryChannel) {
    ModemUnderTest m(4, 2.2, {{0x10A, Type4ModelByte(1, 0)}, {0x1A0, 4}, {0x18E, 2}});
    for (int address = 0x10B; address < 0x16B; ++address) m.Poke({{address, 0x5A}});
    EXPECT_EQ(m.set->ClearChannelTable(), 0);
    for (int address = 0x10B; address < 0x16B; ++address)
        EXPECT_EQ(m.Byte(address), 0) << std::hex << address;
    EXPECT_EQ(m.Byte(0x18E), 0xFF);
    EXPECT_EQ(m.Byte(0x16B), 0);  // the owner field after the table is untouched
}

TEST(ParameterSetBytes, ModelIdMark) {
    ModemUnderTest m(4, 2.2, {});
    EXPECT_TRUE(m.set->IsModelIdValid());
    m.modem.modelIdMissing = true;
    EXPECT_FALSE(m.set->IsModelIdValid());
    m.set->ClearModelIdMissing();
    EXPECT_FALSE(m.modem.modelIdMissing);
}

}  // namespace

namespace {

TEST(ParameterTexts, DecimalNumbersToleranceAndLimits) {
    struct Case {
        const char* text;
        int code;
        int value;
    } cases[] = {
        {"12", 0, 12},   {"12x", 0, 12},
        {"12xy", 92, 0}, {"x", 92, 0},
        {"", 92, 0},     {"-3", 92, 0},
        {"255", 0, 255}, {"256", 92, 0},
        {" 7", 0, 7},    {"99999999999999999999", 92, 0},
    };
    for (const auto& c : cases) {
        int value = 0;
        EXPECT_EQ(vxl::ParseDecimalInt(c.text, 0, 255, value), c.code) << c.text;
        if (c.code == 0) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    struct RealCase {
        const char* text;
        int code;
        double value;
    } reals[] = {
        {"2.5", 0, 2.5}, {"2.5s", 0, 2.5}, {"1e1", 0, 10.0}, {"0x10", 92, 0},
        {"inf", 92, 0},  {"nan", 92, 0},   {"60.01", 92, 0}, {".", 92, 0},
    };
    for (const auto& c : reals) {
        double value = 0;
        EXPECT_EQ(vxl::ParseDecimalReal(c.text, 0.0, 60.0, value), c.code) << c.text;
        if (c.code == 0) {
            EXPECT_DOUBLE_EQ(value, c.value) << c.text;
        }
    }
    bool flag = false;
    EXPECT_EQ(vxl::ParseYesNo("YES", flag), 0);
    EXPECT_TRUE(flag);
    EXPECT_EQ(vxl::ParseYesNo("No", flag), 0);
    EXPECT_FALSE(flag);
    EXPECT_EQ(vxl::ParseYesNo("y", flag), 92);
}

}  // namespace
