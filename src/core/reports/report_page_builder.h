// Lays report lines out on pages: the title block at the top of every page, the body from seven
// line heights down, and a new page when a line would come closer than two line heights to the
// bottom of the printable area.
#pragma once

#include <string>

#include "reports/report_document.h"

namespace vxl {

class ReportPageBuilder {
  public:
    // `pageLines` is the printable page height in line heights.
    ReportPageBuilder(std::string documentName, const ReportHeading& heading, double pageLines);

    // Adds `text` at the current position, on a new page if it would not fit, and moves down
    // `advance` lines (2 leaves an empty line after it).
    void Line(const std::string& text, LineStyle style = LineStyle::Normal, int advance = 1);

    // The pages so far (at least the first, with its title block).
    ReportDocument Finish() { return std::move(document_); }

    // Positions of the title block and the body, in line heights.
    static constexpr double kTitleY = 3.5;
    static constexpr double kCompanyY = 4.5;
    static constexpr double kRuleY = 6.0;
    static constexpr double kBodyY = 7.0;
    static constexpr double kBottomLines = 2.0;

  private:
    void StartPage();

    ReportDocument document_;
    ReportHeading heading_;
    double pageLines_;
    double y_ = kBodyY;
};

// `label` and `value` with blanks between them so that the value ends in column 50 when both
// are short enough: 50 - length(label) - length(value) blanks, at least 0 and at most 40.
std::string LabelledValue(const std::string& label, const std::string& value);

// The first line of the title block: `title`, then blanks so that `date` ends in the last
// column (none when the title is already too long), then `date`.
std::string TitleLine(const std::string& title, const std::string& date);

}  // namespace vxl
