// The XML export over parameter sets of known images: the whole document for a type-4 modem,
// the omissions for a receive-only and a rover modem, escaping and the file.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "params/protocol_modes.h"
#include "report_fixture.h"
#include "reports/xml_export.h"
#include "support/temp_dir.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

const char* const kVxlDocument =
    "<?xml version=\"1.0\"?>\r\n"
    "<ktrconf-parameters>\r\n"
    "<station-id>north &amp; south</station-id>\r\n"
    "<date>Nov 14, 2023  22:13:20</date>\r\n"
    "<model>VXL</model>\r\n"
    "<modem-board-id>1038-0</modem-board-id>\r\n"
    "<firmware-revision>2.20</firmware-revision>\r\n"
    "<serial-number>01427259</serial-number>\r\n"
    "<call-sign>KD7XYZ</call-sign>\r\n"
    "<owner>Pump &amp; &lt;Station&gt;</owner>\r\n"
    "<frequency-range>450-470</frequency-range>\r\n"
    "<channel-bandwidth>25</channel-bandwidth>\r\n"
    "<power>2</power>\r\n"
    "<current-channel>0</current-channel>\r\n"
    "<current-rx-frequency>455.0000</current-rx-frequency>\r\n"
    "<current-tx-frequency>455.0000</current-tx-frequency>\r\n"
    "<link-rate>9600</link-rate>\r\n"
    "<modulation-mode>4-Level-FSK</modulation-mode>\r\n"
    "<scrambling>yes</scrambling>\r\n"
    "<transmit-retries>3</transmit-retries>\r\n"
    "<tx-ack-timeout>0.5</tx-ack-timeout>\r\n"
    "<csma-monitoring>yes</csma-monitoring>\r\n"
    "<digisquelch>Moderate</digisquelch>\r\n"
    "<forward-error-correction>yes</forward-error-correction>\r\n"
    "<local-address>3</local-address>\r\n"
    "<remote-address>255</remote-address>\r\n"
    "<baud-rate>38400</baud-rate>\r\n"
    "<parity>None</parity>\r\n"
    "<protocol-mode>Packet Switched</protocol-mode>\r\n"
    "<break-to-command>yes</break-to-command>\r\n"
    "<modem-enable>yes</modem-enable>\r\n"
    "<eot-value>005</eot-value>\r\n"
    "<digipeater-delay>0.50</digipeater-delay>\r\n"
    "<local-node-repeater>no</local-node-repeater>\r\n"
    "<channel-table>\r\n"
    "<channel-table-entry>\r\n"
    "<channel-table-entry-idx>00</channel-table-entry-idx>\r\n"
    "<channel-table-entry-tx>455.0000</channel-table-entry-tx>\r\n"
    "<channel-table-entry-rx>455.0000</channel-table-entry-rx>\r\n"
    "</channel-table-entry>\r\n"
    "<channel-table-entry>\r\n"
    "<channel-table-entry-idx>01</channel-table-entry-idx>\r\n"
    "<channel-table-entry-tx></channel-table-entry-tx>\r\n"
    "<channel-table-entry-rx>460.0000</channel-table-entry-rx>\r\n"
    "</channel-table-entry>\r\n"
    "</channel-table>\r\n"
    "</ktrconf-parameters>\r\n";

TEST(XmlExport, WritesEveryLineForAKnownVxlImage) {
    auto modem = VxlModem();
    LoadedSettings settings(*modem);
    EXPECT_EQ(BuildXmlDocument(settings.Set(), 4, "north & south", "Nov 14, 2023  22:13:20"),
              kVxlDocument);
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

TEST(XmlExport, EscapesTheThreeMarkupCharacters) {
    const struct {
        const char* text;
        const char* escaped;
    } cases[] = {
        {"", ""},
        {"plain 'quotes' \"too\"", "plain 'quotes' \"too\""},
        {"a<b>c", "a&lt;b&gt;c"},
        {"&amp;", "&amp;amp;"},
        {"<<&>>", "&lt;&lt;&amp;&gt;&gt;"},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeXml(c.text), c.escaped) << c.text;
}

// The names differ by modem type; a mode a type does not have has none.
TEST(XmlExport, ProtocolModeNamesDependOnTheModemType) {
    EXPECT_EQ(protocol::ModeName(4, 3), "Digipeater");
    EXPECT_EQ(protocol::ModeName(3, 3), "");
    for (int mode : {-1, 7}) EXPECT_EQ(protocol::ModeName(4, mode), "") << mode;
}

TEST(XmlExport, WritesTheDocumentAsItIsOrReportsWhyItCannot) {
    TempDir dir;
    const std::string document = "<a>\r\n</a>\r\n";
    EXPECT_EQ(WriteXmlFile(dir.File("out.xml"), document), rc::kOk);
    EXPECT_EQ(TempDir::Read(dir.File("out.xml")), document);
    EXPECT_EQ(WriteXmlFile(dir.File("out.xml"), "x"), rc::kOk);  // truncated, not appended
    EXPECT_EQ(TempDir::Read(dir.File("out.xml")), "x");
    EXPECT_EQ(WriteXmlFile(dir.File("missing/out.xml"), document), rc::kFileNotFound);
}

}  // namespace
}  // namespace vxl::test
