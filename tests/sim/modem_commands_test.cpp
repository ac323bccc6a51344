// The modem's command mode as the host sees it: frames in, 4-byte replies out.
#include <gtest/gtest.h>

#include <ostream>

#include "line_harness.h"

namespace vxl::sim::test {
namespace {

TEST(ModemCommands, DataModeIgnoresCommandsUntilTheEscape) {
    LineHarness h;
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kData);
    EXPECT_TRUE(h.Exchange(ReadFrame(0x10A)).empty());
    h.SoftBreak();
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kCommand);
    EXPECT_EQ(h.Exchange(ReadFrame(0x10A)), Reply(0x21, 0xD2));
}

struct CommandCase {
    const char* name;
    Bytes frame;
    Bytes reply;
};

// Test names and failure messages show the case by its name.
void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandReplies : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandReplies, AnswerInFourBytes) {
    LineHarness h;
    h.SoftBreak();
    EXPECT_EQ(h.Exchange(GetParam().frame), GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, CommandReplies,
    ::testing::Values(
        CommandCase{"sync", Frame(0x02), Reply(0x02, 0)},
        CommandCase{"read_model_byte", ReadFrame(0x10A), Reply(0x21, 0xD2)},
        CommandCase{"read_revision", ReadFrame(0x8402), Reply(0x21, 22)},
        CommandCase{"read_size", ReadFrame(0x8404), Reply(0x21, 246)},
        CommandCase{"read_identity_word_low", ReadFrame(0x8406), Reply(0x21, 0xAA)},
        CommandCase{"read_running_rate", ReadFrame(0xEE8B), Reply(0x21, 1)},
        CommandCase{"read_zero_anywhere", ReadFrame(0xF123), Reply(0x21, 0)},
        CommandCase{"write_refused_while_locked", WriteFrame(0x123, 0x55), Reply(0x20, 1)},
        CommandCase{"unlock_with_wrong_key", Frame(0x1F, {1, 2, 3, 4, 5, 6}), Reply(0x1F, 1)},
        CommandCase{"program", Frame(0x1E), Reply(0x1E, 0)},
        CommandCase{"capture_in_command_mode", Frame(0x22, {0}), Reply(0x22, 0)},
        CommandCase{"baud_code_7_refused", Frame(0x01, {7}), Reply(0x01, 1)},
        CommandCase{"loader_refused_while_locked", Frame(0x1C), Reply(0x1C, 1)},
        CommandCase{"bad_checksum_is_ignored", Bytes{0x01, 0x21, 0x01, 0x0A, 0xD4}, Bytes{}},
        CommandCase{"unknown_code_is_ignored", Bytes{0x01, 0x33, 0xCC}, Bytes{}},
        CommandCase{"noise_before_a_frame", Bytes{0x55, 0x01, 0x01, 0x21, 0x01, 0x0A, 0xD3},
                    Reply(0x21, 0xD2)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModemCommands, WritesNeedTheUnlockAndProgramStoresThem) {
    LineHarness h;
    h.SoftBreak();
    EXPECT_EQ(h.Exchange(WriteFrame(0x123, 0x55)), Reply(0x20, 1));
    EXPECT_NE(h.firmware.Memory()[0x123], 0x55);

    EXPECT_EQ(h.Exchange(UnlockFrame(h.firmware.Memory())), Reply(0x1F, 0));
    EXPECT_EQ(h.Exchange(WriteFrame(0x123, 0x55)), Reply(0x20, 0));
    EXPECT_EQ(h.Exchange(ReadFrame(0x123)), Reply(0x21, 0x55));
    EXPECT_NE(h.firmware.StoredMemory()[0x123], 0x55) << "stored before Program";

    int stores = 0;
    h.firmware.onStore = [&](const MemoryBytes& m) {
        ++stores;
        EXPECT_EQ(m[0x123], 0x55);
    };
    EXPECT_EQ(h.Exchange(Frame(0x1E)), Reply(0x1E, 0));
    EXPECT_EQ(stores, 1);
    EXPECT_EQ(h.firmware.StoredMemory()[0x123], 0x55);
}

TEST(ModemCommands, ResetReturnsToDataModeAndForgetsUncommittedWrites) {
    LineHarness h;
    h.CaptureAndUnlock();
    h.Exchange(WriteFrame(0x130, 0x77));
    EXPECT_EQ(h.Exchange(Frame(0x1D, {0})), Reply(0x1D, 0));
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kData);
    EXPECT_FALSE(h.firmware.Unlocked());
    EXPECT_TRUE(h.Exchange(ReadFrame(0x130)).empty());
    h.SoftBreak();
    EXPECT_EQ(h.Exchange(ReadFrame(0x130)), Reply(0x21, 0x00));
}

TEST(ModemCommands, WriteBaudRateSwitchesAfterItsReply) {
    LineHarness h;
    h.SoftBreak();
    EXPECT_EQ(h.Exchange(Frame(0x01, {0})), Reply(0x01, 0));  // 19200, answered at 9600
    EXPECT_EQ(h.firmware.UartBaud(), 19200);
    EXPECT_TRUE(h.Exchange(ReadFrame(0x10A)).empty()) << "a 9600 frame is garbage at 19200";
    h.SetHostBaud(19200);
    EXPECT_EQ(h.Exchange(ReadFrame(0xEE8B)), Reply(0x21, 0));  // running copy: code 0
}

TEST(ModemCommands, RepliesAreGarbledWhenTheHostListensAtAnotherRate) {
    LineHarness h;
    h.SoftBreak();
    h.Send(ReadFrame(0x10A));
    h.hostBaud = 19200;  // the host switched its receiver before the reply came
    const Bytes seen = h.Wait(100);
    EXPECT_NE(seen, Reply(0x21, 0xD2));
}

TEST(ModemCommands, PartialFramesExpire) {
    LineHarness h;
    h.SoftBreak();
    h.Send({0x01, 0x21, 0x01});
    h.Wait(200);
    EXPECT_EQ(h.Exchange(ReadFrame(0x10A)), Reply(0x21, 0xD2));
}

TEST(ModemCommands, LineTimingPacesCommandAndReply) {
    FirmwareSettings settings;
    settings.processingUs = 1000;
    LineHarness h(ModemProfile(), true, settings);
    h.SoftBreak();
    h.Send(ReadFrame(0x10A));
    // 5 bytes in (5.21 ms), 1 ms of processing, then one byte per 1.04 ms.
    EXPECT_TRUE(h.Wait(7).empty());
    EXPECT_EQ(h.Wait(1).size(), 1u);
    EXPECT_EQ(h.Wait(2).size(), 2u);
    EXPECT_EQ(h.Wait(2).size(), 1u);
}

}  // namespace
}  // namespace vxl::sim::test
