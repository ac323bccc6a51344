// The headless report runs on a fake modem: both reports laid out from the loaded modem (at the
// level of the command line) and handed to the renderer, the modem released; a report that cannot
// be drawn ends the run with one line; the jobs the window prints show the edits not yet
// programmed.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "app/report_jobs.h"
#include "params/definitions.h"
#include "support/fake_clock.h"
#include "support/fake_modem.h"
#include "support/fake_serial_link.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/preferences.h"
#include "util/result_codes.h"

namespace vxl {
namespace {

constexpr uint8_t kResetCommand = 0x1D;

struct Printed {
    std::string documentName;
    std::string pdfPath;
    ReportDocument document;
};

class ReportRun : public ::testing::Test {
  protected:
    void SetUp() override {
        modem.SetIdentity(0xD2, 22, 0);               // VXL, firmware 2.20
        modem.Poke(0x106, {0x00, 0x15, 0xC7, 0x3B});  // serial number 1427259
        modem.Poke(0x10B, {0x02, 0x7C, 0x68});        // channel 0 receives on 455.0 MHz
        modem.SetConfigChecksum();
        app.Coordinator().Session().SetLinkFactory(
            [this](int, int&) -> std::unique_ptr<ISerialLink> {
                auto link = std::make_unique<test::FakeSerialLink>(3);
                modem.Connect(*link);
                return link;
            });
        PreferenceStore(dir.File("prefs.conf")).SetText(kPrefInstallDir, VXL_SOURCE_DATA_DIR);
        app.SetPreferencePath(dir.File("prefs.conf"));
        err = std::tmpfile();
        app.SetErrorStream(err);
    }
    void TearDown() override { std::fclose(err); }

    // A renderer that lays the job out on 66-line pages and answers `result`.
    void RenderWith(int result, const std::string& error = std::string()) {
        app.SetReportRenderer(
            [this, result, error](const ReportJob& job, const PrintTarget& target, std::string& e) {
                printed.push_back({job.documentName, target.pdfPath, job.layout(66)});
                e = error;
                return result;
            });
    }
    int Run(const std::vector<std::string>& args) {
        ScopedUi scope(ui);
        return app.Run(args);
    }
    std::string ErrText() {
        std::fflush(err);
        std::rewind(err);
        std::string text;
        for (int c; (c = std::fgetc(err)) != EOF;) text += static_cast<char>(c);
        return text;
    }

    test::FakeClock clock;
    ScopedClock scopedClock{clock};
    test::RecordingOperator ui;
    test::TempDir dir;
    test::FakeModem modem{clock};
    CConfigApp app;
    std::FILE* err = nullptr;
    std::vector<Printed> printed;
};

TEST_F(ReportRun, WritesBothReportsOfTheLoadedModemAndReleasesIt) {
    RenderWith(rc::kOk);
    ASSERT_EQ(Run({"port", "3", "softbreak", "factory", "Report=" + dir.File("Modem.PDF"),
                   "memorymap", dir.File("Map.pdf")}),
              kExitOk)
        << ErrText();
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0].documentName, "KTRCONF Configuration Report");
    EXPECT_EQ(printed[0].pdfPath, dir.File("Modem.PDF"));
    const std::vector<ReportLine>& report = printed[0].document.pages.at(0).lines;
    EXPECT_EQ(report[0].text.rfind("VXL Configuration Program (Factory) Version ", 0), 0u);
    EXPECT_EQ(report[0].text.size(), 81u);
    EXPECT_EQ(report[1].text, "Norvale Corporation " + ProgramVersion().legalNotice);
    EXPECT_EQ(report[6].text, "  Serial Number:" + std::string(26, ' ') + "01427259");

    EXPECT_EQ(printed[1].documentName, "KTRCONF Modem Memory Map");
    EXPECT_EQ(printed[1].pdfPath, dir.File("Map.pdf"));
    const std::vector<ReportLine>& listing = printed[1].document.pages.at(0).lines;
    EXPECT_EQ(listing[0].text.rfind("KTRCONF (User) Version ", 0), 0u);
    EXPECT_EQ(listing.size(), 2u + 31u);  // 246 bytes
    EXPECT_EQ(listing[3].text, "0x0108    C7    3B    D2    02    7C    68    00    00");

    EXPECT_FALSE(app.Coordinator().IsAttached());
    EXPECT_EQ(modem.Count(kResetCommand), 1);
    EXPECT_EQ(ErrText(), "");
}

TEST_F(ReportRun, AReportThatCannotBeWrittenEndsTheRunWithOneLine) {
    RenderWith(rc::kFileDiskFull, "The report could not be written: The disk is full.");
    EXPECT_EQ(
        Run({"port=3", "softbreak", "report", dir.File("r.pdf"), "memorymap", dir.File("m.pdf")}),
        kExitRunFailed);
    EXPECT_EQ(ErrText(),
              "vxlconf: configuration report failed: code 913: The report could not be written: "
              "The disk is full.\n");
    EXPECT_EQ(printed.size(), 1u);  // the listing is not attempted
    EXPECT_FALSE(app.Coordinator().IsAttached());
    EXPECT_EQ(modem.Count(kResetCommand), 1);
}

TEST_F(ReportRun, WithoutARendererTheRunSaysSoAndReleasesTheModem) {
    EXPECT_EQ(Run({"port=3", "softbreak", "memorymap", dir.File("m.pdf")}), kExitRunFailed);
    EXPECT_EQ(ErrText(),
              "vxlconf: memory-map listing failed: code 61: this build cannot draw reports\n");
    EXPECT_FALSE(app.Coordinator().IsAttached());
}

TEST_F(ReportRun, JobsOfTheWindowShowEditsNotYetProgrammedAndTheLevel) {
    CCoordinator& coordinator = app.Coordinator();
    ReportJob job;
    EXPECT_EQ(MakeMemoryMapJob(coordinator, ProgramVersion(), job), rc::kMissingArgument);
    EXPECT_EQ(MakeConfigurationReportJob(coordinator, ProgramVersion(), job), rc::kMissingArgument);

    ScopedUi scope(ui);
    ScopedDefinitionsPath definitions(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini");
    coordinator.Init(3, 1);
    std::string response;
    ASSERT_EQ(coordinator.Attach(response, false), rc::kOk) << response;
    ASSERT_EQ(coordinator.Read(response, false), rc::kOk) << response;
    ASSERT_EQ(coordinator.Settings().WriteByte(0x10, 0xAB), rc::kOk);

    ASSERT_EQ(MakeMemoryMapJob(coordinator, ProgramVersion(), job), rc::kOk);
    EXPECT_EQ(job.suggestedFileName, "vxl-memory-map-01427259.pdf");
    EXPECT_EQ(job.layout(66).pages[0].lines[4].text,
              "0x0110    AB    00    00    00    00    00    00    00");

    ASSERT_EQ(MakeConfigurationReportJob(coordinator, ProgramVersion(), job, "Dealer"), rc::kOk);
    EXPECT_EQ(job.suggestedFileName, "vxl-report-01427259.pdf");
    EXPECT_EQ(job.layout(66).pages[0].lines[0].text.rfind(
                  "VXL Configuration Program (Dealer) Version ", 0),
              0u);
    coordinator.Detach(response);
}

}  // namespace
}  // namespace vxl
