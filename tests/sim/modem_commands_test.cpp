// The modem's command mode as the host sees it: frames in, 4-byte replies out.
#include <gtest/gtest.h>

#include "line_harness.h"

namespace vxl::sim::test {
namespace {

// What the memory holds is the memory layout's test (modem_memory_test).
TEST(ModemCommands, AnswerInFourBytes) {
    const struct {
        const char* name;
        Bytes frame;
        Bytes reply;
    } cases[] = {
        {"sync", Frame(0x02), Reply(0x02, 0)},
        {"read model byte", ReadMemoryFrame(0x10A), Reply(0x21, 0xD2)},
        {"read running rate", ReadMemoryFrame(0xEE8B), Reply(0x21, 1)},
        {"read zero anywhere", ReadMemoryFrame(0xF123), Reply(0x21, 0)},
        {"write refused while locked", WriteMemoryFrame(0x123, 0x55), Reply(0x20, 1)},
        {"unlock with wrong key", Frame(0x1F, {1, 2, 3, 4, 5, 6}), Reply(0x1F, 1)},
        {"program", Frame(0x1E), Reply(0x1E, 0)},
        {"capture in command mode", Frame(0x22, {0}), Reply(0x22, 0)},
        {"baud code 7 refused", Frame(0x01, {7}), Reply(0x01, 1)},
        {"loader refused while locked", Frame(0x1C), Reply(0x1C, 1)},
        {"bad checksum is ignored", Bytes{0x01, 0x21, 0x01, 0x0A, 0xD4}, Bytes{}},
        {"unknown code is ignored", Bytes{0x01, 0x33, 0xCC}, Bytes{}},
        {"noise before a frame", Bytes{0x55, 0x01, 0x01, 0x21, 0x01, 0x0A, 0xD3},
         Reply(0x21, 0xD2)},
    };
    for (const auto& c : cases) {
        LineHarness h;
        h.SoftBreak();
        EXPECT_EQ(h.Exchange(c.frame), c.reply) << c.name;
    }
}

TEST(ModemCommands, ResetAndPowerCycleForgetUncommittedWritesAndLock) {
    LineHarness h;
    h.CaptureAndUnlock();
    EXPECT_EQ(h.Exchange(WriteMemoryFrame(0x130, 0x77)), Reply(0x20, 0));
    EXPECT_EQ(h.Exchange(ReadMemoryFrame(0x130)), Reply(0x21, 0x77));
    EXPECT_EQ(h.Exchange(Frame(0x1D, {0})), Reply(0x1D, 0));
    EXPECT_EQ(h.firmware.Mode(), ModemMode::kData);
    EXPECT_FALSE(h.firmware.Unlocked());
    EXPECT_TRUE(h.Exchange(ReadMemoryFrame(0x130)).empty());
    h.CaptureAndUnlock();
    EXPECT_EQ(h.Exchange(ReadMemoryFrame(0x130)), Reply(0x21, 0x00));
    EXPECT_EQ(h.Exchange(WriteMemoryFrame(0x140, 0x99)), Reply(0x20, 0));
    h.PowerCycle();
    EXPECT_FALSE(h.firmware.Unlocked());
    EXPECT_EQ(h.Exchange({0x01, 0x22, 0x00, 0xDD}), Reply(0x22, 0));
    EXPECT_EQ(h.Exchange(ReadMemoryFrame(0x140)), Reply(0x21, 0x00));
    EXPECT_EQ(h.Exchange(WriteMemoryFrame(0x140, 0x99)), Reply(0x20, 1));
}

TEST(ModemCommands, WriteBaudRateSwitchesAfterItsReply) {
    LineHarness h;
    h.SoftBreak();
    EXPECT_EQ(h.Exchange(Frame(0x01, {0})), Reply(0x01, 0));  // 19200, answered at 9600
    EXPECT_EQ(h.firmware.UartBaud(), 19200);
    EXPECT_TRUE(h.Exchange(ReadMemoryFrame(0x10A)).empty()) << "a 9600 frame is garbage at 19200";
    h.SetHostBaud(19200);
    EXPECT_EQ(h.Exchange(ReadMemoryFrame(0xEE8B)), Reply(0x21, 0));  // running copy: code 0
}

TEST(ModemCommands, PartialFramesExpire) {
    LineHarness h;
    h.SoftBreak();
    h.Send({0x01, 0x21, 0x01});
    h.Wait(200);
    EXPECT_EQ(h.Exchange(ReadMemoryFrame(0x10A)), Reply(0x21, 0xD2));
}

TEST(ModemCommands, LineTimingPacesCommandAndReply) {
    FirmwareSettings settings;
    settings.processingUs = 1000;
    LineHarness h(ModemProfile(), true, settings);
    h.SoftBreak();
    h.Send(ReadMemoryFrame(0x10A));
    // 5 bytes in (5.21 ms), 1 ms of processing, then one byte per 1.04 ms.
    EXPECT_TRUE(h.Wait(7).empty());
    EXPECT_EQ(h.Wait(1).size(), 1u);
    EXPECT_EQ(h.Wait(2).size(), 2u);
    EXPECT_EQ(h.Wait(2).size(), 1u);
}

}  // namespace
}  // namespace vxl::sim::test
