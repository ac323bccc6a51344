// The demo modem: its memory, fixed answers, refusals, timings and the multi-byte helpers.
#include "modem/demo_modem.h"

#include <gtest/gtest.h>

#include "params/modem_memory_image.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "util/clock.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

class DemoModemTest : public ::testing::Test {
  protected:
    FakeClock clock;
    ScopedClock scopedClock{clock};
    RecordingOperator ui;
    ScopedUi scopedUi{ui};
    CDemoModem demo;
    std::string status = "stale";
};

// A type-4 modem of firmware 2.20; Program takes 2 s, the other operations succeed at once.
TEST_F(DemoModemTest, AnswersLikeAType4ModemWithFirmware220) {
    EXPECT_EQ(demo.GetModemType(), 4);
    EXPECT_DOUBLE_EQ(demo.GetFirmwareRevision(), 2.2);
    EXPECT_EQ(demo.GetConfigurationSize(), 246);
    EXPECT_EQ(demo.GetCaptureMethod(), 1);
    EXPECT_FALSE(demo.IsModelIdMissing());
    EXPECT_EQ(demo.Program(status), rc::kOk);
    EXPECT_EQ(demo.Capture(status, 3, true) + demo.Reset(status) + demo.Unlock(status), rc::kOk);
    EXPECT_EQ(clock.NowMs(), 2000);
    EXPECT_EQ(status, "");
    EXPECT_TRUE(ui.progress.empty());
}

// A read takes 15 ms and a write 100 ms; below 0x100 nothing is there, and only the
// configuration block up to 0x1FF can be written. (The memory's contents are guarded by the
// image checksum below and by the demo's parameters in the coordinator's tests.)
TEST_F(DemoModemTest, ReadsAndWrites) {
    const int ok = rc::kOk, bad = rc::kBadAddress;
    const struct {
        int address, readResult, value, writeResult;
    } cases[] = {
        {0x100, ok, 0x01, ok},   {0x1FF, ok, 0x00, ok},  {0x200, ok, 0x00, bad},
        {0x8406, ok, 0xAA, bad}, {0xFF, bad, 0x5A, bad}, {-5, bad, 0x5A, bad},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        uint8_t value = 0x5A;
        int64_t before = clock.NowMs();
        EXPECT_EQ(demo.ReadMemoryLocation(status, value, c.address, 0), c.readResult);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(clock.NowMs() - before, c.readResult == ok ? 15 : 0);
        before = clock.NowMs();
        EXPECT_EQ(demo.WriteMemoryLocation(status, 0x3C, c.address), c.writeResult);
        EXPECT_EQ(clock.NowMs() - before, c.writeResult == ok ? 100 : 0);
        demo.ReadMemoryLocation(status, value, c.address, 0);
        EXPECT_EQ(value, c.writeResult == ok ? 0x3C : c.value);
        EXPECT_EQ(status, "");
    }
}

// Its parameters are read through the coordinator's demo mode; here, the image as such.
TEST_F(DemoModemTest, LoadsAnImageWithTheType4ExtensionAndAValidChecksum) {
    EXPECT_EQ(demo.GetLoadedImage(), nullptr);
    ASSERT_EQ(demo.ReadMemoryImage(status, false), rc::kOk);
    const ModemMemoryImage* image = demo.GetLoadedImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetMainSize() * 100 + image->GetExtensionSize(), 246 * 100 + 9);
    EXPECT_TRUE(image->ChecksumMatched());
    std::unique_ptr<ModemMemoryImage> copy = demo.GetImage();
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->Equals(*image));
    EXPECT_NE(copy.get(), image);
}

// The serial number is read as a number before an upgrade.
TEST_F(DemoModemTest, MultiByteNumbersAreReadHighByteFirstAndBadCountsRefusedAtOnce) {
    uint32_t number = 7;
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0x106, 4, number), rc::kOk);
    EXPECT_EQ(number, 1427259u);  // 00 15 C7 3B
    // Counts above four and bad addresses are refused before anything is read.
    const int64_t before = clock.NowMs();
    number = 7;
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0x100, 5, number), rc::kTooManyBytes);
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0x100, 0, number), rc::kBadParameters);
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0xFE, 4, number), rc::kBadAddress);
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(clock.NowMs(), before);
}

}  // namespace
}  // namespace vxl::test
