// The XML export over parameter sets of known images: the whole document of each (under
// tests/data), well-formed whatever the modem holds, and the escaping of its values.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "report_fixture.h"
#include "reports/xml_export.h"
#include "support/golden.h"
#include "support/xml_check.h"

namespace vxl::test {
namespace {

// The known VXL; a receive-only QMX running protocol mode 3, which has no name on its type, and
// an empty channel table; a rover with auto-off and values without a name; the VXL with a cleared
// channel table (no current channel) and a call sign and an owner of bytes without characters.
TEST(XmlExport, DocumentsOfKnownModems) {
    using Modem = std::unique_ptr<FakeModemSource>;
    const struct {
        const char* golden;
        int type;
        std::function<Modem()> modem;
    } cases[] = {
        {"vxl_export.xml", 4, VxlModem},
        {"xml_receive_only.xml", 3, ReceiveOnlyModem},
        {"xml_rover.xml", 4,
         [] {
             auto m = VxlModem();
             Put(*m, 0x10A, {0x92});  // KTR Rover, 450-470
             Put(*m, 0x18D, {0x40});  // rover auto-off on
             Put(*m, 0x1A6, {0x02});  // a modulation value without a name
             Put(*m, 0x197, {0x09});  // a digisquelch value without a name
             Put(*m, 0x18C, {0x05});  // a parity value without a name
             return m;
         }},
        {"xml_cleared_table_damaged_texts.xml", 4,
         [] {
             auto m = VxlModem();
             Put(*m, 0x1B7, {0x77, 0x77, 0x2F, 0x89, 0xC4, 0x00});
             PutText(*m, 0x16B, std::string("\x01Quarry\x1B[7m\xE9\x85\0", 14));
             Put(*m, 0x18E, {0xFF});  // no current channel
             for (int a = 0x10B; a < 0x16B; ++a) Put(*m, a, {0});
             return m;
         }},
    };
    for (const auto& c : cases) {
        auto modem = c.modem();
        LoadedSettings settings(*modem);
        const std::string document =
            BuildXmlDocument(settings.Set(), c.type, "north & south", "Nov 14, 2023  22:13:20");
        EXPECT_TRUE(MatchesGolden(c.golden, document));
        EXPECT_TRUE(WellFormedXml(document)) << c.golden;
    }
}

// What the documents above do not show: quotes stay, UTF-8 stays (a station name from the command
// line), and what XML 1.0 cannot carry becomes a character it can.
TEST(XmlExport, EscapesMarkupAndWhatXmlCannotCarry) {
    const struct {
        std::string text;
        std::string escaped;
    } cases[] = {
        {"plain 'quotes' \"too\"\ttab", "plain 'quotes' \"too\"\ttab"},
        {std::string("a\0b\x1B[1m\x7F", 8), "a\u2400b\u241B[1m\x7F"},
        {"Gr\u00FC\u00DF \u20AC", "Gr\u00FC\u00DF \u20AC"},  // UTF-8 stays
        {"\xEF\xBF\xBE\xED\xA0\x80", "\uFFFD\u00ED\u00A0\u0080"},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeXml(c.text), c.escaped) << c.text;
}

}  // namespace
}  // namespace vxl::test
