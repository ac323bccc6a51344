// Programming with nothing loaded, the ETS question, factory frequencies and defaults.
#include <gtest/gtest.h>

#include "coordinator/factory_operations.h"
#include "coordinator_harness.h"
#include "params/parameter_ids.h"
#include "support/golden.h"
#include "util/format.h"

namespace vxl::test {
namespace {

// Without a modem every operation returns 57 (importing finds nothing to change), and nothing is
// sent or written, nor any value shown.
TEST(CoordinatorProgram, NothingLoadedReturns57) {
    CoordinatorHarness h;
    WorkingSettings& s = h.coordinator.Settings();
    EXPECT_EQ(h.coordinator.Program(h.response), rc::kMissingArgument);
    EXPECT_EQ(h.coordinator.Undo(), rc::kMissingArgument);
    EXPECT_EQ(s.ApplyDefaults(), rc::kMissingArgument);
    EXPECT_EQ(vxl::SetFactoryFrequencies(h.coordinator), rc::kMissingArgument);
    EXPECT_EQ(s.SetInt(pid::kBaudRate, 1), rc::kMissingArgument);
    h.coordinator.SetView(&h.view);
    EXPECT_EQ(s.ClearChannelTable(), rc::kMissingArgument);
    EXPECT_EQ(s.ExportChannelTable(h.dir.File("t.upg"), 0), rc::kMissingArgument);
    EXPECT_EQ(s.ExportXml(h.dir.File("s")), rc::kMissingArgument);
    EXPECT_EQ(s.ImportChannelTable(h.dir.File("t.upg")), rc::kOk);
    EXPECT_TRUE(h.modem.commands.empty());
    EXPECT_TRUE(h.view.calls.empty());
    EXPECT_EQ(TempDir::Read(h.dir.File("t.upg")) + TempDir::Read(h.dir.File("s.xml")), "");
}

// Model byte 0x80 | model << 4 | band at offset 0x0A; the power code 1 (2 W) is in the demo.
// The question and what each answer does: tests/data.
TEST(CoordinatorProgram, TheEtsQuestionIsAskedOnlyForTheLowPowerBaseInTheNarrowBands) {
    const struct {
        const char* name;
        int model, band;
        MsgAnswer answer;
    } cases[] = {{"LP Base, cancelled", 3, 6, MsgAnswer::Cancel},
                 {"LP Base, continued", 3, 6, MsgAnswer::Continue},
                 {"LP Base, wide band", 3, 2, MsgAnswer::Cancel},
                 {"VXL, narrow band", 5, 6, MsgAnswer::Cancel}};
    std::string outcomes;
    for (const auto& c : cases) {
        CoordinatorHarness h;
        ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk);
        ASSERT_EQ(h.coordinator.Settings().WriteByte(0x0A, 0x80 | c.model << 4 | c.band), rc::kOk);
        ASSERT_EQ(h.Int(pid::kPower), 1);
        h.ui.ScriptAnswers({c.answer});
        const int result = h.coordinator.Program(h.response);
        outcomes += Format("## %s: %d, programmed %d, modified %d\n", c.name, result,
                           h.coordinator.IsProgrammed(), h.coordinator.IsModified()) +
                    Transcript(h.ui) + Answers(h.ui) + "\n";
    }
    EXPECT_TRUE(MatchesGolden("ets_question.txt", outcomes));
}

TEST(CoordinatorFactory, SetFactoryFrequenciesFillsTheRangeTableAndEmptiesTheRest) {
    CoordinatorHarness h;
    ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk);
    ASSERT_EQ(h.Int(pid::kFrequency), 2);
    ASSERT_EQ(vxl::SetFactoryFrequencies(h.coordinator), rc::kOk);
    for (int k = 0; k < 16; ++k) {  // the range's four channels, the others emptied
        const double rx = h.Real(pid::RxChannelId(k)), tx = h.Real(pid::TxChannelId(k));
        EXPECT_EQ(rx >= 450.0 && tx >= 450.0, k < 4) << k;
        EXPECT_EQ(rx + tx == 0.0, k >= 4) << k;
    }
}

TEST(CoordinatorDefaults, ApplyDefaultsChangesEveryParameterButTheUserFields) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk);
    ASSERT_EQ(h.coordinator.Settings().SetText(pid::kOwner, "Depot"), rc::kOk);
    ASSERT_EQ(h.coordinator.Settings().WriteByte(0x97, 3), rc::kOk);  // Digisquelch "Off"
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.Settings().ApplyDefaults(), rc::kOk);
    EXPECT_EQ(h.Int(pid::kDigisquelch), h.Set()->GetDefaultInt(pid::kDigisquelch));
    EXPECT_EQ(h.Int(pid::kParity), h.Set()->GetDefaultInt(pid::kParity));
    EXPECT_EQ(h.Text(pid::kOwner), "Depot");
    EXPECT_EQ(h.view.calls, std::vector<std::string>{"Values *"});
}

}  // namespace
}  // namespace vxl::test
