// The single-exchange commands: frames, reply checks, diagnostics and result codes.
#include <gtest/gtest.h>

#include <functional>

#include "modem/modem.h"
#include "protocol_fixture.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

using Bytes = std::vector<uint8_t>;
std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

struct CommandCase {
    const char* name;
    std::function<int(CModem&, std::string&, uint8_t&)> run;
    Bytes frame;  // what must be sent
    Bytes reply;  // what the modem answers (empty: silence)
    int expected;
    std::string status;
    int value;  // the byte read, or -1
};

class CommandsTest : public ProtocolTest {};

int Read(CModem& m, std::string& s, uint8_t& v) {
    return m.ReadMemoryLocation(s, v, 0x010A, 100);
}
int ReadPort(ISerialLink* link, std::string& s, uint8_t& v) {
    return CModem::ReadMemoryLocationPort(s, link, v, 0x010A, 100);
}
int Write(CModem& m, std::string& s, uint8_t&) {
    return m.WriteMemoryLocation(s, 0x55, 0x0123);
}
int Reset(CModem& m, std::string& s, uint8_t&) {
    return m.Reset(s);
}
int Program(CModem& m, std::string& s, uint8_t&) {
    return m.Program(s);
}
int Baud9600(CModem& m, std::string& s, uint8_t&) {
    return m.WriteBaudRate(s, 9600);
}

TEST_F(CommandsTest, RepliesAreCheckedPerCommand) {
    const Bytes readFrame{0x01, 0x21, 0x01, 0x0A, 0xD3};
    const Bytes writeFrame{0x01, 0x20, 0x01, 0x23, 0x55, 0x66};
    const Bytes resetFrame{0x01, 0x1D, 0x00, 0xE2};
    const Bytes programFrame{0x01, 0x1E, 0xE1};
    const Bytes baudFrame{0x01, 0x01, 0x01, 0xFD};
    auto readPort = [this](CModem&, std::string& s, uint8_t& v) { return ReadPort(&link, s, v); };
    const std::string read = "CModem::ReadMemoryLocation->";
    // clang-format off
    const CommandCase cases[] = {
        {"read", Read, readFrame, {0x01, 0xA1, 0x55, 0x09}, rc::kOk, "", 0x55},
        {"read of zero", Read, readFrame, {0x01, 0xA1, 0x00, 0x5E}, rc::kOk, "", 0x00},
        {"read, byte 0 wrong", Read, readFrame, {0x02, 0xA1, 0x55, 0x09},
         rc::kIncorrectResponse, read + Text({0x02, 0xA1, 0x55, 0x09}), -1},
        {"read, wrong code", Read, readFrame, {0x01, 0xA0, 0x55, 0x09},
         rc::kIncorrectResponse, read + Text({0x01, 0xA0, 0x55, 0x09}), -1},
        {"read, excess", Read, readFrame, {0x01, 0xA1, 0x55, 0x09, 0x33},
         rc::kExcessBytes, read + Text({0x01, 0xA1, 0x55, 0x09}), -1},
        {"read, silence", Read, readFrame, {}, rc::kTimeout, read, -1},
        // An incomplete reply is not copied.
        {"read, short", Read, readFrame, {0x01, 0xA1}, rc::kTimeout, read, -1},
        {"port read", readPort, readFrame, {0x01, 0xA1, 0x66, 0x09}, rc::kOk, "", 0x66},
        {"port read, byte 0 wrong", readPort, readFrame, {0x07, 0xA1, 0x66, 0x09},
         rc::kIncorrectResponse, "ReadMemoryLocationPort->" + Text({0x07, 0xA1, 0x66, 0x09}), -1},
        {"write", Write, writeFrame, {0x01, 0xA0, 0x00, 0x5F}, rc::kOk, "", -1},
        // A modem that refuses the write (locked memory) says so in the status byte.
        {"write refused", Write, writeFrame, {0x01, 0xA0, 0x07, 0x5F},
         rc::kIncorrectResponse, "WriteMemoryLocation->" + Text({0x01, 0xA0, 0x07, 0x5F}), -1},
        {"write, byte 0 wrong", Write, writeFrame, {0x03, 0xA0, 0x07, 0x5F},
         rc::kIncorrectResponse, "WriteMemoryLocation->" + Text({0x03, 0xA0, 0x07, 0x5F}), -1},
        {"reset", Reset, resetFrame, {0x01, 0x9D, 0x00, 0x62}, rc::kOk, "", -1},
        {"reset, byte 0 not checked", Reset, resetFrame, {0x05, 0x9D, 0x00, 0x62}, rc::kOk, "", -1},
        {"reset refused", Reset, resetFrame, {0x01, 0x9D, 0x01, 0x61},
         rc::kIncorrectResponse, "Reset->" + Text({0x01, 0x9D, 0x01, 0x61}), -1},
        {"reset, silence", Reset, resetFrame, {}, rc::kTimeout, "Reset->", -1},
        {"program", Program, programFrame, {0x01, 0x9E, 0x00, 0x61}, rc::kOk, "", -1},
        {"program, byte 0 not checked", Program, programFrame, {0x09, 0x9E, 0x00, 0x61},
         rc::kOk, "", -1},
        {"program refused", Program, programFrame, {0x01, 0x9E, 0x02, 0x5F},
         rc::kIncorrectResponse, "Program->" + Text({0x01, 0x9E, 0x02, 0x5F}), -1},
        {"program, excess", Program, programFrame, {0x01, 0x9E, 0x02, 0x5F, 0x01},
         rc::kExcessBytes, "Program->" + Text({0x01, 0x9E, 0x02, 0x5F}), -1},
        {"baud rate", Baud9600, baudFrame, {0x01, 0x81, 0x00, 0x7E}, rc::kOk, "", -1},
        {"baud rate refused", Baud9600, baudFrame, {0x01, 0x81, 0x03, 0x7B},
         rc::kBadBaudRate, "WriteBaudRate->" + Text({0x01, 0x81, 0x03, 0x7B}), -1},
        // The text of the reply stops at its first zero byte.
        {"baud rate, wrong code", Baud9600, baudFrame, {0x01, 0x82, 0x00, 0x7D},
         rc::kIncorrectResponse, "WriteBaudRate->" + Text({0x01, 0x82}), -1},
    };
    // clang-format on
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        link.writes.clear();
        if (c.reply.empty())
            link.onWrite = nullptr;
        else
            AnswerEveryWrite(c.reply, 2);
        CModem modem(&link);
        std::string status = "stale";
        uint8_t value = 0xEE;
        EXPECT_EQ(c.run(modem, status, value), c.expected);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(value, c.value < 0 ? 0xEE : c.value);
        ASSERT_EQ(link.writes.size(), 1u);
        EXPECT_EQ(link.writes[0], c.frame);
    }
}

