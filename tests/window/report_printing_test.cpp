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
        {"printed", "lp0", "", true, true, PrintOutcome::Printed, {"lp0"}, {}},
        {"no printer", "", "a.pdf", true, true, PrintOutcome::SavedAsPdf, {"a.pdf"}, {}},
        {"printer fails", "lp0", "b.pdf", false, true, PrintOutcome::SavedAsPdf, {"lp0", "b.pdf"},
         {MsgIcon::Exclamation}},
        {"cancelled", "", "", true, true, PrintOutcome::Cancelled, {}, {}},
        {"unwritable file", "", "c.pdf", true, false, PrintOutcome::Failed, {"c.pdf"},
         {MsgIcon::Stop}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingOperator ui;
        ScopedUi scope(ui);
        std::vector<std::string> drawn;
        const ReportRenderer render = [&](const ReportJob&, const PrintTarget& target,
                                          std::string& error) {
            drawn.push_back(target.ToPdf() ? target.pdfPath : target.printerName);
            error = "not drawn";
            return (target.ToPdf() ? c.fileWorks : c.printerWorks) ? 0 : 901;
        };
        const AskPdfPath ask = [&](const std::string& suggested) {
            EXPECT_EQ(suggested, "map.pdf");
            return c.answer;
        };
        EXPECT_EQ(PrintOrSave(ReportJob{"map", "map.pdf", {}}, c.printer, ask, render), c.outcome);
        EXPECT_EQ(drawn, c.drawn);
        std::vector<MsgIcon> icons;
        for (const RecordedMessage& m : ui.messages) icons.push_back(m.icon);
        EXPECT_EQ(icons, c.messages);
        const std::string offer = "\n\nYou can save the report as a PDF file instead.";
        for (const RecordedMessage& m : ui.messages)
            EXPECT_EQ(m.text, m.icon == MsgIcon::Stop ? "not drawn" : "not drawn" + offer);
        EXPECT_EQ(ui.waitCursorDepth, 0);
    }
}

}  // namespace
}  // namespace vxl::test
