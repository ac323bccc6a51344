// Channel plans as spreadsheet programs write them in different locales, and the first mistake
// of a file that cannot be one, named by its row.
#include <gtest/gtest.h>

#include <string>

#include "params/channel_plan_csv.h"
#include "support/golden.h"
#include "support/temp_dir.h"
#include "util/result_codes.h"

namespace vxl {
namespace {

// One plan, as spreadsheet programs write it in different locales: channel k receives on
// 450 + k MHz and sends 0.5 MHz higher, channel 15 is not in use.
TEST(ChannelPlanCsv, ReadsWhatSpreadsheetsWriteInEveryLocale) {
    for (const char* name :
         {"comma_lf.csv", "semicolon_crlf_bom.csv", "quoted_padded_empty_rows.csv",
          "zero_short_decimals_other_case.csv"}) {
        SCOPED_TRACE(name);
        ChannelPlan plan;
        std::string problem;
        ASSERT_EQ(
            ParseChannelPlanCsv(test::Golden(std::string("channel_plans/") + name), plan, problem),
            rc::kOk)
            << problem;
        for (int k = 0; k < 16; ++k) {
            EXPECT_EQ(plan.rx[k], k == 15 ? 0.0 : 450.0 + k) << k;
            EXPECT_EQ(plan.tx[k], k == 15 ? 0.0 : 450.5 + k) << k;
            EXPECT_EQ(plan.row[k], k + 2);
        }
    }
}

TEST(ChannelPlanCsv, TheFirstMistakeIsNamedByItsRow) {
    const std::string good = test::Golden("channel_plans/comma_lf.csv");
    auto replaced = [&good](const std::string& from, const std::string& to, std::string text = "") {
        if (text.empty()) text = good;
        return text.replace(text.find(from), from.size(), to);
    };
    const struct {
        const char* name;
        std::string text;
        const char* problem;
    } cases[] = {
        {"no header", good.substr(good.find('\n') + 1),
         "row 1: the first row must be the header Channel,RX MHz,TX MHz"},
        {"decimal comma, comma-separated", replaced("450.0000", "450,0000"),
         "row 2: more than three cells; if the frequencies have a decimal comma, write them with "
         "a decimal point"},
        {"decimal comma, semicolon-separated",
         replaced("450.0000", "450,0000", test::Golden("channel_plans/semicolon_crlf_bom.csv")),
         "row 2: \"450,0000\" has a decimal comma; write frequencies with a decimal point"},
        {"not a number", replaced("453.5000", "453.5 MHz"),
         "row 5: \"453.5 MHz\" is not a frequency in MHz (such as 459.8500)"},
        {"channel 16", replaced("15,,", "16,,"),
         "row 17: \"16\" is not a channel number from 0 to 15"},
        {"twice", replaced("1,451", "0,451"), "row 3: channel 0 is listed twice (also in row 2)"},
        {"one missing", good.substr(0, good.rfind("15,,")),
         "channel 15 is missing: list all 16 channels, with empty cells for a channel not in use"},
        {"empty", "", "the file is empty"},
        {"binary",
         std::string("\x7f"
                     "ELF\0",
                     5),
         "it is not a text file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelPlan plan;
        std::string problem;
        EXPECT_EQ(ParseChannelPlanCsv(c.text, plan, problem), rc::kChannelPlanRefused);
        EXPECT_EQ(problem.rfind(c.problem, 0), 0u) << problem;
    }
}

// The written file reads back to the same plan; its text is the shipped example.
TEST(ChannelPlanCsv, WritesFourDecimalsAndEmptyCellsAndReadsThemBack) {
    ChannelPlan plan;
    std::string problem;
    const std::string example = std::string(VXL_TEST_DATA_DIR) + "/channel_plan.csv";
    ASSERT_EQ(ReadChannelPlanFile(example, plan, problem), rc::kOk) << problem;
    EXPECT_EQ(plan.rx[7], 469.9875);
    EXPECT_EQ(plan.tx[2], 0.0);
    EXPECT_EQ(FormatChannelPlanCsv(plan), test::TempDir::Read(example));
}

}  // namespace
}  // namespace vxl
