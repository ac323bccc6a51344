// The reports drawn with Qt: the PDF's text read back with pdftotext matches the layout line
// for line and page for page, under the document's title; the fonts are fixed-pitch with Courier
// metrics.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontInfo>
#include <QPdfWriter>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "gui/report/offscreen_renderer.h"
#include "gui/report/report_output.h"
#include "gui/report/report_painter.h"
#include "reports/configuration_report.h"
#include "reports/memory_map_listing.h"
#include "reports/report_fixture.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

// The tests draw like the headless runs: on the offscreen platform, made once and gone before
// the program's exit (Qt cannot be torn down from the exit handlers).
class OffscreenApplication : public ::testing::Environment {
  public:
    void SetUp() override {
        renderer_ = std::make_unique<report::OffscreenReportRenderer>();
        renderer_->EnsureApplication();
    }
    void TearDown() override { renderer_.reset(); }

  private:
    std::unique_ptr<report::OffscreenReportRenderer> renderer_;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new OffscreenApplication);

// Lines of text without trailing blanks, empty ones left out, and the indentation they all
// share removed.
std::vector<std::string> Normalised(std::vector<std::string> lines) {
    std::vector<std::string> kept;
    size_t indent = std::string::npos;
    for (std::string& line : lines) {
        line.erase(line.find_last_not_of(' ') + 1);
        if (line.empty()) continue;
        indent = std::min(indent, line.find_first_not_of(' '));
        kept.push_back(line);
    }
    for (std::string& line : kept) line.erase(0, indent);
    return kept;
}

// What a command wrote to its standard output.
std::string Output(const std::string& command) {
    std::string text;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) text += static_cast<char>(c);
    if (pipe != nullptr) ::pclose(pipe);
    return text;
}

// The text pages of a PDF file, normalised, as pdftotext reads them in its physical layout mode
// for fixed-pitch text (6 points a character).
std::vector<std::vector<std::string>> PdfPages(const std::string& path) {
    std::vector<std::vector<std::string>> pages;
    std::vector<std::string> lines(1);
    for (char c : Output("pdftotext -fixed 6 '" + path + "' - 2>&1") + '\f') {
        if (c == '\f' && !Normalised(lines).empty()) pages.push_back(Normalised(lines));
        if (c == '\f') lines.assign(1, std::string());
        if (c == '\n') lines.emplace_back();
        if (c != '\f' && c != '\n') lines.back() += c;
    }
    return pages;
}

// A job that remembers the layout it handed out.
ReportJob Remembering(ReportJob job, ReportDocument* laidOut) {
    auto layout = job.layout;
    job.layout = [layout, laidOut](double pageLines) { return *laidOut = layout(pageLines); };
    return job;
}

ReportJob ConfigurationJob(ModemParameterSet& set) {
    ReportJob job{kConfigurationReportName, "report.pdf", nullptr};
    job.layout = [&set](double lines) {
        return BuildConfigurationReport(set, 4, TestHeading(), lines);
    };
    return job;
}

ReportJob ListingJob(size_t bytes) {
    std::vector<uint8_t> image(bytes);
    for (size_t i = 0; i < bytes; ++i) image[i] = static_cast<uint8_t>(i * 7);
    ReportJob job{kMemoryMapName, "map.pdf", nullptr};
    job.layout = [image](double lines) {
        return BuildMemoryMapListing(0x100, image, TestHeading(), lines);
    };
    return job;
}

TEST(ReportPdf, TextLinesColumnsAndPagesMatchTheLayout) {
    auto modem = VxlModem();
    FillAllChannels(*modem);
    LoadedSettings settings(*modem);
    TempDir dir;
    const struct {
        const char* name;
        ReportJob job;
        size_t minimumPages;
    } cases[] = {
        {"configuration report", ConfigurationJob(settings.Set()), 1},
        {"memory-map listing", ListingJob(1000), 3},
    };
    for (const auto& c : cases) {
        ReportDocument laidOut;
        std::string error;
        const std::string path = dir.File("out.pdf");
        ASSERT_EQ(report::RenderReport(Remembering(c.job, &laidOut), PrintTarget{path, ""}, error),
                  rc::kOk)
            << c.name << ": " << error;
        const auto pages = PdfPages(path);
        EXPECT_EQ(Output("pdfinfo '" + path + "' | sed -n 's/^Title: *//p'"),
                  c.job.documentName + "\n");
        ASSERT_GE(laidOut.pages.size(), c.minimumPages) << c.name;
        ASSERT_EQ(pages.size(), laidOut.pages.size()) << c.name;
        for (size_t p = 0; p < pages.size(); ++p) {
            std::vector<std::string> expected;
            for (const ReportLine& line : laidOut.pages[p].lines) expected.push_back(line.text);
            EXPECT_EQ(pages[p], Normalised(expected)) << c.name << " page " << p + 1;
        }
    }
}

TEST(ReportPdf, FixedPitchCourierMetricsCentredOnThePage) {
    const report::ReportFonts fonts = report::MakeReportFonts();
    EXPECT_TRUE(QFontInfo(fonts.normal).fixedPitch());
    EXPECT_EQ(QFontInfo(fonts.normal).family().toStdString(), "Liberation Mono");
    EXPECT_TRUE(QFontInfo(fonts.bold).bold());
    EXPECT_TRUE(fonts.underlined.underline());

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    const report::PageMetrics page = report::MeasurePage(writer, fonts);
    // Courier New 10 pt: 6 points a character, 81 of them; lines about 11.3 points apart.
    const double points = writer.logicalDpiX() / 72.0;
    EXPECT_NEAR(page.blockWidth / points, 81 * 6.0, 1.0);
    EXPECT_NEAR(page.lineHeight / points, 11.3, 0.2);
    EXPECT_NEAR(page.leftMargin * 2 + page.blockWidth, writer.width(), 1.0);
    EXPECT_GT(page.PageLines(), 60);
}

}  // namespace
}  // namespace vxl::test
