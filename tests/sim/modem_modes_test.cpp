// Getting into command mode: the "+++" escape with its guard times, and the capture window
// after power-up.
#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "line_harness.h"

namespace vxl::sim::test {
namespace {

struct Step {
    int waitMs;
    const char* bytes;  // sent after the wait
};

struct EscapeCase {
    const char* name;
    std::vector<Step> steps;
    int finalWaitMs;
    int hostBaud;
    bool commandMode;
};

// Test names and failure messages show the case by its name.
void PrintTo(const EscapeCase& c, std::ostream* os) {
    *os << c.name;
}

class EscapeGuardTimes : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeGuardTimes, DecideCommandMode) {
    const EscapeCase& c = GetParam();
    LineHarness h;
    h.hostBaud = c.hostBaud;
    for (const Step& step : c.steps) {
        h.Wait(step.waitMs);
        h.Send(Text(step.bytes));
    }
    h.Wait(c.finalWaitMs);
    EXPECT_EQ(h.firmware.Mode() == ModemMode::kCommand, c.commandMode);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, EscapeGuardTimes,
    ::testing::Values(
        EscapeCase{"guarded", {{1200, "+++"}}, 1001, 9600, true},
        EscapeCase{"trailing_guard_not_over", {{1200, "+++"}}, 990, 9600, false},
        EscapeCase{"silence_before_too_short", {{0, "x"}, {900, "+++"}}, 1200, 9600, false},
        EscapeCase{"chatter_after", {{1200, "+++"}, {500, "x"}}, 1200, 9600, false},
        EscapeCase{"fourth_plus", {{1200, "++++"}}, 1200, 9600, false},
        EscapeCase{"pluses_typed_slowly", {{1200, "+"}, {300, "+"}, {300, "+"}}, 1100, 9600, true},
        EscapeCase{
            "pluses_a_guard_apart", {{1200, "+"}, {1100, "+"}, {1100, "+"}}, 1100, 9600, false},
        EscapeCase{"data_then_guarded_escape", {{0, "hello"}, {1100, "+++"}}, 1100, 9600, true},
        EscapeCase{"host_at_19200", {{1200, "+++"}}, 1200, 19200, false},
        EscapeCase{"host_at_4800", {{1200, "+++"}}, 1200, 4800, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EscapeGuardTimes, ModemAtAnotherRateIsFoundAtItsOwnRate) {
    ModemProfile profile;
    profile.baud = 19200;
    LineHarness h(profile);
    h.SoftBreak();
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kData);
    h.SetHostBaud(19200);
    h.SoftBreak();
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kCommand);
    EXPECT_EQ(h.Exchange(ReadFrame(0x100)), Reply(0x21, 0x01));
}

const Bytes kCapture = {0x01, 0x22, 0x00, 0xDD};

TEST(CaptureWindow, AnswersTheCaptureCommandAfterPowerUp) {
    ModemProfile profile;
    profile.baud = 19200;  // the start-up code listens at 9600 whatever the modem's rate
    LineHarness h(profile);
    h.PowerCycle();
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kCaptureWindow);
    h.Wait(300);
    EXPECT_EQ(h.Exchange(kCapture), Reply(0x22, 0));
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kCommand);
    EXPECT_EQ(h.Exchange(ReadFrame(0x10A)), Reply(0x21, 0xD2));
}

TEST(CaptureWindow, FindsTheCommandInAContinuousStream) {
    LineHarness h;
    h.PowerCycle();
    // Power came back in the middle of a frame.
    EXPECT_EQ(h.Exchange({0x00, 0xDD, 0x01, 0x22, 0x00, 0xDD, 0x01, 0x22}), Reply(0x22, 0));
}

TEST(CaptureWindow, ClosesAfterItsTime) {
    LineHarness h;
    h.PowerCycle();
    h.Wait(2001);
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kData);
    EXPECT_TRUE(h.Exchange(kCapture).empty());
}

TEST(CaptureWindow, IgnoresOtherCommandsAndOtherRates) {
    LineHarness h;
    h.PowerCycle();
    EXPECT_TRUE(h.Exchange(ReadFrame(0x10A)).empty());
    h.hostBaud = 19200;
    EXPECT_TRUE(h.Exchange(kCapture).empty());
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kCaptureWindow);
}

TEST(CaptureWindow, PowerCycleLosesUncommittedWritesAndLocks) {
    LineHarness h;
    h.CaptureAndUnlock();
    h.Exchange(WriteFrame(0x140, 0x99));
    h.PowerCycle();
    EXPECT_FALSE(h.firmware.Unlocked());
    EXPECT_EQ(h.Exchange(kCapture), Reply(0x22, 0));
    EXPECT_EQ(h.Exchange(ReadFrame(0x140)), Reply(0x21, 0x00));
    EXPECT_EQ(h.Exchange(WriteFrame(0x140, 0x99)), Reply(0x20, 1));
}

}  // namespace
}  // namespace vxl::sim::test
