// Reading and writing parameters through the set, with the worked examples of the catalogue.
#include <gtest/gtest.h>

#include "modem_under_test.h"
#include "params/model_tables.h"
#include "params/parameter_ids.h"
#include "util/result_codes.h"

namespace {

using vxl::test::Bytes;
using vxl::test::ModemUnderTest;
using vxl::test::Type4ModelByte;
namespace pid = vxl::pid;
namespace rc = vxl::rc;

constexpr uint8_t kHpBase = Type4ModelByte(0, 1);  // a transmitting type-4 model
constexpr uint8_t kRxo = Type4ModelByte(2, 3);
constexpr uint8_t kVxl = Type4ModelByte(5, 0);

struct ReadCase {
    const char* name;
    int type;
    double revision;
    Bytes bytes;
    int id;
    const char* text;
    int code;
};

TEST(ParameterValues, TextsOfStoredBytes) {
    // clang-format off
    const ReadCase cases[] = {
        {"model byte A3: model", 4, 2.2, {{0x10A, 0xA3}}, pid::kModel, "KTR RXO", 0},
        {"model byte A3: band", 4, 2.2, {{0x10A, 0xA3}}, pid::kFrequency, "470-490", 0},
        {"band beyond the model's room", 4, 2.2, {{0x10A, 0x83}}, pid::kFrequency, "", 0},
        {"missing model ID", 4, 2.2, {{0x10A, 0x00}}, pid::kModel, "Unknown", 0},
        {"EOT timeout, TrimTalk", 4, 2.2, {{0x10A, kHpBase}, {0x190, 6}, {0x193, 200}},
         pid::kEOTTimeout, "0.200", 0},
        {"EOT timeout, Packet Switched", 4, 2.2, {{0x10A, kHpBase}, {0x190, 2}, {0x193, 200}},
         pid::kEOTTimeout, "2.00", 0},
        {"EOT timeout, receive only", 4, 2.2, {{0x10A, kRxo}}, pid::kEOTTimeout, "<unset>", 72},
        {"TxAckTimeout zero", 4, 2.2, {{0x10A, kHpBase}}, pid::kTxAckTimeout, "0.1", 0},
        {"DigipeaterDelay 012C", 4, 2.2, {{0x10A, kHpBase}, {0x1A1, 0x01}, {0x1A2, 0x2C}},
         pid::kDigipeaterDelay, "3.00", 0},
        {"EOT character CR", 4, 2.2, {{0x10A, kHpBase}, {0x193, 13}}, pid::kEOTCharacter, "CR", 0},
        {"EOT character SP", 4, 2.2, {{0x10A, kHpBase}, {0x193, 32}}, pid::kEOTCharacter, "SP", 0},
        {"EOT character C8", 4, 2.2, {{0x10A, kHpBase}, {0x193, 200}}, pid::kEOTCharacter, "0xC8",
         0},
        {"EOT character DEL", 4, 2.2, {{0x10A, kHpBase}, {0x193, 127}}, pid::kEOTCharacter, "DEL",
         0},
        {"EOT character A", 4, 2.2, {{0x10A, kHpBase}, {0x193, 65}}, pid::kEOTCharacter, "A", 0},
        {"EOT count", 4, 2.2, {{0x10A, kHpBase}, {0x193, 7}}, pid::kEOTCount, "007", 0},
        {"CSMA bit of 55", 4, 2.2, {{0x10A, kHpBase}, {0x1A3, 0x55}}, pid::kCSMAMonitor, "yes", 0},
        {"CSMA bit of 45", 4, 2.2, {{0x10A, kHpBase}, {0x1A3, 0x45}}, pid::kCSMAMonitor, "no", 0},
        {"serial number", 4, 2.2, {{0x108, 0x30}, {0x109, 0x39}}, pid::kSerialNumber, "00012345",
         0},
        {"owner", 4, 2.2, {{0x16B, 'A'}, {0x16C, 'B'}, {0x16E, 'C'}}, pid::kOwner, "AB", 0},
        {"RSSI level", 4, 2.2, {{0x19B, 0x0A}}, pid::kMediumRSSIHystLevel, "0x0a", 0},
        {"synthesizer type", 4, 2.2, {{0x1A0, 4}}, pid::kSynthesizerType, "004", 0},
        {"system clock", 4, 2.2, {{0x8001, 0x12}, {0x8004, 0x78}}, pid::kSystemClock, "0x12000078",
         0},
        {"board ID and crystal", 4, 2.2, {{0x10A, kHpBase}, {0x18D, 0x42}}, pid::kModemID, "988-2",
         0},
        {"board ID of the VXL", 4, 2.2, {{0x10A, kVxl}}, pid::kModemID, "1038-0", 0},
        {"board ID without a crystal", 2, 3.5, {{0x10A, 24}}, pid::kModemID, "000-7", 0},
        {"board ID on a receive-only QMX", 3, 1.0, {{0x10A, 90}}, pid::kModemID, "", 72},
        {"firmware revision", 4, 2.2, {}, pid::kFirmwareRevision, "2.20", 0},
        {"power code 2", 4, 2.2, {{0x10A, kHpBase}, {0x100, 0x12}}, pid::kPower, "35", 0},
        {"power code 5", 4, 2.2, {{0x10A, kHpBase}, {0x100, 0x05}}, pid::kPower, "Unknown", 113},
        {"power, model ID missing", 4, 2.2, {{0x100, 0x02}}, pid::kPower, "Unknown", 0},
        {"bandwidth", 4, 2.2, {{0x100, 0x12}}, pid::kChannelBandwidth, "12.5", 0},
        {"crystal", 4, 2.2, {{0x18D, 0x44}}, pid::kCrystal, "Brown", 0},
        {"rover auto-off bit", 4, 1.04, {{0x10A, Type4ModelByte(1, 0)}, {0x18D, 0x44}},
         pid::kRoverAutoOff, "yes", 0},
        {"rover auto-off before 1.04", 4, 1.03, {{0x10A, Type4ModelByte(1, 0)}},
         pid::kRoverAutoOff, "<unset>", 72},
        {"protocol bits", 4, 2.2, {{0x190, 0x85}}, pid::kProtocolMode, "TrimMark II/IIe", 0},
        {"break bit", 4, 2.2, {{0x190, 0x85}}, pid::kBREAKtoCommand, "yes", 0},
        {"baud rate 5 on type 4", 4, 2.2, {{0x18B, 5}}, pid::kBaudRate, "1200", 0},
        {"baud rate 5 on type 2", 2, 3.5, {{0x18B, 5}}, pid::kBaudRate, "600", 0},
        {"baud rate beyond the list", 2, 3.5, {{0x18B, 9}}, pid::kBaudRate, "", 0},
        {"link rate 4800N", 2, 3.5, {{0x18F, 1}}, pid::kLinkRate, "4800N", 0},
        {"QMX model row 24", 2, 3.5, {{0x10A, 24}}, pid::kModel, "QMX44A 430-450MHz 35W", 0},
        {"QMX model row 0", 2, 3.5, {{0x10A, 0}}, pid::kModel, "", 0},
        {"QMX band of row 24", 2, 3.5, {{0x10A, 24}}, pid::kFrequency, "430-450", 0},
        {"QMX band of row 97", 2, 3.5, {{0x10A, 97}}, pid::kFrequency, "<unset>", 96},
        {"QMX power of row 24", 2, 3.5, {{0x10A, 24}}, pid::kPower, "35", 0},
        {"QMX bandwidth byte", 2, 3.5, {{0x18F, 2}}, pid::kChannelBandwidth, "12.5", 0},
        {"call sign", 4, 2.2, {{0x10A, kHpBase}, {0x1B7, 0x0D}, {0x1B8, 0x0C}, {0x1B9, 0x38},
         {0x1BA, 0x19}, {0x1BB, 0x1B}, {0x1BC, 0x1C}}, pid::kCallSign, "KD7XYZ", 0},
        {"call sign on a receive-only QMX", 3, 1.0, {}, pid::kCallSign, "<unset>", 72},
        {"call sign absent from type 1", 1, 3.0, {}, pid::kCallSign, "<unset>", 72},
        {"modem enable", 4, 2.2, {{0x8005, 0x80}}, pid::kModemEnable, "yes", 0},
        {"modem enable before 1.04", 4, 1.03, {{0x8005, 0x80}}, pid::kModemEnable, "<unset>", 72},
        {"data security code", 4, 2.2, {{0x8006, 0xFF}, {0x8007, 0xFF}, {0x8008, 0xFF}, {0x8009,
         0xFF}}, pid::kDataSecurityCode, "-00000001", 0},
        {"RX frequency", 4, 2.2, {{0x1A0, 4}, {0x10B, 0x02}, {0x10C, 0x7C}, {0x10D, 0x68}},
         pid::RxChannelId(0), "455.0000", 0},
        {"empty channel", 4, 2.2, {{0x1A0, 4}}, pid::RxChannelId(3), "", 0},
        {"TX of a receive-only model", 4, 2.2, {{0x10A, kRxo}}, pid::TxChannelId(0), "<unset>", 72},
        {"empty slot", 4, 2.2, {}, 39, "<unset>", 105},
        {"id out of range", 4, 2.2, {}, 88, "<unset>", 105},
    };
    // clang-format on
    for (const ReadCase& c : cases) {
        ModemUnderTest m(c.type, c.revision, c.bytes);
        if (m.Byte(0x10A) == 0 && c.type == 4) m.modem.modelIdMissing = true;
        std::string text = "<unset>";
        EXPECT_EQ(m.set->GetText(c.id, text), c.code) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
    }
}

struct WriteCase {
    const char* name;
    int type;
    Bytes bytes;
    int id;
    enum { kInt, kBool, kReal, kText } how;
    double value;
    const char* text;
    int code;
    Bytes expected;
};

TEST(ParameterValues, WritesChangeOnlyTheirBytes) {
    // clang-format off
    const WriteCase cases[] = {
        {"power 1 at 12.5 kHz", 4, {{0x100, 0x10}}, pid::kPower, WriteCase::kInt, 1, "", 0,
         {{0x100, 0x11}}},
        {"power above 3", 4, {{0x100, 0x10}}, pid::kPower, WriteCase::kInt, 4, "", 113, {{0x100,
         0x10}}},
        {"power on a QMX", 2, {}, pid::kPower, WriteCase::kInt, 1, "", 71, {}},
        {"repeater bit", 4, {{0x10A, kHpBase}, {0x1A3, 0x15}}, pid::kRepeater, WriteCase::kBool, 1,
         "", 0, {{0x1A3, 0x55}}},
        {"CSMA off", 4, {{0x10A, kHpBase}, {0x1A3, 0x55}}, pid::kCSMAMonitor, WriteCase::kBool, 0,
         "", 0, {{0x1A3, 0x45}}},
        {"scrambling under TrimMark", 4, {{0x190, 5}}, pid::kScrambling, WriteCase::kBool, 1, "",
         0, {{0x192, 2}}},
        {"scrambling under Packet Switched", 4, {{0x190, 2}}, pid::kScrambling, WriteCase::kBool,
         1, "", 0, {{0x192, 1}}},
        {"scrambling off", 4, {{0x190, 5}, {0x192, 2}}, pid::kScrambling, WriteCase::kBool, 0, "",
         0, {{0x192, 0}}},
        {"FEC on", 4, {}, pid::kForwardErrorCorrection, WriteCase::kBool, 1, "", 0, {{0x191, 1}}},
        {"break keeps the protocol", 4, {{0x190, 0x02}}, pid::kBREAKtoCommand, WriteCase::kBool, 1,
         "", 0, {{0x190, 0x82}}},
        {"protocol keeps the break", 4, {{0x190, 0x80}}, pid::kProtocolMode, WriteCase::kInt, 6,
         "", 0, {{0x190, 0x86}}},
        {"protocol 6 on a QMX", 2, {{0x190, 0x80}}, pid::kProtocolMode, WriteCase::kInt, 6, "", 92,
         {{0x190, 0x80}}},
        {"model keeps the band", 4, {{0x10A, 0x83}}, pid::kModel, WriteCase::kInt, 5, "", 0,
         {{0x10A, 0xD3}}},
        {"model without a name", 4, {{0x10A, 0x83}}, pid::kModel, WriteCase::kInt, 6, "", 92,
         {{0x10A, 0x83}}},
        {"QMX model row", 2, {{0x10A, 16}}, pid::kModel, WriteCase::kInt, 24, "", 0, {{0x10A, 24}}},
        {"band keeps the model", 4, {{0x10A, kVxl}}, pid::kFrequency, WriteCase::kInt, 9, "", 0,
         {{0x10A, 0xD9}}},
        {"band not offered", 4, {{0x10A, kVxl}}, pid::kFrequency, WriteCase::kInt, 3, "", 92,
         {{0x10A, kVxl}}},
        {"band on a QMX", 2, {{0x10A, 24}}, pid::kFrequency, WriteCase::kInt, 1, "", 71, {{0x10A,
         24}}},
        {"bandwidth keeps the power", 4, {{0x100, 0x02}}, pid::kChannelBandwidth, WriteCase::kInt,
         1, "", 0, {{0x100, 0x12}}},
        {"bandwidth on a QMX", 2, {}, pid::kChannelBandwidth, WriteCase::kInt, 1, "", 71, {}},
        {"TxAckTimeout 0.3", 4, {{0x10A, kHpBase}}, pid::kTxAckTimeout, WriteCase::kReal, 0.3, "",
         0, {{0x19E, 0}, {0x19F, 2}}},
        {"TxAckTimeout top", 4, {{0x10A, kHpBase}}, pid::kTxAckTimeout, WriteCase::kReal, 6553.6,
         "", 0, {{0x19E, 0xFF}, {0x19F, 0xFF}}},
        {"TxAckTimeout below range", 4, {{0x10A, kHpBase}}, pid::kTxAckTimeout, WriteCase::kReal,
         0.0, "", 92, {{0x19E, 0}, {0x19F, 0}}},
        {"digipeater delay 4.35", 4, {{0x10A, kHpBase}}, pid::kDigipeaterDelay, WriteCase::kReal,
         4.35, "", 0, {{0x1A1, 0x01}, {0x1A2, 0xB3}}},
        {"digipeater delay 3.00", 4, {{0x10A, kHpBase}}, pid::kDigipeaterDelay, WriteCase::kReal,
         3.0, "", 0, {{0x1A1, 0x01}, {0x1A2, 0x2C}}},
        {"EOT timeout in ms", 4, {{0x10A, kHpBase}, {0x190, 6}}, pid::kEOTTimeout,
         WriteCase::kReal, 0.2, "", 0, {{0x193, 200}}},
        {"EOT timeout too long for TrimTalk", 4, {{0x10A, kHpBase}, {0x190, 6}}, pid::kEOTTimeout,
         WriteCase::kReal, 0.3, "", 92, {{0x193, 0}}},
        {"local address 256", 4, {}, pid::kLocalAddress, WriteCase::kInt, 256, "", 92, {{0x194,
         0}}},
        {"current channel none", 4, {}, pid::kCurrentChannel, WriteCase::kInt, -1, "", 0, {{0x18E,
         0xFF}}},
        {"current channel 16", 4, {}, pid::kCurrentChannel, WriteCase::kInt, 16, "", 92, {{0x18E,
         0}}},
        {"owner trimmed", 4, {{0x16C, 'x'}}, pid::kOwner, WriteCase::kText, 0, "  Ab C ", 0,
         {{0x16B, 'A'}, {0x16C, 'b'}, {0x16D, ' '}, {0x16E, 'C'}, {0x16F, 0}}},
        {"owner cut to 32", 4, {}, pid::kOwner, WriteCase::kText, 0,
         "0123456789012345678901234567890123456789", 0, {{0x18A, '1'}, {0x18B, 0}}},
        {"call sign", 4, {{0x10A, kHpBase}}, pid::kCallSign, WriteCase::kText, 0, "KD7XYZ", 0,
         {{0x1B7, 0x0D}, {0x1BC, 0x1C}, {0x1BD, 0}, {0x1C0, 0}}},
        {"call sign cut to 8", 2, {{0x1BF, 0x44}}, pid::kCallSign, WriteCase::kText, 0,
         "ABCDEFGHIJK", 0, {{0x1BE, 0x10}, {0x1BF, 0x44}}},
        {"serial number text", 4, {}, pid::kSerialNumber, WriteCase::kText, 0, "12345678", 0,
         {{0x106, 0x00}, {0x107, 0xBC}, {0x108, 0x61}, {0x109, 0x4E}}},
        {"serial number not a number", 4, {}, pid::kSerialNumber, WriteCase::kText, 0, "12ab5678",
         92, {{0x106, 0}, {0x107, 0}}},
        {"RX 455 MHz, synthesizer 4", 4, {{0x1A0, 4}}, pid::RxChannelId(0), WriteCase::kReal,
         455.0, "", 0, {{0x10B, 0x02}, {0x10C, 0x7C}, {0x10D, 0x68}}},
        {"zero on the current channel", 4, {{0x1A0, 4}, {0x18E, 2}, {0x11D, 9}},
         pid::RxChannelId(2), WriteCase::kReal, 0.0, "", 97, {{0x11D, 9}}},
        {"zero elsewhere", 4, {{0x1A0, 4}, {0x18E, 2}, {0x11D, 9}}, pid::RxChannelId(3),
         WriteCase::kReal, 0.0, "", 0, {{0x11D, 0}}},
        {"no synthesizer word", 4, {{0x1A0, 3}}, pid::RxChannelId(0), WriteCase::kReal, 455.0, "",
         92, {{0x10B, 0}}},
        {"19200 with GMSK at 12.5 kHz", 4, {{0x100, 0x10}, {0x1A6, 0}}, pid::kLinkRate,
         WriteCase::kInt, 4, "", 92, {{0x18F, 0}}},
        {"4800 with GMSK at 12.5 kHz", 4, {{0x100, 0x10}, {0x1A6, 0}}, pid::kLinkRate,
         WriteCase::kInt, 2, "", 0, {{0x18F, 2}}},
        {"crystal on a QMX", 2, {}, pid::kCrystal, WriteCase::kInt, 1, "", 62, {}},
        {"empty slot", 4, {}, 81, WriteCase::kInt, 1, "", 59, {}},
    };
    // clang-format on
    for (const WriteCase& c : cases) {
        ModemUnderTest m(c.type, 2.2, c.bytes);
        int code = -1;
        switch (c.how) {
            case WriteCase::kInt:
                code = m.set->SetInt(c.id, static_cast<int>(c.value));
                break;
            case WriteCase::kBool:
                code = m.set->SetBool(c.id, c.value != 0);
                break;
            case WriteCase::kReal:
                code = m.set->SetReal(c.id, c.value);
                break;
            case WriteCase::kText:
                code = m.set->SetText(c.id, c.text);
                break;
        }
        EXPECT_EQ(code, c.code) << c.name;
        for (const auto& [address, value] : c.expected)
            EXPECT_EQ(m.Byte(address), value) << c.name << " at " << std::hex << address;
    }
}

TEST(ParameterValues, RoundTripsThroughTheTextForms) {
    ModemUnderTest m(4, 2.2, {{0x10A, kHpBase}, {0x1A0, 4}});
    ASSERT_EQ(m.set->SetText(pid::kCallSign, " ab1 "), 0);
    EXPECT_EQ(m.Text(pid::kCallSign),
              "\x07\x07"
              "1");
    ASSERT_EQ(m.set->SetText(pid::kCallSign, "A B"), 0);
    EXPECT_EQ(m.Text(pid::kCallSign), "AB");
    ASSERT_EQ(m.set->SetReal(pid::TxChannelId(5), 451.1250), 0);
    EXPECT_EQ(m.Text(pid::TxChannelId(5)), "451.1250");
    ASSERT_EQ(m.set->SetReal(pid::kTxAckTimeout, 12.7), 0);
    EXPECT_EQ(m.Text(pid::kTxAckTimeout), "12.7");
    int length = 0;
    EXPECT_EQ(m.set->GetMaxLength(pid::kCallSign, length), 0);
    EXPECT_EQ(length, 10);
    EXPECT_EQ(m.set->GetMaxLength(pid::kOwner, length), 0);
    EXPECT_EQ(length, 32);
}

TEST(ParameterValues, CrystalModelAndBandwidthRewriteTheDacCompensation) {
    ModemUnderTest m(4, 2.2, {{0x10A, kHpBase}, {0x18D, 0x40}, {0x100, 0x02}});
    ASSERT_EQ(m.set->SetInt(pid::kCrystal, 0), 0);
    const uint8_t* r0 = vxl::DacCompensationRow(0, 0, 0);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(m.Byte(0x1A8 + i), r0[i]) << i;
    ASSERT_EQ(m.set->SetInt(pid::kCrystal, 4), 0);
    const uint8_t r3[15] = {0xD2, 0xAF, 0x91, 0x7D, 0x75, 0x73, 0x76, 0x7C,
                            0x80, 0x84, 0x86, 0x82, 0x75, 0x5B, 0x3E};
    for (int i = 0; i < 15; ++i) EXPECT_EQ(m.Byte(0x1A8 + i), r3[i]) << i;
    EXPECT_EQ(m.Byte(0x18D), 0x44);  // the rover bit stays

    // Models 3 and 5 differ by bandwidth at crystal 0 (rows R9 and R10).
    m.modem.modelIdMissing = true;
    ASSERT_EQ(m.set->SetInt(pid::kCrystal, 0), 0);
    ASSERT_EQ(m.set->SetInt(pid::kModel, 5), 0);
    EXPECT_FALSE(m.modem.modelIdMissing);
    EXPECT_EQ(m.Byte(0x1A8), 0xAA);
    ASSERT_EQ(m.set->SetInt(pid::kChannelBandwidth, 1), 0);
    EXPECT_EQ(m.Byte(0x1A8), 0x8B);
}

TEST(ParameterValues, ChoicesOfferOnlyWhatTheModemHas) {
    struct Case {
        const char* name;
        int type;
        Bytes bytes;
        int id;
        std::vector<std::string> texts;
        std::vector<int> values;
    } cases[] = {
        {"protocols of a receive-only QMX",
         3,
         {},
         pid::kProtocolMode,
         {"Transparent w/EOT Timeout", "Transparent w/EOT Character", "Packet Switched",
          "Fast Async"},
         {0, 1, 2, 4}},
        {"baud rates of a QMX",
         1,
         {},
         pid::kBaudRate,
         {"19200", "9600", "4800", "2400", "1200", "600", "300", "38400"},
         {0, 1, 2, 3, 4, 5, 6, 8}},
        {"link rates, 4-Level-FSK at 25 kHz",
         4,
         {{0x1A6, 1}},
         pid::kLinkRate,
         {"4800", "9600", "19200"},
         {2, 3, 4}},
        {"link rates, 4-Level-FSK at 12.5 kHz",
         4,
         {{0x1A6, 1}, {0x100, 0x10}},
         pid::kLinkRate,
         {"9600"},
         {3}},
        {"link rates of a QMX", 2, {}, pid::kLinkRate, {"4800N", "4800", "9600"}, {1, 2, 3}},
        {"bands of the KTR RXO",
         4,
         {{0x10A, kRxo}},
         pid::kFrequency,
         {"410-430 MHz", "430-450 MHz", "450-470 MHz", "223-235 MHz"},
         {0, 1, 2, 10}},
        {"powers of the LP base",
         4,
         {{0x10A, Type4ModelByte(3, 0)}},
         pid::kPower,
         {"2 Watts", "0.5 Watts"},
         {1, 3}},
        {"crystals",
         4,
         {},
         pid::kCrystal,
         {"Red", "Orange", "Yellow", "Brown", "Black", "White", "flat"},
         {0, 1, 2, 4, 5, 6, 7}},
        {"channels with frequencies",
         4,
         {{0x10A, kRxo}, {0x1A0, 4}, {0x11D, 0x02}, {0x11E, 0x7C}, {0x11F, 0x68}},
         pid::kCurrentChannel,
         {"    03                                            455.0000"},
         {3}},
    };
    for (const auto& c : cases) {
        ModemUnderTest m(c.type, 2.2, c.bytes);
        std::vector<std::string> texts;
        std::vector<int> values;
        EXPECT_EQ(m.set->GetChoices(c.id, texts, values), 0) << c.name;
        EXPECT_EQ(texts, c.texts) << c.name;
        EXPECT_EQ(values, c.values) << c.name;
    }
}

TEST(ParameterValues, ChoiceCounts) {
    struct Case {
        Bytes bytes;
        int id;
        int type;
        int count;
        int code;
    } cases[] = {
        {{}, pid::kBaudRate, 4, 9, 0},
        {{}, pid::kProtocolMode, 4, 7, 0},
        {{}, pid::kProtocolMode, 2, 5, 0},
        {{}, pid::kLinkRate, 4, 5, 0},
        {{{0x100, 0x10}}, pid::kLinkRate, 4, 4, 0},
        {{{0x10A, kRxo}}, pid::kFrequency, 4, 11, 0},
        {{{0x10A, kVxl}}, pid::kFrequency, 4, 10, 0},
        {{}, pid::kModel, 2, 97, 0},
        {{}, pid::kModel, 4, 6, 0},
        {{}, pid::kEOTCharacter, 4, 256, 0},
        {{}, pid::kLocalAddress, 4, 256, 0},
        {{}, pid::kModel, 6, -1, 114},
        {{}, pid::kOwner, 4, -1, 61},
        {{}, 0, 4, -1, 59},
    };
    for (const auto& c : cases) {
        ModemUnderTest m(4, 2.2, c.bytes);
        int count = -1;
        EXPECT_EQ(m.set->GetChoiceCount(c.id, c.type, count), c.code) << c.id << "/" << c.type;
        EXPECT_EQ(count, c.count) << c.id << "/" << c.type;
    }
}

TEST(ParameterValues, CurrentChannelRowShowsTransmitThenReceive) {
    ModemUnderTest m(4, 2.2, {{0x10A, kHpBase}, {0x1A0, 4}});
    ASSERT_EQ(m.set->SetReal(pid::RxChannelId(1), 455.0), 0);
    ASSERT_EQ(m.set->SetReal(pid::TxChannelId(1), 460.0), 0);
    ASSERT_EQ(m.set->SetInt(pid::kCurrentChannel, 1), 0);
    EXPECT_EQ(m.Text(pid::kCurrentChannel), "    01                 460.0000           455.0000");
    ASSERT_EQ(m.set->SetInt(pid::kCurrentChannel, 4), 0);
    EXPECT_EQ(m.Text(pid::kCurrentChannel), "");
}

TEST(ParameterValues, ChannelLimitsComeFromTheBand) {
    ModemUnderTest m(4, 2.2, {{0x10A, Type4ModelByte(5, 2)}, {0x1A0, 4}});
    double low = 0;
    double high = 0;
    int decimals = 0;
    ASSERT_EQ(m.set->GetRealRange(pid::RxChannelId(7), low, high, decimals), 0);
    EXPECT_EQ(low, 450.0);
    EXPECT_EQ(high, 470.0);
    EXPECT_EQ(decimals, 4);
    ModemParameter* channel = m.set->Get(pid::RxChannelId(7));
    double value = 0;
    EXPECT_EQ(channel->ParseReal("470.0000", value), 0);
    EXPECT_EQ(channel->ParseReal("470.0001", value), 92);
    EXPECT_EQ(channel->ParseReal("x", value), 92);
    EXPECT_EQ(channel->GetName(), "RXChannel_7");
    EXPECT_EQ(m.set->Get(pid::TxChannelId(7))->GetName(), "RXChannel_7");
}

}  // namespace
