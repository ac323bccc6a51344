// The demo modem: its memory, fixed answers, refusals and timings.
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
};

TEST_F(DemoModemTest, AnswersLikeAType4ModemWithFirmware220) {
    EXPECT_EQ(demo.GetModemType(), 4);
    EXPECT_DOUBLE_EQ(demo.GetFirmwareRevision(), 2.2);
    EXPECT_EQ(demo.GetConfigurationSize(), 246);
    EXPECT_EQ(demo.GetPortNumber(), 99);
    EXPECT_EQ(demo.GetIdentityWord(), 0);
    EXPECT_EQ(demo.GetCaptureMethod(), 1);
    EXPECT_FALSE(demo.IsModelIdMissing());
    EXPECT_EQ(demo.GetLoadedImage(), nullptr);
    EXPECT_EQ(demo.GetImage(), nullptr);
}

TEST_F(DemoModemTest, Reads) {
    struct Case {
        int address;
        int expected;
        int value;  // -1: unchanged
        int64_t ms;
    };
    const Case cases[] = {
        {0x100, rc::kOk, 0x01, 15},     {0x107, rc::kOk, 0x15, 15},
        {0x10C, rc::kOk, 0x82, 15},     {0x18B, rc::kOk, 0x08, 15},
        {0x199, rc::kOk, 0xAA, 15},     {0x1C1, rc::kOk, 0x10, 15},
        {0x1D7, rc::kOk, 0xFF, 15},     {0x150, rc::kOk, 0x00, 15},
        {0x1F5, rc::kOk, 0x00, 15},     {0x1FF, rc::kOk, 0x00, 15},
        {0xEE90, rc::kOk, 0x00, 15},    {0xEE8B, rc::kOk, 0x00, 15},
        {0x8405, rc::kOk, 0x03, 15},    {0x8406, rc::kOk, 0xAA, 15},
        {0x200, rc::kOk, 0x00, 15},     {0xFF, rc::kBadAddress, -1, 0},
        {0x00, rc::kBadAddress, -1, 0}, {-5, rc::kBadAddress, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        std::string status = "stale";
        uint8_t value = 0x5A;
        int64_t before = clock.NowMs();
        EXPECT_EQ(demo.ReadMemoryLocation(status, value, c.address, 0), c.expected);
        EXPECT_EQ(value, c.value < 0 ? 0x5A : c.value);
        EXPECT_EQ(clock.NowMs() - before, c.ms);
        EXPECT_EQ(status, "");
    }
}

TEST_F(DemoModemTest, WritesStayInMemory) {
    struct Case {
        int address;
        int expected;
        int64_t ms;
    };
    const Case cases[] = {{0x100, rc::kOk, 100},      {0x1FF, rc::kOk, 100},
                          {0x18B, rc::kOk, 100},      {0x200, rc::kBadAddress, 0},
                          {0xFF, rc::kBadAddress, 0}, {0xEE90, rc::kBadAddress, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        std::string status;
        int64_t before = clock.NowMs();
        EXPECT_EQ(demo.WriteMemoryLocation(status, 0x3C, c.address), c.expected);
        EXPECT_EQ(clock.NowMs() - before, c.ms);
        uint8_t value = 0;
        demo.ReadMemoryLocation(status, value, c.address, 0);
        if (c.expected == rc::kOk) {
            EXPECT_EQ(value, 0x3C);
        }
    }
}

TEST_F(DemoModemTest, OperationPauses) {
    std::string status = "stale";
    EXPECT_EQ(demo.Program(status), rc::kOk);
    EXPECT_EQ(clock.NowMs(), 2000);
    EXPECT_EQ(demo.Capture(status, 3, true), rc::kOk);
    EXPECT_EQ(demo.Reset(status), rc::kOk);
    EXPECT_EQ(demo.Unlock(status), rc::kOk);
    EXPECT_EQ(clock.NowMs(), 2000);
    EXPECT_EQ(status, "");
    EXPECT_TRUE(ui.progress.empty());
}

TEST_F(DemoModemTest, ChecksumByteOfTheMemoryIsRight) {
    std::string status;
    unsigned sum = 0;
    for (int address = 0x100; address < 0x1F5; ++address) {
        uint8_t value = 0;
        ASSERT_EQ(demo.ReadMemoryLocation(status, value, address, 0), rc::kOk);
        sum += value;
    }
    uint8_t checksum = 0xEE;
    demo.ReadMemoryLocation(status, checksum, 0x1F5, 0);
    EXPECT_EQ(checksum, static_cast<uint8_t>(~sum));
}

TEST_F(DemoModemTest, LoadsAnImageWithTheType4Extension) {
    std::string status;
    ASSERT_EQ(demo.ReadMemoryImage(status, false), rc::kOk);
    const ModemMemoryImage* image = demo.GetLoadedImage();
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->IsLoaded());
    EXPECT_EQ(image->GetMainSize(), 246);
    EXPECT_EQ(image->GetExtensionSize(), 9);
    // The extension is read from the addresses after the main block.
    uint8_t extension[9];
    ASSERT_EQ(image->ReadBytes(0x8001, 9, extension), rc::kOk);
    EXPECT_EQ(std::vector<uint8_t>(extension, extension + 9),
              (std::vector<uint8_t>{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    // The running baud-rate byte reads as 0 and shows in the image.
    uint8_t baud = 0xEE;
    image->ReadBytes(0x18B, 1, &baud);
    EXPECT_EQ(baud, 0x00);
    std::unique_ptr<ModemMemoryImage> copy = demo.GetImage();
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->Equals(*image));
    EXPECT_NE(copy.get(), image);
}

}  // namespace
}  // namespace vxl::test
