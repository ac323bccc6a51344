// Faults the simulated modem can be told to show that no end-to-end run meets: missing replies,
// damaged replies on a given command, hang-ups and late replies are met there.
#include <gtest/gtest.h>

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

TEST(ReplyFaults, ShowUpOnTheRightCommand) {
    using P = FaultPlan;
    const struct {
        const char* name;
        FaultPlan plan;
        std::vector<Bytes> replies;  // to three reads of the model byte
    } cases[] = {
        {"wrong byte 0",
         Plan({{&P::wrongByteIn, 1}, {&P::wrongBytePosition, 0}}),
         {Altered(kGood, 0), kGood, kGood}},
        {"excess bytes",
         Plan({{&P::excessBytesAfter, 3}, {&P::excessByteCount, 2}}),
         {kGood, kGood, Concat(kGood, {0x5A, 0x5A})}},
        {"noise first",
         Plan({{&P::noiseBeforeReply, 1}, {&P::noiseByteCount, 2}}),
         {Concat({0xFE, 0x7F}, kGood), kGood, kGood}},
    };
    for (const auto& c : cases) {
        LineHarness h;
        h.CommandModeWith(c.plan);
        for (size_t i = 0; i < c.replies.size(); ++i)
            EXPECT_EQ(h.Exchange(ReadMemoryFrame(0x10A)), c.replies[i])
                << c.name << ", command " << i + 1;
    }
}

}  // namespace
}  // namespace vxl::sim::test
