// The definitions file: lookup, cleaning, the loading of all defaults with its message boxes,
// applying factory defaults, and the shipped file.
#include "params/definitions.h"

#include <gtest/gtest.h>

#include <tuple>

#include "modem_under_test.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_ids.h"
#include "util/ini_file.h"

namespace {

using vxl::test::ModemUnderTest;
using vxl::test::Type4ModelByte;
using namespace vxl::pid;

constexpr uint8_t kVxl = Type4ModelByte(5, 0);
constexpr uint8_t kHpBase = Type4ModelByte(0, 1);
constexpr uint8_t kRover = Type4ModelByte(1, 0);

std::string Section(const std::string& name, const std::string& body) {
    return "[" + name + "]\n" + body;
}

TEST(Definitions, LookupOfAnEntry) {
    vxl::test::TempDir dir;
    const std::string path =
        dir.Write("v.ini", Section("VXL", "BaudRate=9600   # note\nEmpty=\nEOTCharacter=#\n"));
    vxl::ScopedDefinitionsPath scoped(path);
    // Key, model, code and value.
    // clang-format off
    const std::tuple<const char*, int, int, std::string> entries[] = {
        {"BaudRate", 5, 0, "9600"}, {"Empty", 5, 91, ""},
        {"EOTCharacter", 5, 0, "#"}, {"Missing", 5, 91, ""}, {"BaudRate", 0, 91, ""}};
    // clang-format on
    for (const auto& [key, model, code, expected] : entries) {
        std::string value, location;
        EXPECT_EQ(vxl::ReadDefinitionEntry(key, 4, model, value, location), code) << key;
        EXPECT_EQ(code == 0 ? value : "", expected) << key;
    }
    {
        vxl::ScopedDefinitionsPath missing(dir.File("absent.ini"));
        std::string value, location;
        EXPECT_EQ(vxl::ReadDefinitionEntry("BaudRate", 4, 5, value, location), 111);
        EXPECT_EQ(location, "File <" + dir.File("absent.ini") + ">");
    }
    // A file without a single section is no definitions file: the built-in values must not
    // stand in for it unnoticed.
    const std::string garbage = dir.Write("garbage.ini", "BaudRate=4\nnot an ini file\n");
    vxl::ScopedDefinitionsPath bad(garbage);
    std::string value, location;
    EXPECT_EQ(vxl::ReadDefinitionEntry("BaudRate", 4, 5, value, location), 109);
    EXPECT_EQ(location, "File <" + garbage + "> holds no [section]");
}

// Entries of the VXL's section and the defaults they give; without an entry ("") a parameter
// keeps its built-in default.
TEST(Definitions, EntriesBecomeDefaults) {
    // clang-format off
    const std::tuple<const char*, int, double> entries[] = {
        {"BaudRate=9600 # comment", kBaudRate, 1}, {"BREAKtoCommand=YES", kBREAKtoCommand, 1},
        {"EOTCharacter=#", kEOTCharacter, '#'}, {"Parity=odd", kParity, 2},
        {"ProtocolMode=packetswitched", kProtocolMode, 2}, {"LocalAddress=17", kLocalAddress, 17},
        {"TxAckTimeout=2.5x", kTxAckTimeout, 2.5}, {"LinkRate=19200", kLinkRate, 4},
        {"", kTransmitRetries, 3}, {"", kPowerControl, 0xFF}};
    // clang-format on
    std::string body;
    for (auto [entry, id, value] : entries) body += std::string(entry) + "\n";
    ModemUnderTest m(4, 2.2, {{0x10A, kVxl}}, Section("VXL", body));
    EXPECT_EQ(m.status, 0);
    EXPECT_TRUE(m.ui.messages.empty());
    for (auto [entry, id, value] : entries) EXPECT_DOUBLE_EQ(m.Default(id), value) << entry << id;
}

TEST(Definitions, BuiltInDefaultsThatDependOnTheModem) {
    const vxl::test::ModemCase<std::pair<int, int>> cases[] = {
        // clang-format off
        {"VXL", 4, 2.2, {{0x10A, kVxl}}, {{kBaudRate, 8}, {kLinkRate, 3}, {kDigisquelch, 2}}},
        {"VXL, FSK, 12.5", 4, 2.2, {{0x10A, kVxl}, {0x1A6, 1}, {0x100, 0x10}}, {{kLinkRate, 3}}},
        {"rover with FSK", 4, 2.2, {{0x10A, kRover}, {0x1A6, 1}}, {{kDigisquelch, 1}}},
        {"rover with GMSK", 4, 2.2, {{0x10A, kRover}}, {{kDigisquelch, 0}}},
        {"HP base", 4, 2.2, {{0x10A, kHpBase}}, {{kPowerControl, 0x47}}},
        {"HP base at 2.00 in floating point", 4, 2.00000001, {{0x10A, kHpBase}}, {{kPowerControl, 0}}},
        {"HP base at 1.99", 4, 1.99, {{0x10A, kHpBase}}, {{kPowerControl, 0x47}}},
        {"QMX", 2, 3.5, {{0x10A, 5}}, {{kBaudRate, 1}, {kLinkRate, 4}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        ModemUnderTest m(c.type, c.revision, c.bytes);
        for (auto [id, expected] : c.checks) EXPECT_EQ(m.Default(id), expected) << c.name << id;
    }
}

TEST(Definitions, EveryInvalidEntryHasItsOwnBox) {
    const std::string ini =
        Section("VXL", "BaudRate=9601\nParity=None\nLocalAddress=256\nScrambling=maybe\n");
    ModemUnderTest m(4, 2.2, {{0x10A, kVxl}}, ini);
    ASSERT_EQ(m.ui.messages.size(), 3u);
    const std::string place = "File <" + m.dir.File("vxlconf.ini") + ">   Section [VXL]";
    const char* keys[] = {"BaudRate", "Scrambling", "LocalAddress"};  // in parameter order
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(m.ui.messages[i].text,
                  place + ":\n\n" + keys[i] + " has an invalid default value.\n");
        EXPECT_EQ(m.ui.messages[i].caption, "Errors in Initialization File");
    }
    EXPECT_EQ(m.status, 92);  // the last invalid entry was a number out of range
    // Invalid entries leave the built-in defaults.
    EXPECT_EQ(m.set->GetDefaultInt(kBaudRate), 8);
    EXPECT_EQ(m.set->GetDefaultInt(kLocalAddress), 0);
}

// LinkRate is looked up last and only after a clean pass; a model without a section stops the
// load, as does a file that cannot be read, without a box.
TEST(Definitions, LinkRateIsLookedUpOnlyAfterACleanPass) {
    // Model byte, section body, status, boxes and the link-rate default.
    const std::tuple<uint8_t, const char*, int, size_t, int> cases[] = {
        {kVxl, "LinkRate=4800\n", 0, 0, 2},
        {kVxl, "LinkRate=4800\nParity=none at all\n", 93, 1, 3},  // an earlier invalid entry
        {kVxl, "LinkRate=4800N\n", 93, 1, 3},
        {Type4ModelByte(6, 0), "LinkRate=4800\n", 104, 0, 3},
    };
    for (auto [model, body, status, boxes, linkRate] : cases) {
        ModemUnderTest m(4, 2.2, {{0x10A, model}}, Section("VXL", body));
        EXPECT_EQ(m.status, status) << body;
        EXPECT_EQ(m.ui.messages.size(), boxes) << body;
        EXPECT_EQ(m.set->GetDefaultInt(kLinkRate), linkRate) << body;
    }
    ModemUnderTest m(4, 2.2, {{0x10A, kVxl}});
    vxl::ScopedDefinitionsPath missing(m.dir.File("nowhere.ini"));
    std::string location;
    EXPECT_EQ(m.set->LoadDefaults(location), 111);
    EXPECT_EQ(location, "File <" + m.dir.File("nowhere.ini") + ">");
    EXPECT_TRUE(m.ui.messages.empty());
}

TEST(Definitions, ApplyDefaultsLeavesOwnerCallSignAndFrequenciesAlone) {
    ModemUnderTest m(4, 2.2, {{0x10A, kVxl}, {0x1A0, 4}, {0x190, 0x03}, {0x18B, 2}},
                     Section("VXL", "ProtocolMode=TrimMarkII\nLinkRate=19200\n"));
    ASSERT_EQ(m.set->SetText(kOwner, "Field Office"), 0);
    ASSERT_EQ(m.set->SetText(kCallSign, "KD7XYZ"), 0);
    ASSERT_EQ(m.set->SetReal(RxChannelId(0), 455.0), 0);
    ASSERT_EQ(m.set->SetReal(TxChannelId(9), 460.0), 0);
    ASSERT_EQ(m.set->SetInt(kSerialNumber, 4321), 0);
    EXPECT_EQ(m.set->ApplyDefaults(), 0);
    EXPECT_EQ(m.Text(kOwner), "Field Office");
    EXPECT_EQ(m.Text(kCallSign), "KD7XYZ");
    EXPECT_EQ(m.Text(RxChannelId(0)), "455.0000");
    EXPECT_EQ(m.Text(TxChannelId(9)), "460.0000");
    EXPECT_EQ(m.Text(kSerialNumber), "00004321");
    EXPECT_EQ(m.Text(kProtocolMode), "TrimMark II/IIe");
    EXPECT_EQ(m.Text(kBaudRate), "38400");
    EXPECT_EQ(m.Byte(0x192), 2);  // scrambling re-encoded for the new protocol
    EXPECT_EQ(m.Byte(0x193), 5);  // EOTCount is the last reading of the shared byte
    // 19200 is not offered with GMSK: the link rate keeps its value.
    EXPECT_EQ(m.Byte(0x18F), 0);
    EXPECT_EQ(m.Text(kDigisquelch), "Low");
}

TEST(Definitions, ShippedFileLoadsCleanlyForEveryModel) {
    const std::string shipped = std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini";
    const char* sections[] = {"QMX",         "KTR HP Base", "KTR Rover", "KTR RXO",
                              "KTR LP Base", "Spare",       "VXL"};
    // A QMX whose model row is a valid section index, and every type-4 model at both bandwidths.
    for (int i = 0; i < 7; ++i) {
        for (uint8_t bandwidth : {0x00, 0x10}) {
            const uint8_t model = i == 0 ? 5 : Type4ModelByte(i - 1, 0);
            ModemUnderTest m(i == 0 ? 2 : 4, i == 0 ? 3.5 : 2.2,
                             {{0x10A, model}, {0x100, bandwidth}});
            vxl::ScopedDefinitionsPath again(shipped);
            std::string location;
            EXPECT_EQ(m.set->LoadDefaults(location), 0) << sections[i];
            EXPECT_TRUE(m.ui.messages.empty()) << sections[i];
            EXPECT_EQ(location, "File <" + shipped + ">   Section [" + sections[i] + "]");
            EXPECT_EQ(m.set->ApplyDefaults(), 0) << sections[i];
        }
    }
}

}  // namespace
