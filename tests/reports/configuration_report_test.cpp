// The configuration report laid out as text: every line of a known modem, what other modems
// leave out or dash, the channel table's rows, the page break and the title block, the date.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <string>

#include "report_fixture.h"
#include "reports/configuration_report.h"
#include "reports/report_page_builder.h"
#include "support/golden.h"
#include "support/temp_dir.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

constexpr double kLetterLines = 66;

// The text of the line whose label is `label`, or "(none)".
std::string LineFor(const ReportDocument& document, const std::string& label) {
    for (const ReportPage& page : document.pages)
        for (const ReportLine& line : page.lines)
            if (line.text.compare(0, label.size(), label) == 0) return line.text;
    return "(none)";
}

TEST(ConfigurationReport, PrintsEverySettingOfAKnownVxl) {
    auto modem = VxlModem();
    LoadedSettings settings(*modem);
    const ReportDocument document =
        BuildConfigurationReport(settings.Set(), 4, TestHeading(), kLetterLines);
    EXPECT_EQ(document.name, "KTRCONF Configuration Report");
    EXPECT_TRUE(MatchesGolden("vxl_configuration_report.txt", AsText(document)));
}

// A receive-only QMX modem whose running protocol mode (3) has no name on its type.
std::unique_ptr<FakeModemSource> ReceiveOnlyModem() {
    auto modem = std::make_unique<FakeModemSource>(3, 1.00, 246);
    Put(*modem, 0x10A, {89});  // QMXRXO 450-470MHz 0W
    Put(*modem, 0xB690, {0x03});
    return modem;
}

TEST(ConfigurationReport, LeavesOutOrDashesWhatAModemDoesNotHave) {
    auto receiveOnly = ReceiveOnlyModem();
    LoadedSettings qmx(*receiveOnly);
    const ReportDocument rx = BuildConfigurationReport(qmx.Set(), 3, TestHeading(), 66);
    auto vxl = VxlModem();
    LoadedSettings cleared(*vxl);
    ASSERT_EQ(cleared.Set().ClearChannelTable(), rc::kOk);
    const ReportDocument noTable = BuildConfigurationReport(cleared.Set(), 4, TestHeading(), 66);
    const struct {
        const ReportDocument& document;
        const char* label;
        const char* value;  // nullptr: the line is left out
    } cases[] = {
        {rx, "  Call Sign:", "--"},
        {rx, "  Protocol Mode:", ""},
        {rx, "  Modulation Mode:", nullptr},
        {rx, "  Channel Selection Type:", nullptr},
        {rx, "  Transmit Retries:", "--"},
        {rx, "  TX ACK Timeout:", "--"},
        {rx, "  CSMA Monitoring:", "--"},
        {rx, "  Remote Address:", "--"},
        {rx, "  Modem Enable:", "--"},
        {rx, "  EOT value:", "--"},
        {rx, "  Digipeater Delay:", "--"},
        {rx, "  Local Node Repeater:", "--"},
        {rx, "  Scrambling:", "No"},
        {rx, "00 ", nullptr},
        // A cleared table's current channel (255) names no channel and no other parameter.
        {noTable, "  Current Channel:", "255"},
        {noTable, "  Current RX Frequency:", ""},
        {noTable, "  Current TX Frequency:", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LineFor(c.document, c.label),
                  c.value ? LabelledValue(c.label, c.value) : "(none)")
            << c.label;
    }
}

TEST(ConfigurationReport, ChannelsWithoutFrequenciesLeaveNoGapInTheTable) {
    auto modem = VxlModem();
    Put(*modem, 0x111, {0, 0, 0});                             // channel 1 emptied
    Put(*modem, 0x11D, {0x02, 0x7C, 0x68, 0x02, 0x38, 0x60});  // channel 3: 455.0 both ways
    LoadedSettings settings(*modem);
    const ReportDocument document = BuildConfigurationReport(settings.Set(), 4, TestHeading(), 66);
    const std::vector<ReportLine>& lines = document.pages[0].lines;
    ASSERT_EQ(lines.size(), 39u);
    EXPECT_EQ(lines[37].text, "00            455.0000 MHz            455.0000 MHz");
    EXPECT_EQ(lines[38].text, "03            455.0000 MHz            455.0000 MHz");
    EXPECT_EQ(lines[38].y, lines[37].y + 1);
}

