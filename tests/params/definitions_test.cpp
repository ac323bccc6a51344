// The definitions file: lookup, cleaning, the loading of all defaults with its message boxes,
// applying factory defaults, and the shipped file.
#include "params/definitions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "modem_under_test.h"
#include "params/model_tables.h"
#include "params/parameter_ids.h"
#include "util/ini_file.h"
#include "util/result_codes.h"

namespace {

using vxl::test::ModemUnderTest;
using vxl::test::Type4ModelByte;
namespace pid = vxl::pid;
namespace rc = vxl::rc;

constexpr uint8_t kVxl = Type4ModelByte(5, 0);
constexpr uint8_t kHpBase = Type4ModelByte(0, 1);

std::string Section(const std::string& name, const std::string& body) {
    return "[" + name + "]\n" + body;
}

TEST(Definitions, CleaningOfValues) {
    struct Case {
        const char* raw;
        const char* clean;
    } cases[] = {
        {"9600", "9600"}, {"9600    # the usual rate", "9600"},
        {"#", "#"},       {"#  # a hash mark", "#"},
        {"#x#y", "#x"},   {"a b \t", "a b"},
    };
    for (const Case& c : cases) EXPECT_EQ(vxl::CleanDefinitionText(c.raw), c.clean) << c.raw;
}

TEST(Definitions, SectionsByTypeAndModel) {
    struct Case {
        int type;
        int model;
        int code;
        const char* section;
    } cases[] = {
        {1, 5, 0, "QMX"}, {3, 0, 0, "QMX"}, {4, 0, 0, "KTR HP Base"}, {4, 5, 0, "VXL"},
        {4, 6, 104, ""},  {4, 7, 104, ""},  {2, 24, 104, ""},         {0, 1, 60, ""},
        {5, 1, 60, ""},   {6, 1, 114, ""},  {-1, 1, 114, ""},         {4, -1, 104, ""},
    };
    for (const Case& c : cases) {
        std::string section;
        EXPECT_EQ(vxl::DefinitionSection(c.type, c.model, section), c.code)
            << c.type << "/" << c.model;
        if (c.code == 0) {
            EXPECT_EQ(section, c.section);
        }
    }
}

TEST(Definitions, EntryLookup) {
    vxl::test::TempDir dir;
    std::string path = dir.Write(
        "v.ini", Section("VXL", "BaudRate=9600   # note\nEmpty=\nLong=" + std::string(70, 'x') +
                                    "\nEOTCharacter=#\n"));
    vxl::ScopedDefinitionsPath scoped(path);
    std::string value;
    std::string location;
    EXPECT_EQ(vxl::ReadDefinitionEntry("BaudRate", 4, 5, value, location), 0);
    EXPECT_EQ(value, "9600");
    EXPECT_EQ(location, "File <" + path + ">   Section [VXL]");
    EXPECT_EQ(vxl::ReadDefinitionEntry("Long", 4, 5, value, location), 0);
    EXPECT_EQ(value, std::string(63, 'x'));
    EXPECT_EQ(vxl::ReadDefinitionEntry("EOTCharacter", 4, 5, value, location), 0);
    EXPECT_EQ(value, "#");
    EXPECT_EQ(vxl::ReadDefinitionEntry("Empty", 4, 5, value, location), 91);
    EXPECT_EQ(vxl::ReadDefinitionEntry("Missing", 4, 5, value, location), 91);
    EXPECT_EQ(vxl::ReadDefinitionEntry("BaudRate", 4, 0, value, location), 91);

    for (const std::string& unreadable : {dir.File("absent.ini"), dir.path()}) {
        vxl::ScopedDefinitionsPath missing(unreadable);
        EXPECT_EQ(vxl::ReadDefinitionEntry("BaudRate", 4, 5, value, location), 111);
        EXPECT_EQ(location, "File <" + unreadable + ">");
    }
}

TEST(Definitions, EntriesBecomeDefaults) {
    const std::string ini = Section("VXL",
                                    "BaudRate=9600 # comment\n"
                                    "BREAKtoCommand=YES\n"
                                    "EOTCharacter=#\n"
                                    "ProtocolMode=packetswitched\n"
                                    "Parity=odd\n"
                                    "TxAckTimeout=2.5x\n"
                                    "LocalAddress=17\n"
                                    "CurrentChannel=3\n"
                                    "ModulationType=4-Level-FSK\n"
                                    "LinkRate=19200\n");
    ModemUnderTest m(4, 2.2, {{0x10A, kVxl}}, ini);
    EXPECT_EQ(m.status, 0);
    EXPECT_TRUE(m.ui.messages.empty());
    EXPECT_EQ(m.set->GetDefaultInt(pid::kBaudRate), 1);
    EXPECT_TRUE(m.set->GetDefaultBool(pid::kBREAKtoCommand));
    EXPECT_EQ(m.set->GetDefaultInt(pid::kEOTCharacter), '#');
    EXPECT_EQ(m.set->GetDefaultInt(pid::kProtocolMode), 2);
    EXPECT_EQ(m.set->GetDefaultInt(pid::kParity), 2);
    EXPECT_DOUBLE_EQ(m.set->GetDefaultReal(pid::kTxAckTimeout), 2.5);
    EXPECT_EQ(m.set->GetDefaultInt(pid::kLocalAddress), 17);
    EXPECT_EQ(m.set->GetDefaultInt(pid::kCurrentChannel), 3);
    EXPECT_EQ(m.set->GetDefaultInt(pid::kModulationType), 1);
    EXPECT_EQ(m.set->GetDefaultInt(pid::kLinkRate), 4);
    // Not in the file: the built-in defaults.
    EXPECT_EQ(m.set->GetDefaultInt(pid::kTransmitRetries), 3);
    EXPECT_EQ(m.set->GetDefaultInt(pid::kRemoteAddress), 255);
    EXPECT_TRUE(m.set->GetDefaultBool(pid::kModemEnable));
    EXPECT_EQ(m.set->GetDefaultInt(pid::kDataSecurityCode), 0);
    EXPECT_EQ(m.set->GetDefaultInt(pid::kPowerControl), 0xFF);
}

TEST(Definitions, BuiltInDefaultsThatDependOnTheModem) {
    struct Case {
        const char* name;
        vxl::test::Bytes bytes;
        double revision;
        int id;
        int expected;
    } cases[] = {
        {"baud rate, type 4", {{0x10A, kVxl}}, 2.2, pid::kBaudRate, 8},
        {"link rate, GMSK 25 kHz", {{0x10A, kVxl}}, 2.2, pid::kLinkRate, 3},
        {"link rate, GMSK 12.5 kHz", {{0x10A, kVxl}, {0x100, 0x10}}, 2.2, pid::kLinkRate, 2},
        {"link rate, FSK 25 kHz", {{0x10A, kVxl}, {0x1A6, 1}}, 2.2, pid::kLinkRate, 4},
        {"link rate, FSK 12.5 kHz",
         {{0x10A, kVxl}, {0x1A6, 1}, {0x100, 0x10}},
         2.2,
         pid::kLinkRate,
         3},
        {"squelch, transmitter", {{0x10A, kVxl}}, 2.2, pid::kDigisquelch, 2},
        {"squelch, rover with FSK",
         {{0x10A, Type4ModelByte(1, 0)}, {0x1A6, 1}},
         2.2,
         pid::kDigisquelch,
         1},
        {"squelch, rover with GMSK", {{0x10A, Type4ModelByte(1, 0)}}, 2.2, pid::kDigisquelch, 0},
        {"power control, HP base", {{0x10A, kHpBase}}, 2.2, pid::kPowerControl, 0x47},
        {"power control, HP base at 2.00", {{0x10A, kHpBase}}, 2.0, pid::kPowerControl, 0},
    };
    for (const auto& c : cases) {
        ModemUnderTest m(4, c.revision, c.bytes);
        EXPECT_EQ(m.set->GetDefaultInt(c.id), c.expected) << c.name;
    }
    ModemUnderTest qmx(2, 3.5, {{0x10A, 5}});
    EXPECT_EQ(qmx.set->GetDefaultInt(pid::kBaudRate), 1);
    EXPECT_EQ(qmx.set->GetDefaultInt(pid::kLinkRate), 4);
}

TEST(Definitions, EveryInvalidEntryHasItsOwnBox) {
    const std::string ini = Section("VXL",
                                    "BaudRate=9601\n"
                                    "Parity=None\n"
                                    "LocalAddress=256\n"
                                    "Scrambling=maybe\n");
    ModemUnderTest m(4, 2.2, {{0x10A, kVxl}}, ini);
    ASSERT_EQ(m.ui.messages.size(), 3u);
    const std::string place = "File <" + m.dir.File("vxlconf.ini") + ">   Section [VXL]";
    EXPECT_EQ(m.ui.messages[0].text, place + ":\n\nBaudRate has an invalid default value.\n");
    EXPECT_EQ(m.ui.messages[1].text, place + ":\n\nScrambling has an invalid default value.\n");
    EXPECT_EQ(m.ui.messages[2].text, place + ":\n\nLocalAddress has an invalid default value.\n");
    for (const auto& message : m.ui.messages) {
        EXPECT_EQ(message.caption, "Errors in Initialization File");
        EXPECT_EQ(message.buttons, vxl::MsgButtons::Ok);
    }
    EXPECT_EQ(m.status, 92);  // the last invalid entry was a number out of range
    // Invalid entries leave the built-in defaults.
    EXPECT_EQ(m.set->GetDefaultInt(pid::kBaudRate), 8);
    EXPECT_EQ(m.set->GetDefaultInt(pid::kLocalAddress), 0);
}

TEST(Definitions, LinkRateIsLookedUpOnlyAfterACleanPass) {
    struct Case {
        const char* name;
        std::string ini;
        double revision;
        int status;
        size_t boxes;
        int linkRate;
    } cases[] = {
        {"clean", Section("VXL", "LinkRate=4800\n"), 2.2, 0, 0, 2},
        {"earlier invalid entry", Section("VXL", "LinkRate=4800\nParity=none at all\n"), 2.2, 93, 1,
         3},
        {"invalid link rate", Section("VXL", "LinkRate=4800N\n"), 2.2, 93, 1, 3},
    };
    for (const Case& c : cases) {
        ModemUnderTest m(4, c.revision, {{0x10A, kVxl}}, c.ini);
        EXPECT_EQ(m.status, c.status) << c.name;
        EXPECT_EQ(m.ui.messages.size(), c.boxes) << c.name;
        EXPECT_EQ(m.set->GetDefaultInt(pid::kLinkRate), c.linkRate) << c.name;
    }
}

TEST(Definitions, UnreadableFileStopsTheLoadWithoutABox) {
    ModemUnderTest m(4, 2.2, {{0x10A, kVxl}});
    vxl::ScopedDefinitionsPath missing(m.dir.File("nowhere.ini"));
    std::string location;
    EXPECT_EQ(m.set->LoadDefaults(location), 111);
    EXPECT_EQ(location, "File <" + m.dir.File("nowhere.ini") + ">");
    EXPECT_TRUE(m.ui.messages.empty());
}

TEST(Definitions, ModelWithoutASectionGivesBadModel) {
    ModemUnderTest m(4, 2.2, {{0x10A, Type4ModelByte(6, 0)}}, Section("VXL", "Parity=Odd\n"));
    EXPECT_EQ(m.status, 104);
    EXPECT_TRUE(m.ui.messages.empty());
}

TEST(Definitions, ApplyDefaultsLeavesOwnerCallSignAndFrequenciesAlone) {
    ModemUnderTest m(4, 2.2, {{0x10A, kVxl}, {0x1A0, 4}, {0x190, 0x03}, {0x18B, 2}},
                     Section("VXL", "ProtocolMode=TrimMarkII\nLinkRate=19200\n"));
    ASSERT_EQ(m.set->SetText(pid::kOwner, "Field Office"), 0);
    ASSERT_EQ(m.set->SetText(pid::kCallSign, "KD7XYZ"), 0);
    ASSERT_EQ(m.set->SetReal(pid::RxChannelId(0), 455.0), 0);
    ASSERT_EQ(m.set->SetReal(pid::TxChannelId(9), 460.0), 0);
    ASSERT_EQ(m.set->SetInt(pid::kSerialNumber, 4321), 0);
    EXPECT_EQ(m.set->ApplyDefaults(), 0);
    EXPECT_EQ(m.Text(pid::kOwner), "Field Office");
    EXPECT_EQ(m.Text(pid::kCallSign), "KD7XYZ");
    EXPECT_EQ(m.Text(pid::RxChannelId(0)), "455.0000");
    EXPECT_EQ(m.Text(pid::TxChannelId(9)), "460.0000");
    EXPECT_EQ(m.Text(pid::kSerialNumber), "00004321");
    EXPECT_EQ(m.Text(pid::kProtocolMode), "TrimMark II/IIe");
    EXPECT_EQ(m.Text(pid::kBaudRate), "38400");
    EXPECT_EQ(m.Byte(0x192), 2);  // scrambling re-encoded for the new protocol
    EXPECT_EQ(m.Byte(0x193), 5);  // EOTCount is the last reading of the shared byte
    // 19200 is not offered with GMSK: the link rate keeps its value.
    EXPECT_EQ(m.Byte(0x18F), 0);
    EXPECT_EQ(m.Text(pid::kDigisquelch), "Low");
}

std::string ShippedFile() {
    return std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini";
}

TEST(Definitions, ShippedFileLoadsCleanlyForEveryModel) {
    vxl::ScopedDefinitionsPath shipped(ShippedFile());
    for (int model = 0; model < vxl::kType4ModelCount; ++model) {
        for (uint8_t bandwidth : {0x00, 0x10}) {
            ModemUnderTest m(4, 2.2, {{0x10A, Type4ModelByte(model, 0)}, {0x100, bandwidth}});
            vxl::ScopedDefinitionsPath again(ShippedFile());
            std::string location;
            EXPECT_EQ(m.set->LoadDefaults(location), 0) << model;
            EXPECT_TRUE(m.ui.messages.empty()) << model;
            EXPECT_EQ(location, "File <" + ShippedFile() + ">   Section [" +
                                    vxl::Type4ModelName(model) + "]");
            EXPECT_EQ(m.set->ApplyDefaults(), 0) << model;
        }
    }
    // The family section serves the QMX modems whose model row is a valid section index.
    ModemUnderTest qmx(2, 3.5, {{0x10A, 5}});
    vxl::ScopedDefinitionsPath again(ShippedFile());
    std::string location;
    EXPECT_EQ(qmx.set->LoadDefaults(location), 0);
    EXPECT_TRUE(qmx.ui.messages.empty());
    EXPECT_EQ(location, "File <" + ShippedFile() + ">   Section [QMX]");
}

TEST(Definitions, ShippedFileHasEveryKeyInEverySection) {
    const char* keys[] = {"BaudRate",
                          "Parity",
                          "ProtocolMode",
                          "EOTCharacter",
                          "EOTCount",
                          "EOTTimeout",
                          "BREAKtoCommand",
                          "Repeater",
                          "DigipeaterDelay",
                          "CurrentChannel",
                          "LinkRate",
                          "ModulationType",
                          "ForwardErrorCorrection",
                          "Scrambling",
                          "CSMAMonitor",
                          "Digisquelch",
                          "TransmitRetries",
                          "TxAckTimeout",
                          "LocalAddress",
                          "RemoteAddress",
                          "RoverAutoOff",
                          "ChannelSelectType"};
    const char* sections[] = {"QMX",         "KTR HP Base", "KTR Rover", "KTR RXO",
                              "KTR LP Base", "Spare",       "VXL"};
    for (const char* section : sections)
        for (const char* key : keys)
            EXPECT_NE(vxl::ReadProfileString(ShippedFile(), section, key, ""), "")
                << section << " " << key;
}

}  // namespace
