// The configuration report laid out as text: the whole document of known modems (under
// tests/data), where its channel table breaks onto further pages, the columns of its lines, and
// the date.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>

#include "report_fixture.h"
#include "reports/configuration_report.h"
#include "reports/report_page_builder.h"
#include "support/golden.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

// The known VXL with every setting; a receive-only QMX, which leaves out or dashes what it does
// not have; the VXL with a cleared table (no current channel) and then channels 0 and 3 (no gap
// in the table); the VXL with sixteen channels on pages of 36 lines, where a heading moves to the
// next page in bold and the table continues under the same title block.
TEST(ConfigurationReport, DocumentsOfKnownModems) {
    const struct {
        const char* golden;
        std::function<std::unique_ptr<FakeModemSource>()> modem;
        int type;
        double pageLines;
        bool clear;
    } cases[] = {
        {"vxl_configuration_report.txt", VxlModem, 4, 66, false},
        {"report_receive_only.txt", ReceiveOnlyModem, 3, 66, false},
        {"report_cleared_table.txt", VxlModem, 4, 66, true},
        {"report_sixteen_channels_short_pages.txt",
         [] {
             auto modem = VxlModem();
             FillAllChannels(*modem);
             return modem;
         },
         4, 36, false},
    };
    for (const auto& c : cases) {
        auto modem = c.modem();
        LoadedSettings settings(*modem);
        if (c.clear) {
            ASSERT_EQ(settings.Set().ClearChannelTable(), rc::kOk);
            ASSERT_EQ(settings.Set().SetReal(pid::RxChannelId(0), 455.0), rc::kOk);
            ASSERT_EQ(settings.Set().SetReal(pid::TxChannelId(3), 460.0), rc::kOk);
        }
        const ReportDocument document =
            BuildConfigurationReport(settings.Set(), c.type, TestHeading(), c.pageLines);
        EXPECT_EQ(document.name, "KTRCONF Configuration Report");
        EXPECT_TRUE(MatchesGolden(c.golden, AsText(document)));
    }
}

// A value's column counts characters, not bytes.
TEST(ReportLines, ValuesEndInColumnFiftyCountingCharacters) {
    EXPECT_EQ(LabelledValue("  Owner:", "M\u00FCller"),
              "  Owner:" + std::string(36, ' ') + "M\u00FCller");
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
