// Programming, undo, defaults and the Factory page's operations.
#include <gtest/gtest.h>

#include <ostream>

#include "coordinator_harness.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

constexpr int kImageBytes = 246 + 9;  // main block and extension of a type-4 modem from 1.04 on
constexpr int kOwnerAddress = 0x16B;

TEST(CoordinatorProgram, WritesTheWholeImageAndCommitsIt) {
    CoordinatorHarness h;
    ASSERT_EQ(h.Load(), rc::kOk);
    ASSERT_EQ(h.coordinator.SetTextParameter(pid::kOwner, "Quarry"), rc::kOk);
    EXPECT_EQ(h.coordinator.Program(h.response), rc::kOk);
    EXPECT_EQ(h.modem.writes, kImageBytes);
    EXPECT_EQ(h.modem.commits, 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&h.modem.memory[kOwnerAddress]), 6),
              "Quarry");
    EXPECT_FALSE(h.coordinator.IsModified());
    EXPECT_TRUE(h.coordinator.IsProgrammed());
    EXPECT_TRUE(h.ui.messages.empty());
}

struct ProgramFault {
    const char* name;
    int refuseWriteAddress;
    bool refuseCommit;
};

void PrintTo(const ProgramFault& c, std::ostream* os) {
    *os << c.name;
}

class CoordinatorProgramFaults : public ::testing::TestWithParam<ProgramFault> {};

TEST_P(CoordinatorProgramFaults, KeepTheChangesUnprogrammedAndARetryWritesEverything) {
    const ProgramFault& f = GetParam();
    CoordinatorHarness h;
    ASSERT_EQ(h.Load(), rc::kOk);
    ASSERT_EQ(h.coordinator.SetTextParameter(pid::kOwner, "Quarry"), rc::kOk);
    h.modem.refuseWriteAddress = f.refuseWriteAddress;
    h.modem.refuseCommit = f.refuseCommit;

    EXPECT_EQ(h.coordinator.Program(h.response), rc::kIncorrectResponse);
    EXPECT_TRUE(h.coordinator.IsModified());
    EXPECT_FALSE(h.coordinator.IsProgrammed());
    EXPECT_FALSE(h.response.empty());

    // Undo still returns to what the modem held before.
    h.modem.refuseWriteAddress = -1;
    h.modem.refuseCommit = false;
    h.modem.writes = 0;
    EXPECT_EQ(h.coordinator.Program(h.response), rc::kOk);
    EXPECT_EQ(h.modem.writes, kImageBytes);
    EXPECT_FALSE(h.coordinator.IsModified());
    EXPECT_TRUE(h.coordinator.IsProgrammed());
}

INSTANTIATE_TEST_SUITE_P(Steps, CoordinatorProgramFaults,
                         ::testing::Values(ProgramFault{"WriteRefused", 0x180, false},
                                           ProgramFault{"CommitRefused", -1, true}),
                         [](const ::testing::TestParamInfo<ProgramFault>& info) {
                             return info.param.name;
                         });

TEST(CoordinatorProgram, UndoAfterAFailedProgramRestoresWhatTheModemHeld) {
    CoordinatorHarness h;
    ASSERT_EQ(h.Load(), rc::kOk);
    ASSERT_EQ(h.coordinator.SetTextParameter(pid::kOwner, "Quarry"), rc::kOk);
    h.modem.refuseCommit = true;
    ASSERT_NE(h.coordinator.Program(h.response), rc::kOk);
    ASSERT_EQ(h.coordinator.Undo(), rc::kOk);
    EXPECT_EQ(h.Text(pid::kOwner), "");
    EXPECT_FALSE(h.coordinator.IsModified());
}

TEST(CoordinatorProgram, UndoAfterProgramChangesNothing) {
    CoordinatorHarness h;
    ASSERT_EQ(h.Load(), rc::kOk);
    ASSERT_EQ(h.coordinator.SetTextParameter(pid::kOwner, "Quarry"), rc::kOk);
    ASSERT_EQ(h.coordinator.Program(h.response), rc::kOk);
    EXPECT_EQ(h.coordinator.Undo(), rc::kOk);
    EXPECT_EQ(h.Text(pid::kOwner), "Quarry");
    EXPECT_FALSE(h.coordinator.IsModified());
}

TEST(CoordinatorProgram, NothingLoadedReturns57) {
    CoordinatorHarness h;
    EXPECT_EQ(h.coordinator.Program(h.response), rc::kMissingArgument);
    EXPECT_EQ(h.coordinator.Undo(), rc::kMissingArgument);
    EXPECT_EQ(h.coordinator.ApplyDefaults(), rc::kMissingArgument);
    EXPECT_EQ(h.coordinator.SetFactoryFrequencies(), rc::kMissingArgument);
    EXPECT_EQ(h.coordinator.SetIntParameter(pid::kBaudRate, 1), rc::kMissingArgument);
    EXPECT_EQ(h.modem.writes, 0);
}

struct EtsCase {
    const char* name;
    int model;
    int frequency;
    MsgAnswer answer;
    bool asked;
    bool written;
};

void PrintTo(const EtsCase& c, std::ostream* os) {
    *os << c.name;
}

class CoordinatorEtsQuestion : public ::testing::TestWithParam<EtsCase> {};

