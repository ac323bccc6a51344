// The XML export over parameter sets of known images: the whole document for a type-4 modem,
// the omissions for a receive-only and a rover modem, escaping and the file.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "params/protocol_modes.h"
#include "report_fixture.h"
#include "reports/xml_export.h"
#include "support/temp_dir.h"
#include "support/xml_check.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

// The whole document of the known VXL, CR LF line ends.
std::string VxlDocument() {
    return TempDir::Read(VXL_TEST_DATA_DIR "/vxl_export.xml");
}

TEST(XmlExport, WritesEveryLineForAKnownVxlImage) {
    auto modem = VxlModem();
    LoadedSettings settings(*modem);
    EXPECT_EQ(BuildXmlDocument(settings.Set(), 4, "north & south", "Nov 14, 2023  22:13:20"),
              VxlDocument());
}

bool HasElement(const std::string& document, const std::string& tag) {
    return document.find("<" + tag + ">") != std::string::npos;
}

TEST(XmlExport, LeavesOutWhatAReceiveOnlyModemDoesNotHave) {
    FakeModemSource modem(3, 1.00, 246);
    Put(modem, 0x10A, {89});  // QMXRXO 450-470MHz 0W
    Put(modem, 0x10B, {0x00, 0x00, 0x00});
    Put(modem, 0xB690, {0x03});  // running protocol mode 3: no name on a receive-only modem
    LoadedSettings settings(modem);
    const std::string document = BuildXmlDocument(settings.Set(), 3, "rx", "d");
    for (const char* tag :
         {"call-sign", "channel-selection-type", "modulation-mode", "transmit-retries",
          "tx-ack-timeout", "csma-monitoring", "rover-auto-off", "remote-address", "modem-enable",
          "eot-value", "digipeater-delay", "local-node-repeater", "channel-table-entry"}) {
        EXPECT_FALSE(HasElement(document, tag)) << tag;
    }
    for (const char* tag : {"model", "current-tx-frequency", "scrambling", "digisquelch", "parity",
                            "break-to-command"}) {
        EXPECT_TRUE(HasElement(document, tag)) << tag;
    }
    EXPECT_NE(document.find("\r\n<protocol-mode></protocol-mode>\r\n"), std::string::npos);
    EXPECT_NE(document.find("<channel-table>\r\n</channel-table>\r\n"), std::string::npos);
}

TEST(XmlExport, LeavesOutWhatARoverDoesNotHaveAndKeepsItsAutoOff) {
    auto modem = VxlModem();
    Put(*modem, 0x10A, {0x92});  // KTR Rover, 450-470
    Put(*modem, 0x18D, {0x40});  // rover auto-off on
    Put(*modem, 0x1A6, {0x02});  // a modulation value without a name
    Put(*modem, 0x197, {0x09});  // a digisquelch value without a name
    Put(*modem, 0x18C, {0x05});  // a parity value without a name
    LoadedSettings settings(*modem);
    const std::string document = BuildXmlDocument(settings.Set(), 4, "rover", "d");
    for (const char* tag : {"call-sign", "channel-selection-type", "modulation-mode",
                            "transmit-retries", "csma-monitoring", "remote-address", "eot-value",
                            "digisquelch", "parity", "local-node-repeater"}) {
        EXPECT_FALSE(HasElement(document, tag)) << tag;
    }
    EXPECT_NE(document.find("\r\n<rover-auto-off>yes</rover-auto-off>\r\n"), std::string::npos);
    EXPECT_NE(document.find("\r\n<modem-enable>yes</modem-enable>\r\n"), std::string::npos);
}

TEST(XmlExport, AClearedChannelTableShowsNoCurrentFrequencies) {
    auto modem = VxlModem();
    LoadedSettings settings(*modem);
    ASSERT_EQ(settings.Set().ClearChannelTable(), rc::kOk);
    const std::string document = BuildXmlDocument(settings.Set(), 4, "s", "d");
    EXPECT_NE(document.find("<current-channel>255</current-channel>\r\n"
                            "<current-rx-frequency></current-rx-frequency>\r\n"
                            "<current-tx-frequency></current-tx-frequency>\r\n"),
              std::string::npos);
}

// Markup characters become entity references; what XML 1.0 cannot carry becomes a character it
// can; every other byte stays.
TEST(XmlExport, EscapesMarkupAndWhatXmlCannotCarry) {
    const struct {
        std::string text;
        std::string escaped;
    } cases[] = {
        {"", ""},
        {"plain 'quotes' \"too\"\ttab", "plain 'quotes' \"too\"\ttab"},
        {"<<&>>", "&lt;&lt;&amp;&gt;&gt;"},
        {"\x07\x07"
         "1",
         "\u2407\u2407"
         "1"},  // a call sign's codes without a character
        {std::string("a\0b\x1B[1m\x7F", 8), "a\u2400b\u241B[1m\x7F"},
        {"Gr\xFC\xDF", "Gr\u00FC\u00DF"},                    // Latin-1, not UTF-8
        {"Gr\u00FC\u00DF \u20AC", "Gr\u00FC\u00DF \u20AC"},  // UTF-8 stays
        {"\xEF\xBF\xBE\xED\xA0\x80", "\uFFFD\u00ED\u00A0\u0080"},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeXml(c.text), c.escaped) << c.text;
}

// A call sign of codes without a character and an owner with control bytes still give a
// document an XML parser takes, as every document here does.
TEST(XmlExport, DocumentsAreAlwaysWellFormed) {
    auto vxl = VxlModem();
    Put(*vxl, 0x1B7, {0x77, 0x77, 0x2F, 0x89, 0xC4, 0x00});
    PutText(*vxl, 0x16B, std::string("\x01Quarry\x1B[7m\xE9\0", 13));
    LoadedSettings settings(*vxl);
    const std::string document = BuildXmlDocument(settings.Set(), 4, "st\x07", "d");
    EXPECT_NE(document.find("<call-sign>\u2407\u24071$\u2407</call-sign>"), std::string::npos);
    EXPECT_NE(document.find("<owner>\u2401Quarry\u241B[7m\u00E9</owner>"), std::string::npos);
    EXPECT_TRUE(WellFormedXml(document));
    EXPECT_TRUE(WellFormedXml(VxlDocument()));
}

// The names differ by modem type; a mode a type does not have has none.
TEST(XmlExport, ProtocolModeNamesDependOnTheModemType) {
    EXPECT_EQ(protocol::ModeName(4, 3), "Digipeater");
    EXPECT_EQ(protocol::ModeName(3, 3), "");
    for (int mode : {-1, 7}) EXPECT_EQ(protocol::ModeName(4, mode), "") << mode;
}

}  // namespace
}  // namespace vxl::test
