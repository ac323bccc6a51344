// A printed report as pages of text lines on an 81-column character grid. Positions are in line
// heights from the top of the printable area, so a report can be laid out and checked as text;
// a renderer turns line heights into device units and draws the lines in a fixed-pitch font.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace vxl {

enum class LineStyle { Normal, Bold, Underlined };

struct ReportLine {
    double y = 0;  // top of the line, in line heights
    LineStyle style = LineStyle::Normal;
    std::string text;  // starts at the block's left edge; blanks align the columns
};

struct ReportPage {
    std::vector<ReportLine> lines;
    std::vector<double> rules;  // horizontal rules over the block width, y in line heights
};

struct ReportDocument {
    std::string name;  // the print job's name
    std::vector<ReportPage> pages;
};

// The two lines of the title block that every page repeats.
struct ReportHeading {
    std::string title;    // left part of the first line, e.g. "VXL Configuration Program ..."
    std::string date;     // right part of the first line
    std::string company;  // second line: company name and legal notice
    std::string legalNotice;
};

// Characters per line of the report block; the renderer centres this many on the page.
constexpr int kReportColumns = 81;

// A report ready to print: its layout is made once the printer's page height is known.
struct ReportJob {
    std::string documentName;
    std::string suggestedFileName;  // offered when the report is saved as a PDF file
    std::function<ReportDocument(double pageLines)> layout;
};

// Where a report goes: a PDF file, or a printer (the default one when the name is empty).
struct PrintTarget {
    std::string pdfPath;
    std::string printerName;
    bool ToPdf() const { return !pdfPath.empty(); }
};

// Prints `job` on `target`: 0, or a file error code (901..914) with a message for the operator
// in `error` (what failed and what to do about it).
using ReportRenderer =
    std::function<int(const ReportJob& job, const PrintTarget& target, std::string& error)>;

// "%b %d, %Y  %H:%M:%S" of the local time `when`, with English month names whatever the
// process locale is (a window toolkit may have switched it to the user's).
std::string FormatReportDate(std::time_t when);

}  // namespace vxl
