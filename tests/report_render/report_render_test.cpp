// The reports drawn with Qt: the PDF's text read back with pdftotext matches the layout line
// for line and page for page.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "gui/report/offscreen_renderer.h"
#include "gui/report/report_output.h"
#include "reports/memory_map_listing.h"
#include "reports/report_fixture.h"
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

// The text pages of a PDF file, normalised, as pdftotext reads them in its physical layout mode
// for fixed-pitch text (6 points a character).
std::vector<std::vector<std::string>> PdfPages(const std::string& path) {
    std::vector<std::vector<std::string>> pages;
    std::vector<std::string> lines(1);
    std::string text;
    std::FILE* pipe = ::popen(("pdftotext -fixed 6 '" + path + "' - 2>&1").c_str(), "r");
    for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) text += static_cast<char>(c);
    if (pipe != nullptr) ::pclose(pipe);
    for (char c : text + '\f') {
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

ReportJob ListingJob(size_t bytes) {
    std::vector<uint8_t> image(bytes);
    for (size_t i = 0; i < bytes; ++i) image[i] = static_cast<uint8_t>(i * 7);
    ReportJob job{kMemoryMapName, "map.pdf", nullptr};
    job.layout = [image](double lines) {
        return BuildMemoryMapListing(0x100, image, TestHeading(), lines);
    };
    return job;
}

// One renderer draws every report: a listing of several pages shows whether pages break where
// the layout breaks them and every line lands in its column.
TEST(ReportPdf, TextLinesColumnsAndPagesMatchTheLayout) {
    TempDir dir;
    ReportDocument laidOut;
    std::string error;
    const std::string path = dir.File("out.pdf");
    ASSERT_EQ(
        report::RenderReport(Remembering(ListingJob(1000), &laidOut), PrintTarget{path, ""}, error),
        rc::kOk)
        << error;
    const auto pages = PdfPages(path);
    ASSERT_GE(laidOut.pages.size(), 3u);
    ASSERT_EQ(pages.size(), laidOut.pages.size());
    for (size_t p = 0; p < pages.size(); ++p) {
        std::vector<std::string> expected;
        for (const ReportLine& line : laidOut.pages[p].lines) expected.push_back(line.text);
        EXPECT_EQ(pages[p], Normalised(expected)) << "page " << p + 1;
    }
}

}  // namespace
}  // namespace vxl::test
