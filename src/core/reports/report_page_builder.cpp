#include "reports/report_page_builder.h"

#include <algorithm>

namespace vxl {

namespace {
constexpr int kValueEndColumn = 50;
constexpr int kMaxPadding = 40;
}  // namespace

ReportPageBuilder::ReportPageBuilder(std::string documentName, const ReportHeading& heading,
                                     double pageLines)
    : heading_(heading), pageLines_(pageLines) {
    document_.name = std::move(documentName);
    StartPage();
}

void ReportPageBuilder::StartPage() {
    ReportPage page;
    page.lines.push_back({kTitleY, LineStyle::Bold, TitleLine(heading_.title, heading_.date)});
    page.lines.push_back(
        {kCompanyY, LineStyle::Normal, heading_.company + " " + heading_.legalNotice});
    page.rules.push_back(kRuleY);
    document_.pages.push_back(std::move(page));
    y_ = kBodyY;
}

void ReportPageBuilder::Line(const std::string& text, LineStyle style, int advance) {
    // A line keeps its own style on a new page: a heading that moves over stays bold. A line
    // that does not fit even at the top of the body stays there rather than leave a page bare.
    if (y_ + advance > pageLines_ - kBottomLines && y_ > kBodyY) StartPage();
    document_.pages.back().lines.push_back({y_, style, text});
    y_ += advance;
}

std::string LabelledValue(const std::string& label, const std::string& value) {
    // A character of the owner may take two bytes; the columns count characters.
    const int free =
        kValueEndColumn - static_cast<int>(Utf8Characters(label) + Utf8Characters(value));
    return label + std::string(static_cast<size_t>(std::clamp(free, 0, kMaxPadding)), ' ') + value;
}

std::string TitleLine(const std::string& title, const std::string& date) {
    const int free = kReportColumns - static_cast<int>(title.size() + date.size());
    return title + std::string(static_cast<size_t>(std::max(free, 0)), ' ') + date;
}

}  // namespace vxl