TEST_F(CommandsTest, PollLimitsAndPauses) {
    struct Case {
        const char* name;
        std::function<int(CModem&, std::string&, uint8_t&)> run;
        int polls;       // polls spent on silence
        int64_t lineMs;  // the frame's line time at 9600 baud
        int64_t pause;   // pause after a successful exchange
        Bytes reply;
    };
    const Case cases[] = {
        {"reset", Reset, 400, 5, 1000, {0x01, 0x9D, 0x00, 0x62}},
        {"program", Program, 4000, 4, 0, {0x01, 0x9E, 0x00, 0x61}},
        {"write", Write, 2000, 7, 0, {0x01, 0xA0, 0x00, 0x5F}},
        {"baud rate", Baud9600, 500, 5, 0, {0x01, 0x81, 0x00, 0x7E}},
    };
    link.writeCostMs = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CModem modem(&link);
        std::string status;
        uint8_t value = 0;
        link.onWrite = nullptr;
        link.countPolls = 0;
        int64_t before = clock.NowMs();
        EXPECT_EQ(c.run(modem, status, value), rc::kTimeout);
        EXPECT_EQ(link.countPolls, c.polls);
        EXPECT_EQ(clock.NowMs() - before, c.lineMs + c.polls) << "one ms per poll";

        // A reply seen on the first poll ends the wait at once.
        AnswerEveryWrite(c.reply, 1);
        before = clock.NowMs();
        EXPECT_EQ(c.run(modem, status, value), rc::kOk);
        EXPECT_EQ(clock.NowMs() - before, c.lineMs + c.pause);
    }
}

TEST_F(CommandsTest, WriteBaudRateRefusesUnknownRatesWithoutSending) {
    CModem modem(&link);
    std::string status;
    for (int baud : {57600, 115200, 0, -9600}) EXPECT_EQ(modem.WriteBaudRate(status, baud), 55);
    EXPECT_TRUE(link.writes.empty());
    EXPECT_EQ(link.purges, 0);
}

