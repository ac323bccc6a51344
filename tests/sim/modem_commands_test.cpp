// The modem's command mode as the host sees it: frames in, 4-byte replies out. What it answers
// when all goes well is what every end-to-end run takes; here, what it refuses or ignores.
#include <gtest/gtest.h>

#include "line_harness.h"

namespace vxl::sim::test {
namespace {

TEST(ModemCommands, RefuseOrIgnoreWhatTheModemWouldNotTake) {
    const struct {
        const char* name;
        Bytes frame;
        Bytes reply;
    } cases[] = {
        {"write refused while locked", WriteMemoryFrame(0x123, 0x55), Reply(0x20, 1)},
        {"unlock with wrong key", Frame(0x1F, {1, 2, 3, 4, 5, 6}), Reply(0x1F, 1)},
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
