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
// configuration block up to 0x1FF can be written.
TEST_F(DemoModemTest, ReadsAndWrites) {
    const int ok = rc::kOk, bad = rc::kBadAddress;
    const struct {
        int address, readResult, value, writeResult;
    } cases[] = {
        {0x100, ok, 0x01, ok},   {0x107, ok, 0x15, ok},   {0x10C, ok, 0x82, ok},
        {0x18B, ok, 0x08, ok},   {0x199, ok, 0xAA, ok},   {0x1C1, ok, 0x10, ok},
        {0x1D7, ok, 0xFF, ok},   {0x150, ok, 0x00, ok},   {0x1F5, ok, 0x00, ok},
        {0x1FF, ok, 0x00, ok},   {0xEE90, ok, 0x00, bad}, {0xEE8B, ok, 0x00, bad},
        {0x8405, ok, 0x03, bad}, {0x8406, ok, 0xAA, bad}, {0x200, ok, 0x00, bad},
        {0xFF, bad, 0x5A, bad},  {0x00, bad, 0x5A, bad},  {-5, bad, 0x5A, bad},
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

TEST_F(DemoModemTest, MultiByteHelpers) {
    std::string text = "x";
    EXPECT_EQ(demo.ReadUnlockText(status, text), rc::kOk);
    EXPECT_EQ(text, "x\x01\x12\x22\x1A\x10\x0A");
    text.clear();
    EXPECT_EQ(demo.ReadMemoryText(status, 0x129, 4, text), rc::kOk);
    EXPECT_EQ(text, "") << "zero bytes are left out";
    EXPECT_EQ(demo.ReadSerialNumberText(status, text), rc::kOk);
    EXPECT_EQ(text, "1427259");  // 00 15 C7 3B
    uint32_t number = 0;
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0x107, 2, number), rc::kOk);
    EXPECT_EQ(number, 0x15C7u);
    // A fill stops at the first failing write.
    EXPECT_EQ(demo.FillMemory(status, 0x77, 0x1E0, 4), rc::kOk);
    EXPECT_EQ(demo.FillMemory(status, 0x66, 0x1FE, 4), rc::kBadAddress);
    demo.ReadMemoryNumber(status, 0x1E0, 4, number);
    EXPECT_EQ(number, 0x77777777u);
    demo.ReadMemoryNumber(status, 0x1FC, 4, number);
    EXPECT_EQ(number, 0xFF006666u);
    // Counts above four and bad addresses are refused before anything is read or written.
    const int64_t before = clock.NowMs();
    number = 7;
    text = "keep";
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0x100, 5, number), rc::kTooManyBytes);
    EXPECT_EQ(demo.ReadMemoryDecimal(status, 0x100, 5, text), rc::kTooManyBytes);
    EXPECT_EQ(demo.FillMemory(status, 0x11, 0x100, 5), rc::kTooManyBytes);
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0x100, 0, number), rc::kBadParameters);
    EXPECT_EQ(demo.ReadMemoryNumber(status, 0xFE, 4, number), rc::kBadAddress);
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(clock.NowMs(), before);
}

}  // namespace
}  // namespace vxl::test
