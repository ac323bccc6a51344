// Each fault the simulated modem can be told to show, as the host sees it.
#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <string>
#include <vector>

#include "line_harness.h"

namespace vxl::sim::test {
namespace {

const Bytes kGood = Reply(0x21, 0xD2);  // the answer to reading the model byte

Bytes Altered(Bytes bytes, int position) {
    bytes[position] ^= 0x40;
    return bytes;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct FaultCase {
    const char* name;
    std::function<void(FaultPlan&)> plan;
    std::vector<Bytes> replies;  // to three reads of the model byte
};

// Test names and failure messages show the case by its name.
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class ReplyFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ReplyFaults, ShowUpOnTheRightCommand) {
    LineHarness h;
    FaultPlan plan;
    GetParam().plan(plan);
    h.CommandModeWith(plan);
    for (size_t i = 0; i < GetParam().replies.size(); ++i)
        EXPECT_EQ(h.Exchange(ReadFrame(0x10A)), GetParam().replies[i]) << "command " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(
    Sim, ReplyFaults,
    ::testing::Values(
        FaultCase{"none", [](FaultPlan&) {}, {kGood, kGood, kGood}},
        FaultCase{"no_reply_to_second", [](FaultPlan& p) { p.noReplyTo = 2; }, {kGood, {}, kGood}},
        FaultCase{"wrong_byte_1",
                  [](FaultPlan& p) { p.wrongByteIn = 2; },
                  {kGood, Altered(kGood, 1), kGood}},
        FaultCase{"wrong_byte_0",
                  [](FaultPlan& p) {
                      p.wrongByteIn = 1;
                      p.wrongBytePosition = 0;
                  },
                  {Altered(kGood, 0), kGood, kGood}},
        FaultCase{"excess_bytes",
                  [](FaultPlan& p) {
                      p.excessBytesAfter = 3;
                      p.excessByteCount = 2;
                  },
                  {kGood, kGood, Concat(kGood, {0x5A, 0x5A})}},
        FaultCase{"noise_first",
                  [](FaultPlan& p) {
                      p.noiseBeforeReply = 1;
                      p.noiseByteCount = 2;
                  },
                  {Concat({0xFE, 0x7F}, kGood), kGood, kGood}},
        FaultCase{"stop_after_two", [](FaultPlan& p) { p.stopAfter = 2; }, {kGood, kGood, {}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplyFaultsTiming, SlowRepliesComeLate) {
    LineHarness h;
    FaultPlan plan;
    plan.replyDelayMs = 500;
    h.CommandModeWith(plan);
    EXPECT_TRUE(h.Exchange(ReadFrame(0x10A), 499).empty());
    EXPECT_EQ(h.Wait(2), kGood);
}

TEST(ReplyFaultsTiming, StoppedModemStillCountsButIgnoresUnlock) {
    LineHarness h;
    FaultPlan plan;
    plan.stopAfter = 1;
    h.CommandModeWith(plan);
    h.Exchange(Frame(0x02));
    EXPECT_TRUE(h.Exchange(UnlockFrame(h.firmware.Memory())).empty());
    EXPECT_FALSE(h.firmware.Unlocked());
    EXPECT_EQ(h.firmware.CommandCount(), 2);
}

TEST(ReplyFaultsTiming, HangUpComesOnceTheReplyIsOut) {
    LineHarness h(ModemProfile(), true);
    FaultPlan plan;
    plan.hangUpAfter = 2;
    h.CommandModeWith(plan);
    EXPECT_EQ(h.Exchange(ReadFrame(0x10A), 20), kGood);
    EXPECT_FALSE(h.line.HangUpDue(h.nowUs));
    h.Send(ReadFrame(0x10A));
    h.Wait(6);
    EXPECT_FALSE(h.line.HangUpDue(h.nowUs)) << "the reply is still on the wire";
    EXPECT_EQ(h.Wait(14), kGood);
    EXPECT_FALSE(h.line.HangUpDue(h.nowUs)) << "the program gets a moment to read the reply";
    h.Wait(20);
    EXPECT_TRUE(h.line.HangUpDue(h.nowUs));
}

TEST(ReplyFaultsTiming, LateReplyArrivesAsGarbageAfterARateChange) {
    LineHarness h;
    FaultPlan plan;
    plan.lateReplyMs = 300;
    h.firmware.SetFaults(plan);
    h.SetHostBaud(38400);
    EXPECT_TRUE(h.Wait(299).empty());
    const Bytes late = h.Wait(2);
    EXPECT_FALSE(late.empty());
    EXPECT_NE(late, kGood);
    h.SetHostBaud(38400);  // no change, no late reply
    EXPECT_TRUE(h.Wait(1000).empty());
}

TEST(ReplyFaultsTiming, InjectedNoiseGoesOutAtTheModemsRate) {
    LineHarness h;
    h.line.Inject({0x55, 0xAA}, h.nowUs);
    EXPECT_EQ(h.Wait(1), (Bytes{0x55, 0xAA}));
    h.hostBaud = 19200;
    h.line.Inject({0x55, 0xAA}, h.nowUs);
    EXPECT_NE(h.Wait(1), (Bytes{0x55, 0xAA}));
}

}  // namespace
}  // namespace vxl::sim::test
