// Getting into command mode: the "+++" escape with its guard times, and the capture window
// after power-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_harness.h"

namespace vxl::sim::test {
namespace {

struct Step {
    int waitMs;
    const char* bytes;  // sent after the wait
};

TEST(EscapeGuardTimes, DecideCommandMode) {
    const struct {
        const char* name;
        std::vector<Step> steps;
        int finalWaitMs;
        int hostBaud;
        int modemBaud;
        bool commandMode;
    } cases[] = {
        {"guarded", {{1200, "+++"}}, 1001, 9600, 9600, true},
        {"trailing guard not over", {{1200, "+++"}}, 990, 9600, 9600, false},
        {"silence before too short", {{0, "x"}, {900, "+++"}}, 1200, 9600, 9600, false},
        {"chatter after", {{1200, "+++"}, {500, "x"}}, 1200, 9600, 9600, false},
        {"fourth plus", {{1200, "++++"}}, 1200, 9600, 9600, false},
        {"pluses typed slowly", {{1200, "+"}, {300, "+"}, {300, "+"}}, 1100, 9600, 9600, true},
        {"pluses a guard apart", {{1200, "+"}, {1100, "+"}, {1100, "+"}}, 1100, 9600, 9600, false},
        {"data then guarded escape", {{0, "hello"}, {1100, "+++"}}, 1100, 9600, 9600, true},
        {"host at 19200", {{1200, "+++"}}, 1200, 19200, 9600, false},
        {"host at 4800", {{1200, "+++"}}, 1200, 4800, 9600, false},
        {"modem and host at 19200", {{1200, "+++"}}, 1200, 19200, 19200, true},
    };
    for (const auto& c : cases) {
        ModemProfile profile;
        profile.baud = c.modemBaud;
        LineHarness h(profile);
        h.hostBaud = c.hostBaud;
        for (const Step& step : c.steps) {
            h.Wait(step.waitMs);
            h.Send(Text(step.bytes));
        }
        h.Wait(c.finalWaitMs);
        EXPECT_EQ(h.firmware.Mode() == ModemMode::kCommand, c.commandMode) << c.name;
        const Bytes answer = c.commandMode ? Reply(0x21, 0x01) : Bytes{};
        EXPECT_EQ(h.Exchange(ReadMemoryFrame(0x100)), answer) << c.name;
    }
}

const Bytes kCapture = {0x01, 0x22, 0x00, 0xDD};

TEST(CaptureWindow, AnswersOnlyTheCaptureCommandAt9600EvenInAStreamUntilItCloses) {
    ModemProfile profile;
    profile.baud = 19200;  // the start-up code listens at 9600 whatever the modem's rate
    LineHarness h(profile);
    h.PowerCycle();
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kCaptureWindow);
    EXPECT_TRUE(h.Exchange(ReadMemoryFrame(0x10A)).empty());
    h.hostBaud = 19200;
    EXPECT_TRUE(h.Exchange(kCapture).empty());
    h.hostBaud = 9600;
    h.Wait(100);
    EXPECT_EQ(h.Exchange(kCapture), Reply(0x22, 0));
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kCommand);
    EXPECT_EQ(h.Exchange(ReadMemoryFrame(0x10A)), Reply(0x21, 0xD2));
    h.PowerCycle();
    // Power came back in the middle of a frame.
    EXPECT_EQ(h.Exchange({0x00, 0xDD, 0x01, 0x22, 0x00, 0xDD, 0x01, 0x22}), Reply(0x22, 0));
    h.PowerCycle();
    h.Wait(2001);
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kData);
    EXPECT_TRUE(h.Exchange(kCapture).empty());
}

}  // namespace
}  // namespace vxl::sim::test
