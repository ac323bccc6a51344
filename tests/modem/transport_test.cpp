// The lower layer: line time after a send, the reply wait and its poll limit,
// text collection.
#include <algorithm>

#include "protocol_fixture.h"

namespace vxl::test {
namespace {

class TransportTest : public ProtocolTest {
  protected:
    TransportTest() { link.writeCostMs = 0; }
    const uint8_t readCmd[5] = {0x01, 0x21, 0x01, 0x00, 0xDD};
    uint8_t reply[8] = {};
};

TEST_F(TransportTest, SendRawPurgesWritesAndWaitsTheLineTime) {
    // Rate 0: the line settings cannot be read; the wait is still 1 ms.
    const struct {
        int baud, length;
        int64_t expectedMs;
    } cases[] = {{9600, 5, 6}, {1200, 4, 34}, {0, 5, 1}};
    for (const auto& c : cases) {
        link.baudReadable = c.baud != 0;
        link.SetBaud(c.baud);
        link.log.clear();
        int64_t before = clock.NowMs();
        Bytes bytes(static_cast<size_t>(c.length), 0x55);
        EXPECT_EQ(CModem::SendRaw(&link, bytes.data(), c.length), rc::kOk);
        EXPECT_EQ(clock.NowMs() - before, c.expectedMs) << c.baud << " baud, " << c.length;
        EXPECT_EQ(link.log, (std::vector<std::string>{"purge", "write"}));
        EXPECT_EQ(link.writes.back(), bytes);
    }
}

// The wait looks once a millisecond and ends as soon as the reply is complete. It gives up after
// the poll limit in ms, but never before the reply's line time plus 516 ms for an adapter's
// latency and a busy machine: 521 ms at 9600 baud, 550 ms at 1200, 518 ms at 38400.
TEST_F(TransportTest, TheReplyWaitAllowsForLineAndAdapterButEndsWhenComplete) {
    const struct {
        int baud, replyOnPoll, pollLimit, expected;
        int64_t waitedMs;  // after the command's own line time
    } cases[] = {
        // clang-format off
        {9600, 1, 10, rc::kOk, 0},         {9600, 522, 10, rc::kOk, 521},
        {9600, 523, 10, -rc::kTimeout, 521}, {9600, 800, 1000, rc::kOk, 799},
        {9600, 1002, 1000, -rc::kTimeout, 1000}, {1200, 540, 10, rc::kOk, 539},
        {1200, 552, 10, -rc::kTimeout, 550}, {38400, 520, 10, -rc::kTimeout, 518},
        {9600, 1, 0, -rc::kTimeout, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.baud << " baud, reply on poll " << c.replyOnPoll
                                        << " of " << c.pollLimit);
        link.SetBaud(c.baud);
        AnswerEveryWrite({0x01, 0xA1, 0x42, 0x1C}, c.replyOnPoll);
        const int64_t lineMs = c.baud == 9600 ? 6 : c.baud == 1200 ? 42 : 2;
        const int64_t before = clock.NowMs();
        EXPECT_EQ(CModem::Transact(&link, readCmd, 5, reply, 4, c.pollLimit), c.expected);
        EXPECT_EQ(clock.NowMs() - before, lineMs + c.waitedMs);
        if (c.expected == rc::kOk) {
            EXPECT_EQ(reply[2], 0x42);
        }
    }
}

// Stray bytes count as excess even when no reply is awaited (and then nothing is polled for).
TEST_F(TransportTest, ExcessBytesWithoutAnAwaitedReply) {
    const int64_t before = clock.NowMs();
    EXPECT_EQ(CModem::Transact(&link, readCmd, 5, nullptr, 0, 0), rc::kOk);
    EXPECT_EQ(clock.NowMs() - before, 6) << "the line time only";
    AnswerEveryWrite({'.'}, 0);
    EXPECT_EQ(CModem::Transact(&link, readCmd, 5, reply, 0, 512), -rc::kExcessBytes);
    EXPECT_EQ(reply[0], 0);
}

TEST_F(TransportTest, ReadUntilCollectsPiecesUpToTheTerminatorWithinItsWait) {
    const std::string block(9000, 'x');
    const struct {
        std::vector<std::pair<std::string, int>> pieces;  // text, visible on this poll
        int pollLimit, expected;
        std::string text;
        int64_t ms;
    } cases[] = {
        {{{"KTR ", 3}, {"Loader PASS?", 7}}, 100, rc::kOk, "KTR Loader PASS?", 6},
        {{{"KTR", 2}}, 600, -rc::kTimeout, "KTR", 600},
        {{{"?", 5}}, 5, rc::kOk, "?", 4},  // a short limit still allows for an adapter
        {{{block, 1}, {block, 2}, {"DONE?", 3}}, 10, rc::kOk, block + block + "DONE?", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        for (const auto& [text, poll] : c.pieces)
            link.Deliver(Bytes(text.begin(), text.end()), poll);
        std::string text = "old";
        const int64_t before = clock.NowMs();
        EXPECT_EQ(CModem::ReadUntil(&link, text, '?', c.pollLimit), c.expected);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(clock.NowMs() - before, c.ms);
    }
}

}  // namespace
}  // namespace vxl::test
