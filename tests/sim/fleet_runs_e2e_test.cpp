// Fleet work end to end against simulated modems: a channel plan shown by a dry run (which
// writes nothing), imported and exported again; and a diagnostic trace of a failing load that
// the simulator replays to the same failure.
#include <gtest/gtest.h>

#include "e2e_fixture.h"
#include "line_harness.h"
#include "util/transcript.h"

namespace vxl::sim::test {
namespace {

using vxl::test::TempDir;

// The "result" events of a transcript, in order.
std::vector<std::string> Results(const std::string& path) {
    Transcript transcript;
    std::string problem;
    EXPECT_TRUE(ParseTranscript(TempDir::Read(path), transcript, problem)) << problem;
    std::vector<std::string> results;
    for (const TranscriptEntry& entry : transcript.entries)
        if (entry.isEvent && entry.text.rfind("result ", 0) == 0) results.push_back(entry.text);
    return results;
}

// The write commands the simulated modem has heard so far.
int WriteCommands(const Simulator& sim) {
    int writes = 0;
    for (const auto& [address, count] : sim.MemoryWrites()) writes += count;
    return writes;
}

// The shipped example plan into a simulated modem: the dry run lists exactly what would change
// and no write reaches the modem; imported, the modem exports the same file and a second dry
// run finds nothing to change.
TEST_F(HeadlessRun, ADryRunListsThePlansChangesAndTheModemExportsThePlanAfterTheImport) {
    SimOptions options;
    options.operatorPowerCycleSeconds = 0.1;
    StartModem(options);
    const std::string plan = std::string(VXL_TEST_DATA_DIR) + "/channel_plan.csv";
    const std::vector<std::string> modem = {"device", sim->LinkPath(), "poweroncapture"};
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), modem.begin(), modem.end());
        ClearOutput();
        return RunVxlconf(args);
    };
    const MemoryBytes before = sim->StoredMemory();
    EXPECT_EQ(run({"dryrun", "importcsv", plan}), kExitWouldChange) << ErrText();
    EXPECT_EQ(OutText(),
              TempDir::Read(std::string(VXL_TEST_DATA_DIR) + "/dry_run_channel_plan.txt"));
    EXPECT_EQ(sim->StoredMemory(), before);
    EXPECT_EQ(WriteCommands(*sim), 0);

    ASSERT_EQ(run({"importcsv", plan}), kExitOk) << ErrText();
    EXPECT_GT(WriteCommands(*sim), 0);
    const int written = WriteCommands(*sim);
    EXPECT_EQ(run({"dryrun", "importcsv", plan, "exportcsv", "again.csv"}), kExitOk) << ErrText();
    EXPECT_EQ(OutText(),
              "Channel plan written to again.csv\n"
              "Dry run: nothing would change on modem 01427259; nothing was programmed.\n");
    EXPECT_EQ(WriteCommands(*sim), written);
    EXPECT_EQ(TempDir::Read(dir.File("again.csv")), TempDir::Read(plan));
}

// A load that fails after the capture still resets the modem; its trace, replayed, meets the
// program with the same modem, which fails the same way, and the replay sent every reply the
// modem gave.
TEST_F(HeadlessRun, ATraceOfAFailingLoadReplaysToTheSameFailure) {
    StartVxl(Plan({{&FaultPlan::noReplyTo, 20}}));
    const std::vector<std::string> load = {"stealth", "x", "softbreak", "device"};
    std::vector<std::string> args = load;
    args.insert(args.end(), {sim->LinkPath(), "trace", "field.txt"});
    EXPECT_EQ(RunVxlconf(args), kExitRunFailed);
    EXPECT_EQ(lastResult, rc::kCannotReadImage);
    EXPECT_NE(ErrText().find("code 73: Cannot Read Memory Map. (Coordinator:316)"),
              std::string::npos)
        << ErrText();
    EXPECT_EQ(TempDir::Read(dir.File("x.xml")), "");
    EXPECT_TRUE(sim->WaitFor([](const SimStatus& s) { return s.mode == ModemMode::kData; }, 3000))
        << "the modem was left in command mode";
    const std::vector<std::string> recorded = Results(dir.File("field.txt"));
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[1], "result Read: 73 Cannot Read Memory Map.");
    sim->Stop();

    SimOptions replay;
    replay.replayPath = dir.File("field.txt");
    StartModem(replay);
    args = load;
    args.insert(args.end(), {sim->LinkPath(), "trace", "replayed.txt"});
    EXPECT_EQ(RunVxlconf(args), kExitRunFailed);
    EXPECT_EQ(lastResult, rc::kCannotReadImage);
    EXPECT_EQ(Results(dir.File("replayed.txt")), recorded);
    const SimStatus status = sim->Status();
    EXPECT_GT(status.replaySteps, 10);
    EXPECT_EQ(status.replayStepsDone, status.replaySteps);
    EXPECT_FALSE(status.replayDiverged);
}

}  // namespace
}  // namespace vxl::sim::test
