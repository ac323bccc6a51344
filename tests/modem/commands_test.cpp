// The single-exchange commands and the unlock: frames, reply checks, diagnostics, result codes.
#include <functional>

#include "protocol_fixture.h"

namespace vxl::test {
namespace {

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

using Command = std::function<int(CModem&, std::string&, uint8_t&)>;
#define COMMAND(call) \
    [](CModem& m, std::string& s, [[maybe_unused]] uint8_t& v) -> int { return call; }
const Command Read = COMMAND(m.ReadMemoryLocation(s, v, 0x010A, 100));
const Command ReadPort = COMMAND(CModem::ReadMemoryLocationPort(s, m.GetPort(), v, 0x010A, 100));
const Command Write = COMMAND(m.WriteMemoryLocation(s, 0x55, 0x0123));
const Command Reset = COMMAND(m.Reset(s));
const Command Program = COMMAND(m.Program(s));
const Command Baud9600 = COMMAND(m.WriteBaudRate(s, 9600));
const Command Unlock = COMMAND(m.Unlock(s));
#undef COMMAND

class CommandsTest : public ProtocolTest {
  protected:
    CommandsTest() {
        modem.commandMode = true;
        modem.replyAfterPolls = 2;
        modem.Poke(0x100, {0x01, 0x12, 0x22, 0x1A, 0x10, 0x0A});  // the unlock key
    }
};

// Byte 0 of a reply is checked only by reads and writes; a non-zero status byte is a refusal.
TEST_F(CommandsTest, RepliesAreCheckedPerCommand) {
    const Bytes rd{0x01, 0x21, 0x01, 0x0A, 0xD3};
    const Bytes wr{0x01, 0x20, 0x01, 0x23, 0x55, 0x66};
    const Bytes reset{0x01, 0x1D, 0x00, 0xE2};
    const Bytes prog{0x01, 0x1E, 0xE1};
    const Bytes baud{0x01, 0x01, 0x01, 0xFD};
    const Bytes unlock{0x01, 0x1F, 0x01, 0x12, 0x22, 0x1A, 0x10, 0x0A, 0x77};
    const std::string read = "CModem::ReadMemoryLocation->";
    const struct {
        const char* name;
        Command run;
        Bytes reply;  // the modem's answer to the command ({}: none)
        int expected;
        std::string status;
        int value;          // the byte read, or -1
        int silentAddress;  // a read of this address goes unanswered
        Bytes lastFrame;    // what was sent last
        size_t frames;      // how many frames were sent
    } cases[] = {
        // clang-format off
        {"read", Read, {0x01, 0xA1, 0x55, 0x09}, rc::kOk, "", 0x55, -1, rd, 1},
        {"read, byte 0 wrong", Read, {0x02, 0xA1, 0x55, 0x09}, rc::kIncorrectResponse,
         read + Text({0x02, 0xA1, 0x55, 0x09}), -1, -1, rd, 1},
        {"read, wrong code", Read, {0x01, 0xA0, 0x55, 0x09}, rc::kIncorrectResponse,
         read + Text({0x01, 0xA0, 0x55, 0x09}), -1, -1, rd, 1},
        {"read, excess", Read, {0x01, 0xA1, 0x55, 0x09, 0x33}, rc::kExcessBytes,
         read + Text({0x01, 0xA1, 0x55, 0x09}), -1, -1, rd, 1},
        {"read, silence", Read, {}, rc::kTimeout, read, -1, -1, rd, 1},
        {"port read, byte 0 wrong", ReadPort, {0x07, 0xA1, 0x66, 0x09}, rc::kIncorrectResponse,
         "ReadMemoryLocationPort->" + Text({0x07, 0xA1, 0x66, 0x09}), -1, -1, rd, 1},
        {"write", Write, {0x01, 0xA0, 0x00, 0x5F}, rc::kOk, "", -1, -1, wr, 1},
        {"write refused", Write, {0x01, 0xA0, 0x07, 0x5F}, rc::kIncorrectResponse,
         "WriteMemoryLocation->" + Text({0x01, 0xA0, 0x07, 0x5F}), -1, -1, wr, 1},
        {"write, byte 0 wrong", Write, {0x03, 0xA0, 0x00, 0x5F}, rc::kIncorrectResponse,
         "WriteMemoryLocation->" + Text({0x03, 0xA0}), -1, -1, wr, 1},
        {"reset", Reset, {0x01, 0x9D, 0x00, 0x62}, rc::kOk, "", -1, -1, reset, 1},
        {"reset, byte 0 not checked", Reset, {0x05, 0x9D, 0x00, 0x62}, rc::kOk, "", -1, -1, reset, 1},
        {"reset refused", Reset, {0x01, 0x9D, 0x01, 0x61}, rc::kIncorrectResponse,
         "Reset->" + Text({0x01, 0x9D, 0x01, 0x61}), -1, -1, reset, 1},
        {"program", Program, {0x01, 0x9E, 0x00, 0x61}, rc::kOk, "", -1, -1, prog, 1},
        {"program, silence", Program, {}, rc::kTimeout, "Program->", -1, -1, prog, 1},
        {"baud rate", Baud9600, {0x01, 0x81, 0x00, 0x7E}, rc::kOk, "", -1, -1, baud, 1},
        {"baud rate refused", Baud9600, {0x01, 0x81, 0x03, 0x7B}, rc::kBadBaudRate,
         "WriteBaudRate->" + Text({0x01, 0x81, 0x03, 0x7B}), -1, -1, baud, 1},
        // The text of the reply stops at its first zero byte.
        {"baud rate, wrong code", Baud9600, {0x01, 0x82, 0x00, 0x7D}, rc::kIncorrectResponse,
         "WriteBaudRate->" + Text({0x01, 0x82}), -1, -1, baud, 1},
        // The unlock reads the six key bytes at 0x100 and sends them back.
        {"unlock", Unlock, {0x01, 0x9F, 0x00, 0x60}, rc::kOk, "", -1, -1, unlock, 7},
        {"unlock refused", Unlock, {0x01, 0x9F, 0x01, 0x5F}, rc::kIncorrectResponse,
         "Unlock1->" + Text({0x01, 0x9F, 0x01, 0x5F}), -1, -1, unlock, 7},
        {"unlock, silence", Unlock, {}, rc::kTimeout, "Unlock0->", -1, -1, unlock, 7},
        {"unlock, excess", Unlock, {0x01, 0x9F, 0x00, 0x60, 0x60}, rc::kExcessBytes,
         "Unlock0->" + Text({0x01, 0x9F}), -1, -1, unlock, 7},
        {"unlock, key read times out", Unlock, {0x01, 0x9F, 0x00, 0x60}, -rc::kTimeout, read,
         -1, 0x103, {0x01, 0x21, 0x01, 0x03, 0xDA}, 4},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        link.writes.clear();
        // The reply is the answer to the last frame, or to the unlock when there are several.
        modem.replyFor = {{c.frames == 1 ? c.lastFrame[1] : cmd::kUnlock, c.reply}};
        modem.faultAddress = c.silentAddress;
        CModem tested(&link);
        status = "stale";
        uint8_t value = 0xEE;
        EXPECT_EQ(c.run(tested, status, value), c.expected);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(value, c.value < 0 ? 0xEE : c.value);
        EXPECT_EQ(link.writes.size(), c.frames);
        EXPECT_EQ(link.writes.back(), c.lastFrame);
    }
}

TEST_F(CommandsTest, PollLimitsAndPauses) {
    const struct {
        const char* name;
        Command run;
        int polls;       // ms waited for a reply that never comes: the poll limit, at least 521
        int64_t lineMs;  // the frame's line time at 9600 baud
        int64_t pause;   // pause after a successful exchange
    } cases[] = {{"reset", Reset, 521, 5, 1000},
                 {"program", Program, 4000, 4, 0},
                 {"write", Write, 2000, 7, 0},
                 {"baud rate", Baud9600, 521, 5, 0}};
    link.writeCostMs = 0;
    modem.replyAfterPolls = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        uint8_t value = 0;
        modem.commandMode = false;
        int64_t before = clock.NowMs();
        EXPECT_EQ(c.run(device, status, value), rc::kTimeout);
        EXPECT_EQ(clock.NowMs() - before, c.lineMs + c.polls);

        // A reply seen on the first poll ends the wait at once.
        modem.commandMode = true;
        before = clock.NowMs();
        EXPECT_EQ(c.run(device, status, value), rc::kOk);
        EXPECT_EQ(clock.NowMs() - before, c.lineMs + c.pause);
    }
}

TEST_F(CommandsTest, UnknownRatesAndAddressesAreRefusedWithoutSending) {
    uint8_t value = 0;
    for (int baud : {57600, 115200, 0, -9600}) EXPECT_EQ(device.WriteBaudRate(status, baud), 55);
    EXPECT_EQ(device.ReadMemoryLocation(status, value, 0x10000, 100), rc::kBadAddress);
    EXPECT_EQ(device.ReadMemoryLocation(status, value, -1, 100), rc::kBadAddress);
    EXPECT_EQ(device.WriteMemoryLocation(status, 1, 0x1FFFF), rc::kBadAddress);
    EXPECT_TRUE(link.writes.empty());
    EXPECT_EQ(link.purges, 0);
}

}  // namespace
}  // namespace vxl::test
