// The lower layer: line time after a send, the reply wait and its poll limit, text collection.
#include <gtest/gtest.h>

#include "modem/modem.h"
#include "protocol_fixture.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

class TransportTest : public ProtocolTest {
  protected:
    TransportTest() { link.writeCostMs = 0; }
    const uint8_t readCmd[5] = {0x01, 0x21, 0x01, 0x00, 0xDD};
    uint8_t reply[8] = {};
};

TEST_F(TransportTest, SendRawPurgesWritesAndWaitsTheLineTime) {
    struct Case {
        int baud;
        int length;
        int64_t expectedMs;
    };
    const Case cases[] = {{9600, 5, 6}, {9600, 4, 5}, {1200, 4, 34}, {38400, 9, 3}, {300, 1, 34}};
    for (const Case& c : cases) {
        link.SetBaud(c.baud);
        link.log.clear();
        int64_t before = clock.NowMs();
        std::vector<uint8_t> bytes(static_cast<size_t>(c.length), 0x55);
        EXPECT_EQ(CModem::SendRaw(&link, bytes.data(), c.length), rc::kOk);
        EXPECT_EQ(clock.NowMs() - before, c.expectedMs) << c.baud << " baud, " << c.length;
        EXPECT_EQ(link.log, (std::vector<std::string>{"purge", "write"}));
        EXPECT_EQ(link.writes.back(), bytes);
    }
}

TEST_F(TransportTest, SendRawWithAnUnreadableRateStillWaitsOneMs) {
    link.baudReadable = false;
    EXPECT_EQ(CModem::SendRaw(&link, readCmd, 5), rc::kOk);
    EXPECT_EQ(clock.NowMs(), 1);
}

TEST_F(TransportTest, MissingArgumentsAreRefusedBeforeAnythingIsSent) {
    EXPECT_EQ(CModem::SendRaw(nullptr, readCmd, 5), rc::kBadParameters);
    EXPECT_EQ(CModem::SendRaw(&link, nullptr, 5), rc::kBadParameters);
    EXPECT_EQ(CModem::SendRaw(&link, readCmd, 0), rc::kBadParameters);
    EXPECT_EQ(CModem::Transact(nullptr, readCmd, 5, reply, 4, 10), rc::kBadParameters);
    EXPECT_EQ(CModem::Transact(&link, nullptr, 5, reply, 4, 10), rc::kBadParameters);
    EXPECT_EQ(CModem::Transact(&link, readCmd, 0, reply, 4, 10), rc::kBadParameters);
    EXPECT_EQ(CModem::Transact(&link, readCmd, 5, reply, -1, 10), rc::kBadParameters);
    EXPECT_EQ(CModem::Transact(&link, readCmd, 5, reply, 4, -1), rc::kBadParameters);
    EXPECT_EQ(CModem::Transact(&link, readCmd, 5, nullptr, 4, 10), rc::kBadParameters);
    std::string text;
    EXPECT_EQ(CModem::ReadUntil(nullptr, text, '?', 10), rc::kBadParameters);
    EXPECT_EQ(CModem::ReadUntil(&link, text, '?', -1), rc::kBadParameters);
    EXPECT_TRUE(link.writes.empty());
    EXPECT_EQ(link.purges, 0);
}

TEST_F(TransportTest, TheReplyMustBeCompleteBeforeTheLastPermittedPoll) {
    struct Case {
        int replyOnPoll;
        int pollLimit;
        int expected;
    };
    const Case cases[] = {
        {1, 10, rc::kOk},      {9, 10, rc::kOk}, {10, 10, -rc::kTimeout}, {11, 10, -rc::kTimeout},
        {1, 1, -rc::kTimeout}, {1, 2, rc::kOk},  {0, 0, -rc::kTimeout},
    };
    for (const Case& c : cases) {
        AnswerEveryWrite({0x01, 0xA1, 0x42, 0x1C}, c.replyOnPoll);
        EXPECT_EQ(CModem::Transact(&link, readCmd, 5, reply, 4, c.pollLimit), c.expected)
            << "reply on poll " << c.replyOnPoll << ", limit " << c.pollLimit;
    }
}

TEST_F(TransportTest, ATimeoutWaitsOnePollPerMsUpToTheLimit) {
    AnswerEveryWrite({0x01, 0xA1, 0x42}, 1);  // one byte short
    int64_t before = clock.NowMs();
    EXPECT_EQ(CModem::Transact(&link, readCmd, 5, reply, 4, 25), -rc::kTimeout);
    EXPECT_EQ(link.countPolls, 25);
    EXPECT_EQ(clock.NowMs() - before, 6 + 25);
}

TEST_F(TransportTest, ExcessBytesAreReportedButTheReplyIsStillDelivered) {
    AnswerEveryWrite({0x01, 0xA1, 0x42, 0x1C, 0x77}, 1);
    std::fill(std::begin(reply), std::end(reply), 0xEE);
    EXPECT_EQ(CModem::Transact(&link, readCmd, 5, reply, 4, 100), -rc::kExcessBytes);
    EXPECT_EQ(std::vector<uint8_t>(reply, reply + 5),
              (std::vector<uint8_t>{0x01, 0xA1, 0x42, 0x1C, 0x00}));
}

TEST_F(TransportTest, ReplyLengthZeroDoesNotWaitButCatchesStrayBytes) {
    EXPECT_EQ(CModem::Transact(&link, readCmd, 5, nullptr, 0, 0), rc::kOk);
    EXPECT_EQ(clock.NowMs(), 6);  // the line time only, no poll
    AnswerEveryWrite({'.'}, 0);
    EXPECT_EQ(CModem::Transact(&link, readCmd, 5, reply, 0, 512), -rc::kExcessBytes);
    EXPECT_EQ(reply[0], 0);
}

TEST_F(TransportTest, ReadUntilCollectsPiecesUpToTheTerminator) {
    link.Deliver({'K', 'T', 'R', ' '}, 3);
    link.Deliver({'L', 'o', 'a', 'd', 'e', 'r', ' ', 'P', 'A', 'S', 'S', '?'}, 7);
    std::string text;
    EXPECT_EQ(CModem::ReadUntil(&link, text, '?', 100), rc::kOk);
    EXPECT_EQ(text, "KTR Loader PASS?");
    EXPECT_EQ(clock.NowMs(), 6) << "one ms per poll until the text is complete";
}

TEST_F(TransportTest, ReadUntilTimeoutKeepsWhatArrived) {
    link.Deliver({'K', 'T', 'R'}, 2);
    std::string text = "old";
    EXPECT_EQ(CModem::ReadUntil(&link, text, '?', 50), -rc::kTimeout);
    EXPECT_EQ(text, "KTR");
    EXPECT_EQ(clock.NowMs(), 50) << "one ms per poll";
    // A terminator seen on the last permitted poll is too late.
    link.Deliver({'?'}, 5);
    EXPECT_EQ(CModem::ReadUntil(&link, text, '?', 5), -rc::kTimeout);
    EXPECT_EQ(text, "?");
}

TEST_F(TransportTest, ReadUntilGrowsPastItsFirstBuffer) {
    std::vector<uint8_t> block(9000, 'x');
    link.Deliver(block, 1);
    link.Deliver(block, 2);
    link.Deliver({'D', 'O', 'N', 'E', '?'}, 3);
    std::string text;
    EXPECT_EQ(CModem::ReadUntil(&link, text, '?', 10), rc::kOk);
    EXPECT_EQ(text.size(), 18005u);
    EXPECT_EQ(text.substr(18000), "DONE?");
}

}  // namespace
}  // namespace vxl::test
