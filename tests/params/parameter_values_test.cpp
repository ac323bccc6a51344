// Reading and writing parameters through the set, with the worked examples of the catalogue.
#include <gtest/gtest.h>

#include <tuple>

#include "modem_under_test.h"
#include "params/model_tables.h"
#include "params/parameter_ids.h"

namespace {

using vxl::test::Bytes;
using vxl::test::ModemUnderTest;
using vxl::test::Type4ModelByte;
using namespace vxl::pid;

constexpr uint8_t kTx = Type4ModelByte(0, 1);  // a transmitting type-4 model (HP base)
constexpr uint8_t kRxo = Type4ModelByte(2, 3);
constexpr uint8_t kLpBase = Type4ModelByte(3, 0);
constexpr uint8_t kRover = Type4ModelByte(1, 0);
constexpr uint8_t kVxl = Type4ModelByte(5, 0);

// A parameter's text as read, with the code when it refuses ("-": the text is left as it was).
struct Reading {
    int id;
    const char* text;
    int code = 0;
};

// Modems of each kind with the bytes they store and what their parameters then read.
TEST(ParameterValues, TextsOfStoredBytes) {
    const vxl::test::ModemCase<Reading> cases[] = {
        // clang-format off
        // What the report and export documents of the known modems do not show.
        {"HP base", 4, 2.2, {{0x10A, kTx}, {0x100, 0x12}, {0x16B, 'A'}, {0x16C, 'B'}, {0x16E, 'C'},
         {0x18D, 0x42}, {0x19B, 0x0A}, {0x1A0, 4}, {0x8001, 0x12}, {0x8004, 0x78}, {0x8006, 0xFF},
         {0x8007, 0xFF}, {0x8008, 0xFF}, {0x8009, 0xFF}},
         {{kOwner, "AB"}, {kMediumRSSIHystLevel, "0x0a"}, {kSynthesizerType, "004"},
          {kSystemClock, "0x12000078"}, {kModemID, "988-2"}, {kPower, "35"}, {kCrystal, "Yellow"},
          {kDataSecurityCode, "-00000001"}, {RxChannelId(3), ""}, {39, "-", 105}, {88, "-", 105}}},
        {"model 7, beyond the tables", 4, 2.2, {{0x10A, 0xF0}},
         {{kModel, ""}, {kFrequency, ""}, {kModemID, "000-0"}}},
        {"owner in Latin-1, with a control byte", 4, 2.2, {{0x16B, 'A'}, {0x16C, 0x01},
         {0x16D, 0xE9}, {0x16E, 0x9B}}, {{kOwner, "A\uFFFD\u00E9\uFFFD"}}},
        {"power code 5", 4, 2.2, {{0x10A, kTx}, {0x100, 0x05}}, {{kPower, "Unknown", 113}}},
        // Protocol mode and the byte that EOT timeout, character and count share.
        {"TrimTalk", 4, 2.2, {{0x10A, kTx}, {0x190, 6}, {0x193, 200}}, {{kEOTTimeout, "0.200"},
         {kEOTCharacter, "0xC8"}}},
        {"packet", 4, 2.2, {{0x10A, kTx}, {0x190, 2}, {0x193, 200}}, {{kEOTTimeout, "2.00"}}},
        {"CR", 4, 2.2, {{0x10A, kTx}, {0x193, 13}}, {{kEOTCharacter, "CR"}, {kEOTCount, "013"}}},
        {"A", 4, 2.2, {{0x10A, kTx}, {0x193, 65}}, {{kEOTCharacter, "A"}, {kEOTCount, "065"}}},
        {"model byte A3", 4, 2.2, {{0x10A, 0xA3}}, {{kModel, "KTR RXO"}, {kFrequency, "470-490"},
         {kEOTTimeout, "-", 72}, {TxChannelId(0), "-", 72}}},
        {"band beyond the model's room", 4, 2.2, {{0x10A, 0x83}}, {{kFrequency, ""}}},
        {"missing model ID", 4, 2.2, {{0x10A, 0}, {0x100, 0x02}}, {{kModel, "Unknown"},
         {kPower, "Unknown"}}},
        {"rover", 4, 1.04, {{0x10A, kRover}, {0x18D, 0x44}}, {{kRoverAutoOff, "yes"}}},
        {"rover before 1.04", 4, 1.03, {{0x10A, kRover}, {0x8005, 0x80}},
         {{kRoverAutoOff, "-", 72}, {kModemEnable, "-", 72}}},
        {"QMX row 24", 2, 3.5, {{0x10A, 24}, {0x18B, 5}, {0x18F, 1}}, {{kModemID, "000-7"},
         {kBaudRate, "600"}, {kLinkRate, "4800N"}, {kModel, "QMX44A 430-450MHz 35W"},
         {kFrequency, "430-450"}, {kPower, "35"}}},
        {"QMX row 0", 2, 3.5, {{0x18B, 9}, {0x18F, 2}}, {{kModel, ""}, {kBaudRate, ""},
         {kChannelBandwidth, "12.5"}}},
        {"QMX row 97", 2, 3.5, {{0x10A, 97}}, {{kFrequency, "-", 96}}},
        {"type 1", 1, 3.0, {}, {{kCallSign, "-", 72}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        ModemUnderTest m(c.type, c.revision, c.bytes);
        if (m.Byte(0x10A) == 0 && c.type == 4) m.modem.modelIdMissing = true;
        for (const Reading& r : c.checks) {
            std::string text = "-";
            EXPECT_EQ(m.set->GetText(r.id, text), r.code) << c.name << ", id " << r.id;
            EXPECT_EQ(text, r.text) << c.name << ", id " << r.id;
        }
    }
}

// Writes through SetInt ('i'), SetBool ('b', "1" or "0"), SetReal ('r') or SetText ('t').
int Set(ModemParameterSet& set, int id, char how, const std::string& value) {
    if (how == 'i') return set.SetInt(id, std::stoi(value));
    if (how == 'b') return set.SetBool(id, value == "1");
    return how == 'r' ? set.SetReal(id, std::stod(value)) : set.SetText(id, value);
}

TEST(ParameterValues, WritesChangeOnlyTheirBytes) {
    struct Case {
        int type;
        Bytes bytes;
        int id;
        char how;
        const char* value;
        int code;
        Bytes expected;
    } cases[] = {
        // clang-format off
        // Parameters that share a byte keep each other's bits; refused writes change nothing.
        {4, {{0x100, 0x10}}, kPower, 'i', "1", 0, {{0x100, 0x11}}},
        {4, {{0x100, 0x10}}, kPower, 'i', "4", 113, {{0x100, 0x10}}},
        {4, {{0x10A, kTx}, {0x1A3, 0x15}}, kRepeater, 'b', "1", 0, {{0x1A3, 0x55}}},
        {4, {{0x10A, kTx}, {0x1A3, 0x55}}, kCSMAMonitor, 'b', "0", 0, {{0x1A3, 0x45}}},
        {4, {{0x190, 5}}, kScrambling, 'b', "1", 0, {{0x192, 2}}},
        {4, {{0x190, 2}}, kScrambling, 'b', "1", 0, {{0x192, 1}}},
        {4, {{0x190, 5}, {0x192, 2}}, kScrambling, 'b', "0", 0, {{0x192, 0}}},
        {4, {{0x190, 0x02}}, kBREAKtoCommand, 'b', "1", 0, {{0x190, 0x82}}},
        {4, {{0x190, 0x80}}, kProtocolMode, 'i', "6", 0, {{0x190, 0x86}}},
        {2, {{0x190, 0x80}}, kProtocolMode, 'i', "6", 92, {{0x190, 0x80}}},
        {4, {{0x10A, 0x83}}, kModel, 'i', "5", 0, {{0x10A, 0xD3}}},
        {4, {{0x10A, kVxl}}, kFrequency, 'i', "9", 0, {{0x10A, 0xD9}}},
        {4, {{0x10A, kVxl}}, kFrequency, 'i', "3", 92, {{0x10A, kVxl}}},
        // Scaled values round to their steps and keep within their limits.
        {4, {{0x10A, kTx}}, kTxAckTimeout, 'r', "0.3", 0, {{0x19E, 0}, {0x19F, 2}}},
        {4, {{0x10A, kTx}}, kTxAckTimeout, 'r', "6553.6", 0, {{0x19E, 0xFF}, {0x19F, 0xFF}}},
        {4, {{0x10A, kTx}}, kTxAckTimeout, 'r', "0", 92, {{0x19E, 0}, {0x19F, 0}}},
        {4, {{0x10A, kTx}}, kDigipeaterDelay, 'r', "4.35", 0, {{0x1A1, 0x01}, {0x1A2, 0xB3}}},
        {4, {{0x10A, kTx}, {0x190, 6}}, kEOTTimeout, 'r', "0.2", 0, {{0x193, 200}}},
        {4, {{0x10A, kTx}, {0x190, 6}}, kEOTTimeout, 'r', "0.3", 92, {{0x193, 0}}},
        {4, {}, kCurrentChannel, 'i', "-1", 0, {{0x18E, 0xFF}}},
        // Texts are trimmed and fill their room (an owner in Latin-1), or are refused whole; a
        // serial number must be a number.
        {4, {{0x16C, 'x'}}, kOwner, 't', "  \u00C4b C ", 0,
         {{0x16B, 0xC4}, {0x16C, 'b'}, {0x16D, ' '}, {0x16E, 'C'}, {0x16F, 0}}},
        {4, {}, kOwner, 't', "01234567890123456789012345678901", 0, {{0x18A, '1'}, {0x18B, 0}}},
        {4, {{0x16B, 'Q'}}, kOwner, 't', "012345678901234567890123456789012", 92, {{0x16B, 'Q'}}},
        {4, {{0x16B, 'Q'}}, kOwner, 't', "a\x01", 92, {{0x16B, 'Q'}, {0x16C, 0}}},
        {4, {{0x10A, kTx}}, kCallSign, 't', "kd7 xyz", 0,
         {{0x1B7, 0x0D}, {0x1BC, 0x1C}, {0x1BD, 0}, {0x1C0, 0}}},
        {2, {{0x1BF, 0x44}}, kCallSign, 't', "ABCDEFGH", 0, {{0x1BE, 0x10}, {0x1BF, 0x44}}},
        {2, {{0x1B7, 0x05}}, kCallSign, 't', "ABCDEFGHI", 92, {{0x1B7, 0x05}, {0x1B8, 0}}},
        {4, {}, kSerialNumber, 't', "12345678", 0,
         {{0x106, 0x00}, {0x107, 0xBC}, {0x108, 0x61}, {0x109, 0x4E}}},
        {4, {}, kSerialNumber, 't', "12ab5678", 92, {{0x106, 0}, {0x107, 0}}},
        // Channels: a word for the synthesizer type; the current channel keeps its frequency.
        {4, {{0x1A0, 4}}, RxChannelId(0), 'r', "455", 0,
         {{0x10B, 0x02}, {0x10C, 0x7C}, {0x10D, 0x68}}},
        {4, {{0x1A0, 4}, {0x18E, 2}, {0x11D, 9}}, RxChannelId(2), 'r', "0", 97, {{0x11D, 9}}},
        {4, {{0x1A0, 4}, {0x18E, 2}, {0x11D, 9}}, RxChannelId(3), 'r', "0", 0, {{0x11D, 0}}},
        {4, {{0x1A0, 3}}, RxChannelId(0), 'r', "455", 92, {{0x10B, 0}}},
        // The link rate only takes a rate the modulation and bandwidth allow.
        {4, {{0x100, 0x10}}, kLinkRate, 'i', "4", 92, {{0x18F, 0}}},
        {4, {{0x100, 0x10}}, kLinkRate, 'i', "2", 0, {{0x18F, 2}}},
        // Parameters the layout has no bytes for, and empty slots.
        {4, {}, 81, 'i', "1", 59, {}},
        // clang-format on
    };
    for (const Case& c : cases) {
        ModemUnderTest m(c.type, 2.2, c.bytes);
        SCOPED_TRACE(testing::Message()
                     << "type " << c.type << ": id " << c.id << " = " << c.value);
        EXPECT_EQ(Set(*m.set, c.id, c.how, c.value), c.code);
        for (const auto& [address, value] : c.expected)
            EXPECT_EQ(m.Byte(address), value) << "at " << std::hex << address;
    }
}

TEST(ParameterValues, RoundTripsThroughTheTextFormsWithinTheBand) {
    ModemUnderTest m(4, 2.2, {{0x10A, Type4ModelByte(5, 2)}, {0x1A0, 4}});  // VXL, 450-470 MHz
    // clang-format off
    const std::tuple<int, char, const char*, const char*> cases[] = {
        {TxChannelId(5), 'r', "451.1250", "451.1250"}, {kTxAckTimeout, 'r', "12.7", "12.7"},
        {RxChannelId(1), 'r', "455", "455.0000"},  {TxChannelId(1), 'r', "460", "460.0000"},
        {kCurrentChannel, 'i', "1", "    01                 460.0000           455.0000"},
        {kCurrentChannel, 'i', "4", ""},  // a channel without frequencies
    };
    // clang-format on
    for (auto [id, how, value, text] : cases) {
        ASSERT_EQ(Set(*m.set, id, how, value), 0) << value;
        EXPECT_EQ(m.Text(id), text);
    }
    int decimals = 0;
    // Channel limits come from the band; receive and transmit channels share one name.
    double low = 0, high = 0, value = 0;
    ASSERT_EQ(m.set->GetRealRange(RxChannelId(7), low, high, decimals), 0);
    EXPECT_EQ(std::make_tuple(low, high, decimals), std::make_tuple(450.0, 470.0, 4));
    ModemParameter* channel = m.set->Get(RxChannelId(7));
    EXPECT_EQ(channel->ParseReal("470.0000", value), 0);
    EXPECT_EQ(channel->ParseReal("470.0001", value), 92);
    EXPECT_EQ(channel->GetName(), "RXChannel_7");
    EXPECT_EQ(m.set->Get(TxChannelId(7))->GetName(), "RXChannel_7");
}

TEST(ParameterValues, CrystalModelAndBandwidthRewriteTheDacCompensation) {
    ModemUnderTest m(4, 2.2, {{0x10A, kTx}, {0x18D, 0x40}, {0x100, 0x02}});
    // Crystal 0 writes row R0, then crystal 4 row R3 (D2 AF ... 5B 3E).
    for (int crystal : {0, 4}) {
        ASSERT_EQ(m.set->SetInt(kCrystal, crystal), 0);
        const uint8_t* row = vxl::DacCompensationRow(crystal, 0, 0);
        EXPECT_EQ(m.Range(0x1A8, 15), std::vector<uint8_t>(row, row + 15)) << crystal;
    }
    EXPECT_EQ(m.Byte(0x1A8) * 256 + m.Byte(0x1B6), 0xD23E);
    EXPECT_EQ(m.Byte(0x18D), 0x44);  // the rover bit stays

    // Models 3 and 5 differ by bandwidth at crystal 0 (rows R9 and R10).
    m.modem.modelIdMissing = true;
    ASSERT_EQ(m.set->SetInt(kCrystal, 0), 0);
    ASSERT_EQ(m.set->SetInt(kModel, 5), 0);
    EXPECT_FALSE(m.modem.modelIdMissing);
    EXPECT_EQ(m.Byte(0x1A8), 0xAA);
    ASSERT_EQ(m.set->SetInt(kChannelBandwidth, 1), 0);
    EXPECT_EQ(m.Byte(0x1A8), 0x8B);
}

// Each choice as "value text", separated by "|".
TEST(ParameterValues, ChoicesOfferOnlyWhatTheModemHas) {
    struct Case {
        const char* name;
        int type;
        Bytes bytes;
        int id;
        const char* choices;
    } cases[] = {
        // clang-format off
        {"protocols of a receive-only QMX", 3, {}, kProtocolMode, "0 Transparent w/EOT Timeout|"
         "1 Transparent w/EOT Character|2 Packet Switched|4 Fast Async"},
        {"link rates, GMSK at 12.5 kHz", 4, {{0x100, 0x10}}, kLinkRate, "2 4800"},
        {"link rates, FSK at 12.5 kHz", 4, {{0x1A6, 1}, {0x100, 0x10}}, kLinkRate, "3 9600"},
        {"bands of the KTR RXO", 4, {{0x10A, kRxo}}, kFrequency,
         "0 410-430 MHz|1 430-450 MHz|2 450-470 MHz|10 223-235 MHz"},
        {"powers of the LP base", 4, {{0x10A, kLpBase}}, kPower, "1 2 Watts|3 0.5 Watts"},
        {"channels with frequencies", 4,
         {{0x10A, kRxo}, {0x1A0, 4}, {0x11D, 0x02}, {0x11E, 0x7C}, {0x11F, 0x68}}, kCurrentChannel,
         "3     03                                            455.0000"},
        // clang-format on
    };
    for (const auto& c : cases) {
        ModemUnderTest m(c.type, 2.2, c.bytes);
        std::vector<std::string> texts;
        std::vector<int> values;
        EXPECT_EQ(m.set->GetChoices(c.id, texts, values), 0) << c.name;
        ASSERT_EQ(texts.size(), values.size()) << c.name;
        std::string choices;
        for (size_t i = 0; i < texts.size(); ++i)
            choices += (i ? "|" : "") + std::to_string(values[i]) + " " + texts[i];
        EXPECT_EQ(choices, c.choices) << c.name;
    }
}

}  // namespace