TEST_F(CommandsTest, AddressesOutsideSixteenBitsAreRefused) {
    CModem modem(&link);
    std::string status;
    uint8_t value = 0;
    EXPECT_EQ(modem.ReadMemoryLocation(status, value, 0x10000, 100), rc::kBadAddress);
    EXPECT_EQ(modem.ReadMemoryLocation(status, value, -1, 100), rc::kBadAddress);
    EXPECT_EQ(modem.WriteMemoryLocation(status, 1, 0x1FFFF), rc::kBadAddress);
    EXPECT_TRUE(link.writes.empty());
}

TEST_F(CommandsTest, WithoutAPortEveryOperationSucceedsAtOnce) {
    CModem modem(nullptr);
    std::string status = "stale";
    uint8_t value = 0x12;
    EXPECT_EQ(modem.ReadMemoryLocation(status, value, 0x100, 10), rc::kOk);
    EXPECT_EQ(value, 0x12);
    EXPECT_EQ(modem.WriteMemoryLocation(status, 1, 0x100), rc::kOk);
    EXPECT_EQ(modem.Reset(status), rc::kOk);
    EXPECT_EQ(modem.Program(status), rc::kOk);
    EXPECT_EQ(modem.Unlock(status), rc::kOk);
    EXPECT_EQ(modem.WriteBaudRate(status, 9600), rc::kOk);
    EXPECT_EQ(modem.Capture(status, 1, true), rc::kOk);
    EXPECT_EQ(modem.Capture(status, 3, true), rc::kOk);
    EXPECT_EQ(CModem::ReadMemoryLocationPort(status, nullptr, value, 0x100, 10), rc::kOk);
    EXPECT_EQ(status, "");
    EXPECT_EQ(clock.NowMs(), 0);
    EXPECT_TRUE(ui.progress.empty());
}

// The unlock key is the six bytes at 0x100; replies to reads come from `memory`, the unlock
// frame gets `unlockReply`.
class UnlockTest : public ProtocolTest {
  protected:
    void Script(const Bytes& unlockReply, int failReadAddress = -1) {
        link.onWrite = [this, unlockReply, failReadAddress](const Bytes& frame) {
            if (frame[1] == 0x21) {
                int address = frame[2] * 256 + frame[3];
                if (address != failReadAddress)
                    link.Deliver({0x01, 0xA1, memory[address - 0x100], 0x00}, 1);
            } else if (frame[1] == 0x1F) {
                link.Deliver(unlockReply, 1);
            }
        };
    }
    uint8_t memory[6] = {0x01, 0x12, 0x22, 0x1A, 0x10, 0x0A};
};

TEST_F(UnlockTest, SendsTheSixKeyBytesWithTheirChecksum) {
    Script({0x01, 0x9F, 0x00, 0x60});
    CModem modem(&link);
    std::string status;
    EXPECT_EQ(modem.Unlock(status), rc::kOk);
    ASSERT_EQ(link.writes.size(), 7u);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(link.writes[i][3], 0x00 + i) << "read of 0x10" << i;
    EXPECT_EQ(link.writes[6], (Bytes{0x01, 0x1F, 0x01, 0x12, 0x22, 0x1A, 0x10, 0x0A, 0x77}));
}

TEST_F(UnlockTest, FailureCodes) {
    struct Case {
        const char* name;
        Bytes unlockReply;
        int failRead;
        int expected;
        std::string status;
        size_t frames;
    };
    const Case cases[] = {
        {"key read times out",
         {0x01, 0x9F, 0x00, 0x60},
         0x103,
         -rc::kTimeout,
         "CModem::ReadMemoryLocation->",
         4},
        {"refused",
         {0x01, 0x9F, 0x01, 0x5F},
         -1,
         rc::kIncorrectResponse,
         "Unlock1->" + Text({0x01, 0x9F, 0x01, 0x5F}),
         7},
        {"byte 0 not checked", {0x00, 0x9F, 0x00, 0x60}, -1, rc::kOk, "", 7},
        {"silence", {}, -1, rc::kTimeout, "Unlock0->", 7},
        {"excess",
         {0x01, 0x9F, 0x00, 0x60, 0x60},
         -1,
         rc::kExcessBytes,
         "Unlock0->" + Text({0x01, 0x9F}),
         7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        link.writes.clear();
        Script(c.unlockReply, c.failRead);
        CModem modem(&link);
        std::string status;
        EXPECT_EQ(modem.Unlock(status), c.expected);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(link.writes.size(), c.frames);
    }
}

}  // namespace
}  // namespace vxl::test