TEST(ConfigurationReport, SixteenChannelsContinueOnANewPageUnderTheSameTitleBlock) {
    auto modem = VxlModem();
    FillAllChannels(*modem);
    LoadedSettings settings(*modem);
    // The table's header is at line 46, its rows from 47 on; a line fits while
    // y + advance <= page height - 2.
    const struct {
        double pageLines;
        size_t pages;
        size_t rowsOnFirstPage;
    } cases[] = {{65, 1, 16}, {64.9, 2, 15}, {60, 2, 11}, {50, 2, 1}, {49.9, 2, 0}};
    for (const auto& c : cases) {
        const ReportDocument document =
            BuildConfigurationReport(settings.Set(), 4, TestHeading(), c.pageLines);
        ASSERT_EQ(document.pages.size(), c.pages) << c.pageLines;
        const ReportPage& first = document.pages[0];
        EXPECT_EQ(first.lines.size(), 37 + c.rowsOnFirstPage) << c.pageLines;
        if (c.pages == 1) continue;
        const ReportPage& second = document.pages[1];
        EXPECT_EQ(second.rules, first.rules);
        ASSERT_EQ(second.lines.size(), 2 + 16 - c.rowsOnFirstPage) << c.pageLines;
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(second.lines[i].text, first.lines[i].text);
            EXPECT_EQ(second.lines[i].y, first.lines[i].y);
            EXPECT_EQ(second.lines[i].style, first.lines[i].style);
        }
        EXPECT_EQ(second.lines[2].y, 7.0) << c.pageLines;
        EXPECT_EQ(second.lines.back().text.substr(0, 2), "15");
    }
}

TEST(ConfigurationReport, AHeadingMovedToANewPageStaysBold) {
    auto modem = VxlModem();
    LoadedSettings settings(*modem);
    // "Serial Interface" at line 34 does not fit on a page of 36 lines.
    const ReportDocument document = BuildConfigurationReport(settings.Set(), 4, TestHeading(), 36);
    ASSERT_GE(document.pages.size(), 2u);
    const ReportLine& moved = document.pages[1].lines[2];
    EXPECT_EQ(moved.text.substr(0, 16), "Serial Interface");
    EXPECT_EQ(moved.style, LineStyle::Bold);
    EXPECT_EQ(moved.y, 7.0);
}

TEST(ReportLines, ValuesEndInColumnFiftyAndTheDateInTheLastColumn) {
    EXPECT_EQ(LabelledValue("  Model:", "VXL"), "  Model:" + std::string(39, ' ') + "VXL");
    EXPECT_EQ(LabelledValue("", ""), std::string(40, ' '));  // never more than 40 blanks
    EXPECT_EQ(LabelledValue(std::string(30, 'a'), std::string(25, 'b')),
              std::string(30, 'a') + std::string(25, 'b'));
    EXPECT_EQ(TitleLine("T", "D").size(), 81u);
    EXPECT_EQ(TitleLine(std::string(80, 't'), "date"), std::string(80, 't') + "date");
    EXPECT_EQ(ChannelRow(7, "", ""), "");
    EXPECT_EQ(ChannelRow(15, "450.1250", "").size(), 2 + 2 * 16 + 12 + 4u);
    // Texts too long for the grid keep one blank between them.
    EXPECT_EQ(ChannelRow(1, std::string(20, '1'), std::string(20, '2')),
              "01 " + std::string(20, '1') + " MHz " + std::string(20, '2') + " MHz");
}

TEST(ReportDate, EnglishMonthNamesWhateverTheLocale) {
    const char* savedTz = std::getenv("TZ");
    const std::string tz = savedTz ? savedTz : "";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(FormatReportDate(1700000000), "Nov 14, 2023  22:13:20");
    EXPECT_EQ(FormatReportDate(1709251200), "Mar 01, 2024  00:00:00");  // März in German
    std::setlocale(LC_ALL, locale.c_str());
    savedTz ? ::setenv("TZ", tz.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
    if (!german) GTEST_SKIP() << "no German locale here to prove it";
}

}  // namespace
}  // namespace vxl::test
