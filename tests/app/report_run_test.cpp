// The headless report runs on a fake modem: a report that cannot be drawn ends the run with one
// line (a run that writes both is the simulator's end-to-end test). The jobs, which the runs and
// the window share, lay out the loaded modem with the edits not yet programmed; the layout itself
// is the reports' test.
#include <gtest/gtest.h>

#include "app/report_jobs.h"
#include "coordinator/coordinator_harness.h"
#include "fake_modem_run.h"

namespace vxl::test {
namespace {

constexpr uint8_t kResetCommand = 0x1D;

// Counts the reports it is asked for in `printed` and answers `result` with `error`.
ReportRenderer Recorder(int& printed, int result, const std::string& error) {
    return [&printed, result, error](const ReportJob&, const PrintTarget&, std::string& e) {
        ++printed;
        e = error;
        return result;
    };
}

// The listing is not attempted after a report that failed; without a renderer the run says so.
// The modem is released either way.
TEST(ReportRun, AReportThatCannotBeWrittenEndsTheRunWithOneLine) {
    FakeModemRun run;
    int printed = 0;
    run.renderer =
        Recorder(printed, rc::kFileDiskFull, "The report could not be written: The disk is full.");
    const std::vector<std::string> both = {"report", run.dir.File("r.pdf"), "memorymap",
                                           run.dir.File("m.pdf")};
    EXPECT_EQ(run.Run(both), kExitRunFailed);
    EXPECT_EQ(run.errors,
              "vxlconf: configuration report failed: code 913: The report could not be written: "
              "The disk is full.\n");
    EXPECT_EQ(printed, 1);
    run.renderer = nullptr;
    EXPECT_EQ(run.Run({"memorymap", run.dir.File("m.pdf")}), kExitRunFailed);
    EXPECT_EQ(run.errors,
              "vxlconf: memory-map listing failed: code 61: this build cannot draw reports\n");
    EXPECT_EQ(run.modem.Count(kResetCommand), 2);
}

TEST(ReportRun, JobsOfTheWindowShowEditsNotYetProgrammedAndTheLevel) {
    CoordinatorHarness h;
    ReportJob job;
    ASSERT_EQ(h.Load(), rc::kOk);
    ASSERT_EQ(h.coordinator.Settings().WriteByte(0x10, 0xAB), rc::kOk);
    ASSERT_EQ(MakeMemoryMapJob(h.coordinator, ProgramVersion(), job), rc::kOk);
    EXPECT_EQ(job.suggestedFileName, "vxl-memory-map-01427259.pdf");
    EXPECT_EQ(job.layout(66).pages[0].lines[4].text,
              "0x0110    AB    00    00    00    00    00    00    00");
    ASSERT_EQ(MakeConfigurationReportJob(h.coordinator, ProgramVersion(), job, "Dealer"), rc::kOk);
    EXPECT_EQ(job.suggestedFileName, "vxl-report-01427259.pdf");
    EXPECT_EQ(job.layout(66).pages[0].lines[0].text.rfind(
                  "VXL Configuration Program (Dealer) Version ", 0),
              0u);
}

}  // namespace
}  // namespace vxl::test
