#include "params/modem_memory_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "support/fake_modem_source.h"
#include "support/recording_operator.h"
#include "util/result_codes.h"

namespace {

using vxl::test::ByteAt;
using vxl::test::FakeModemSource;
using vxl::test::WriteByte;
namespace rc = vxl::rc;

// The byte read back after writing 0x5A there, -1 where the address is refused. Writing the
// checksum byte (0x1F5) does not stick: it keeps the sum of the other bytes.
TEST(ModemMemoryImage, AddressMappingFollowsTheRevision) {
    // clang-format off
    const std::tuple<double, int, int> cases[] = {
        {1.04, 0x100, 0x5A}, {1.04, 0x1F5, 0xFF}, {1.04, 0x8001, 0x5A}, {1.04, 0x8009, 0x5A},
        {1.04, 0x800A, -1},  {1.03, 0x8005, 0x5A}, {1.03, 0x8006, -1},  {1.04, 0x8000, -1},
        {1.04, 0xFF, -1}};
    // clang-format on
    for (auto [revision, address, back] : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << address << " rev " << revision);
        FakeModemSource modem(4, revision, 246);
        ModemMemoryImage& image = modem.InitialiseImage();
        const int code = back < 0 ? rc::kBadAddress : 0;
        uint8_t value = 0;
        EXPECT_EQ(WriteByte(image, address, 0x5A), code);
        EXPECT_EQ(image.ReadBytes(address, 1, &value), code);
        EXPECT_EQ(code ? -1 : value, back);
    }
    // The extension also follows the main block directly: index N + 5 is 0x8006.
    FakeModemSource modem(4, 1.04, 246);
    ModemMemoryImage& image = modem.InitialiseImage();
    ASSERT_EQ(WriteByte(image, 0x8006, 0x77), 0);
    EXPECT_EQ(ByteAt(image, 0x100 + 246 + 5), 0x77);
    EXPECT_EQ(image.GetFirmwareRevisionText(), "1.04");
    // A refused range changes nothing.
    const uint8_t data[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(image.WriteBytes(0x8008, 3, data), rc::kBadAddress);
    EXPECT_EQ(ByteAt(image, 0x8008), 0);
}

TEST(ModemMemoryImage, ChecksumFollowsEveryWrite) {
    FakeModemSource modem(2, 3.41, 246);
    for (int a = 0x100; a < 0x100 + 245; ++a) modem.memory[a] = static_cast<uint8_t>(a * 7);
    ModemMemoryImage& image = modem.LoadImage();
    ASSERT_TRUE(image.IsLoaded());
    auto expected = [&image] {
        int sum = 0;
        for (int a = 0x100; a < 0x100 + 245; ++a) sum += ByteAt(image, a);
        return static_cast<uint8_t>(~sum);
    };
    // Loading keeps the stored checksum as read; the first write recomputes it.
    ASSERT_EQ(WriteByte(image, 0x18B, ByteAt(image, 0x18B)), 0);
    EXPECT_EQ(ByteAt(image, 0x1F5), expected());
    ASSERT_EQ(WriteByte(image, 0x18B, 0x05), 0);
    EXPECT_EQ(ByteAt(image, 0x1F5), expected());
}

// The report documents of the known modems load a type 3 and a type 4 modem; a QMX (types 1 and
// 2) keeps its running copies elsewhere, and the load fills one progress window.
TEST(ModemMemoryImage, LoadTakesTheRunningCopiesOfAQmx) {
    vxl::test::RecordingOperator ui;
    vxl::ScopedUi scoped(ui);
    FakeModemSource modem(2, 3.5, 255);
    modem.SetConfigChecksum();
    modem.memory[0xAE8B] = 0xB1;  // the running baud rate, the protocol mode 5 bytes on
    modem.memory[0xAE90] = 0xB2;
    const ModemMemoryImage& image = modem.LoadImage(true);
    ASSERT_TRUE(image.IsLoaded());
    EXPECT_TRUE(image.ChecksumMatched());
    EXPECT_EQ(ByteAt(image, 0x18B) * 256 + ByteAt(image, 0x190), 0xB1B2);
    EXPECT_EQ(modem.readLog.size(), 255u + 2);
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_TRUE(ui.progress[0]->steps == 100 && ui.progress[0]->closed);
}

// Replies carry no checksum: a block that does not match its own checksum byte is read once
// more, and only a second mismatch is reported (the image is still loaded; callers decide).
TEST(ModemMemoryImage, AChecksumMismatchIsReadOnceMoreThenReported) {
    const struct {
        int damagedAddress, damagedReads;
        bool matched;
        size_t passes;
    } cases[] = {{-1, 0, true, 1}, {0x150, 1, true, 2}, {0x1F5, 1, true, 2}, {0x150, -1, false, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.damagedAddress << " " << c.damagedReads);
        FakeModemSource modem(4, 1.03, 246);
        for (int i = 0; i < 246; ++i) modem.memory[0x100 + i] = static_cast<uint8_t>(i * 7);
        modem.SetConfigChecksum();
        modem.damagedAddress = c.damagedAddress;
        modem.damagedReads = c.damagedReads;
        const ModemMemoryImage& image = modem.LoadImage();
        ASSERT_TRUE(image.IsLoaded());
        EXPECT_EQ(image.ChecksumMatched(), c.matched);
        // Main block and extension on each pass, then the two running copies.
        EXPECT_EQ(modem.readLog.size(), c.passes * (246 + 5) + 2);
        EXPECT_EQ(ByteAt(image, 0x150),
                  c.matched ? modem.memory[0x150] : modem.memory[0x150] ^ 0x10);
    }
}

// A modem that cannot be imaged is not read at all; otherwise the load stops at the first
// failing read or unlock and closes its window early.
TEST(ModemMemoryImage, LoadStopsAtTheFirstFailure) {
    const std::tuple<int, int, int, int, size_t> cases[] = {
        {4, 246, 0x150, 0, 0x51}, {4, 246, 0x1FE, 0, 255},
        {4, 246, 0xEE90, 0, 256}, {4, 246, -1, rc::kTimeout, 255},
        {5, 246, -1, 0, 0},       {4, 0, -1, 0, 0},
        {4, 0x8000, -1, 0, 0}};
    for (auto [type, size, failAddress, unlockResult, readsMade] : cases) {
        SCOPED_TRACE(testing::Message() << type << " " << size << std::hex << " " << failAddress);
        vxl::test::RecordingOperator ui;
        vxl::ScopedUi scoped(ui);
        FakeModemSource modem(type, 2.2, size);
        modem.SetConfigChecksum();
        modem.failAddress = failAddress;
        modem.unlockResult = unlockResult;
        const ModemMemoryImage& image = modem.LoadImage(true);
        EXPECT_FALSE(image.IsLoaded());
        EXPECT_EQ(modem.readLog.size(), readsMade);
        EXPECT_EQ(modem.loadStatus.empty(), readsMade == 0);
        EXPECT_EQ(ui.progress.size(), readsMade > 0 ? 1u : 0u);
        for (const auto& window : ui.progress) {
            EXPECT_TRUE(window->closed);
            EXPECT_LE(window->steps, readsMade < 255 ? 99 : 100);  // 100 once every byte is read
        }
        uint8_t value = 0;
        EXPECT_EQ(image.ReadBytes(0x100, 1, &value), readsMade == 0 ? rc::kBadAddress : 0);
    }
}

}  // namespace