// Model byte 0x80 | model << 4 | band at offset 0x0A; the power code 1 (2 W) is in the demo.
TEST_P(CoordinatorEtsQuestion, IsAskedOnlyForTheLowPowerBaseInTheNarrowBands) {
    const EtsCase& e = GetParam();
    CoordinatorHarness h;
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    ASSERT_EQ(h.coordinator.WriteMemoryByte(
                  0x0A, static_cast<uint8_t>(0x80 | e.model << 4 | e.frequency)),
              rc::kOk);
    ASSERT_EQ(h.Int(pid::kPower), 1);
    h.ui.ScriptAnswers({e.answer});

    EXPECT_EQ(h.coordinator.Program(h.response), rc::kOk);

    ASSERT_EQ(h.ui.messages.size(), e.asked ? 1u : 0u);
    if (e.asked) {
        EXPECT_EQ(h.ui.messages[0].caption, "Warning!!!");
        EXPECT_EQ(h.ui.messages[0].text,
                  "Operation of 2 Watt 4LVFSK Modulation has not been approved for use under ETS "
                  "300 113.");
        EXPECT_EQ(h.ui.messages[0].buttons, MsgButtons::ContinueCancel);
    }
    EXPECT_EQ(h.coordinator.IsProgrammed(), e.written);
    EXPECT_EQ(h.coordinator.IsModified(), !e.written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CoordinatorEtsQuestion,
    ::testing::Values(EtsCase{"LpBaseCancelled", 3, 6, MsgAnswer::Cancel, true, false},
                      EtsCase{"LpBaseContinued", 3, 6, MsgAnswer::Continue, true, true},
                      EtsCase{"LpBaseWideBand", 3, 2, MsgAnswer::Cancel, false, true},
                      EtsCase{"VxlNarrowBand", 5, 6, MsgAnswer::Cancel, false, true}),
    [](const ::testing::TestParamInfo<EtsCase>& info) { return info.param.name; });

TEST(CoordinatorFactory, SetFactoryFrequenciesFillsTheRangeTableAndEmptiesTheRest) {
    CoordinatorHarness h;
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    ASSERT_EQ(h.Int(pid::kFrequency), 2);
    ASSERT_EQ(h.coordinator.SetFactoryFrequencies(), rc::kOk);
    const double expected[4] = {459.85, 450.15, 469.85, 457.275};
    for (int k = 0; k < 16; ++k) {
        SCOPED_TRACE(k);
        const double mhz = k < 4 ? expected[k] : 0.0;
        // The synthesizer word resolves 12.5 kHz steps.
        EXPECT_NEAR(h.Real(pid::RxChannelId(k)), mhz, 0.0125);
        EXPECT_NEAR(h.Real(pid::TxChannelId(k)), mhz, 0.0125);
    }
}

TEST(CoordinatorFactory, SetFactoryFrequenciesRefusesARangeBeyondTheModelsTable) {
    CoordinatorHarness h;
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    ASSERT_EQ(h.coordinator.WriteMemoryByte(0x0A, 0xDB), rc::kOk);  // VXL, band 11
    const double before = h.Real(pid::RxChannelId(1));
    EXPECT_EQ(h.coordinator.SetFactoryFrequencies(), rc::kBadModelRow);
    EXPECT_EQ(h.Real(pid::RxChannelId(1)), before);
}

TEST(CoordinatorFactory, ClearUserFieldsEmptiesOwnerAndCallSign) {
    CoordinatorHarness h;
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    ASSERT_EQ(h.coordinator.SetTextParameter(pid::kOwner, "Site 9"), rc::kOk);
    ASSERT_EQ(h.coordinator.SetTextParameter(pid::kCallSign, "KD7XYZ"), rc::kOk);
    EXPECT_EQ(h.coordinator.ClearUserFields(), rc::kOk);
    EXPECT_EQ(h.Text(pid::kOwner), "");
    EXPECT_EQ(h.Text(pid::kCallSign), "");
}

TEST(CoordinatorFactory, FactoryTestSettingsSetTheTestValues) {
    CoordinatorHarness h;
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    ASSERT_EQ(h.coordinator.WriteMemoryByte(0xA0, 2), rc::kOk);  // synthesizer type 2
    EXPECT_EQ(h.coordinator.ApplyFactoryTestSettings(), rc::kOk);
    const struct {
        int id;
        int value;
    } expected[] = {
        {pid::kSynthesizerType, 4}, {pid::kRXDelay, 7},     {pid::kTXDelay, 0},
        {pid::kFrequencyError, 0},  {pid::kLinkRate, 3},    {pid::kModulationType, 0},
        {pid::kDigisquelch, 0},     {pid::kBaudRate, 1},    {pid::kProtocolMode, 2},
        {pid::kCrystal, 7},         {pid::kSystemClock, 0}, {pid::kLastFailure, 0},
    };
    for (const auto& e : expected) EXPECT_EQ(h.Int(e.id), e.value) << e.id;
    EXPECT_EQ(h.Real(pid::kDigipeaterDelay), 0.0);
    EXPECT_TRUE(h.Bool(pid::kModemEnable));
}

TEST(CoordinatorEdits, WriteMemoryByteChangesTheWorkingImageOnly) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.WriteMemoryByte(0x8B, 1), rc::kOk);  // BaudRate 9600
    EXPECT_EQ(h.Int(pid::kBaudRate), 1);
    EXPECT_TRUE(h.coordinator.IsModified());
    EXPECT_EQ(h.view.Count("FillPage 0"), 1);
    EXPECT_TRUE(h.view.Saw("UpdateDialog"));
    EXPECT_EQ(h.coordinator.WriteMemoryByte(0x400, 1), rc::kBadAddress);
}

TEST(CoordinatorEdits, ARefusedIntegerChangesNothingAndRefreshesNothing) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    h.view.calls.clear();
    EXPECT_NE(h.coordinator.SetIntParameter(200, 1), rc::kOk);
    EXPECT_NE(h.coordinator.SetIntParameter(pid::kBitPolarity, 1), rc::kOk);  // never available
    EXPECT_TRUE(h.view.calls.empty());
    EXPECT_FALSE(h.coordinator.IsModified());
}

}  // namespace
}  // namespace vxl::test
