// The window's Print command without a printer or a window: the default printer first, a PDF
// file when there is none or printing fails, and every failure said.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recording_operator.h"
#include "window/report_printing.h"

namespace vxl::test {
namespace {

TEST(ReportPrinting, FallsBackToAPdfFileAndReportsEveryFailure) {
    const struct {
        const char* name;
        std::string printer;
        std::string answer;  // the file the operator chooses; empty: cancel
        bool printerWorks, fileWorks;
        PrintOutcome outcome;
        std::vector<std::string> drawn;  // where the report was drawn, in order
        std::vector<MsgIcon> messages;
    } cases[] = {
        // clang-format off
        {"printed", "lp0", "", true, true, PrintOutcome::Printed, {"printer lp0"}, {}},
        {"no printer", "", "a.pdf", true, true, PrintOutcome::SavedAsPdf, {"pdf a.pdf"}, {}},
        {"printer fails", "lp0", "b.pdf", false, true, PrintOutcome::SavedAsPdf,
         {"printer lp0", "pdf b.pdf"}, {MsgIcon::Exclamation}},
        {"cancelled", "", "", true, true, PrintOutcome::Cancelled, {}, {}},
        {"unwritable file", "", "c.pdf", true, false, PrintOutcome::Failed, {"pdf c.pdf"},
         {MsgIcon::Stop}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingOperator ui;
        ScopedUi scope(ui);
        std::vector<std::string> drawn;
        std::vector<std::string> offered;
        const ReportRenderer render = [&](const ReportJob&, const PrintTarget& target,
                                          std::string& error) {
            drawn.push_back(target.ToPdf() ? "pdf " + target.pdfPath
                                           : "printer " + target.printerName);
            error = "the report could not be drawn";
            return (target.ToPdf() ? c.fileWorks : c.printerWorks) ? 0 : 901;
        };
        const AskPdfPath ask = [&](const std::string& suggested) {
            offered.push_back(suggested);
            return c.answer;
        };
        EXPECT_EQ(PrintOrSave(ReportJob{"map", "map.pdf", {}}, c.printer, ask, render), c.outcome);
        EXPECT_EQ(drawn, c.drawn);
        EXPECT_EQ(offered.size(), c.outcome == PrintOutcome::Printed ? 0u : 1u);
        ASSERT_EQ(ui.messages.size(), c.messages.size());
        for (size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(ui.messages[i].icon, c.messages[i]);
            EXPECT_EQ(ui.messages[i].caption, "Print Report");
            EXPECT_EQ(ui.messages[i].text.rfind("the report could not be drawn", 0), 0u);
        }
        if (c.printer == "lp0" && !c.printerWorks) {
            EXPECT_NE(ui.messages[0].text.find("You can save the report as a PDF file instead."),
                      std::string::npos);
        }
        EXPECT_EQ(ui.waitCursorDepth, 0);
    }
}

}  // namespace
}  // namespace vxl::test
