#include "params/modem_memory_image.h"

#include <gtest/gtest.h>

#include <numeric>

#include "support/fake_modem_source.h"
#include "support/recording_operator.h"
#include "util/result_codes.h"

namespace {

using vxl::test::FakeModemSource;

uint8_t ByteAt(const ModemMemoryImage& image, int address) {
    uint8_t value = 0;
    EXPECT_EQ(image.ReadBytes(address, 1, &value), 0) << std::hex << address;
    return value;
}

int WriteByte(ModemMemoryImage& image, int address, uint8_t value) {
    return image.WriteBytes(address, 1, &value);
}

uint8_t ExpectedChecksum(const ModemMemoryImage& image) {
    int sum = 0;
    for (int a = 0x100; a < 0x100 + image.GetMainSize() - 1; ++a) sum += ByteAt(image, a);
    return static_cast<uint8_t>(~sum);
}

TEST(ModemMemoryImage, ExtensionSizeFollowsTypeAndRevision) {
    struct Case {
        int type;
        double revision;
        int size;
    } cases[] = {{0, 2.2, 0},  {1, 3.40, 0}, {2, 3.41, 0}, {3, 1.0, 0},
                 {4, 1.03, 5}, {4, 1.04, 9}, {4, 2.0, 9},  {4, 0.0, 5}};
    for (const Case& c : cases)
        EXPECT_EQ(ModemMemoryImage::ExtensionSizeFor(c.type, c.revision), c.size)
            << c.type << " " << c.revision;
}

TEST(ModemMemoryImage, AddressMapping) {
    struct Case {
        double revision;
        int address;
        bool mapped;
    } cases[] = {
        {1.04, 0x100, true},  {1.04, 0x1F5, true},   {1.04, 0x8001, true},
        {1.04, 0x8006, true}, {1.04, 0x8009, true},  {1.04, 0x800A, false},
        {1.03, 0x8005, true}, {1.03, 0x8006, false}, {1.04, 0x8000, false},
        {1.04, 0xFF, false},  {1.04, -1, false},     {1.04, 0x7FFFFFFF, false},
    };
    for (const Case& c : cases) {
        FakeModemSource modem(4, c.revision, 246);
        ModemMemoryImage image;
        image.Initialise(&modem);
        uint8_t value = 0x5A;
        EXPECT_EQ(image.WriteBytes(c.address, 1, &value), c.mapped ? 0 : vxl::rc::kBadAddress)
            << std::hex << c.address << " rev " << c.revision;
        uint8_t back = 0;
        EXPECT_EQ(image.ReadBytes(c.address, 1, &back), c.mapped ? 0 : vxl::rc::kBadAddress);
        if (c.mapped && c.address != 0x1F5) {
            EXPECT_EQ(back, 0x5A);
        }
    }
}

TEST(ModemMemoryImage, ExtensionAddressesFollowTheMainBlock) {
    FakeModemSource modem(4, 1.04, 246);
    ModemMemoryImage image;
    image.Initialise(&modem);
    ASSERT_EQ(WriteByte(image, 0x8006, 0x77), 0);
    // Index N + 5 is also reached from the address just past the main block plus five.
    EXPECT_EQ(ByteAt(image, 0x100 + 246 + 5), 0x77);
}

TEST(ModemMemoryImage, RefusedRangeChangesNothing) {
    FakeModemSource modem(4, 1.03, 246);
    ModemMemoryImage image;
    image.Initialise(&modem);
    const uint8_t data[3] = {1, 2, 3};
    EXPECT_EQ(image.WriteBytes(0x8004, 3, data), vxl::rc::kBadAddress);
    EXPECT_EQ(ByteAt(image, 0x8004), 0);
    EXPECT_EQ(image.WriteBytes(0x100, 1, nullptr), vxl::rc::kMissingArgument);
    EXPECT_EQ(image.ReadBytes(0x100, 1, nullptr), vxl::rc::kMissingArgument);
    EXPECT_EQ(image.WriteBytes(0x100, -1, data), vxl::rc::kBadOffsetOrLength);
}

TEST(ModemMemoryImage, ChecksumFollowsEveryWrite) {
    FakeModemSource modem(2, 3.41, 246);
    for (int a = 0x100; a < 0x100 + 245; ++a) modem.memory[a] = static_cast<uint8_t>(a * 7);
    ModemMemoryImage& image = modem.LoadImage();
    ASSERT_TRUE(image.IsLoaded());
    // Loading keeps the stored checksum as read; the first write recomputes it.
    ASSERT_EQ(WriteByte(image, 0x18B, ByteAt(image, 0x18B)), 0);
    uint8_t before = ByteAt(image, 0x1F5);
    EXPECT_EQ(before, ExpectedChecksum(image));
    uint8_t old = ByteAt(image, 0x18B);
    ASSERT_EQ(WriteByte(image, 0x18B, 0x05), 0);
    EXPECT_EQ(ByteAt(image, 0x1F5), static_cast<uint8_t>(before - (0x05 - old)));
    EXPECT_EQ(ByteAt(image, 0x1F5), ExpectedChecksum(image));
    // Writing the checksum byte itself does not stick.
    ASSERT_EQ(WriteByte(image, 0x1F5, 0x00), 0);
    EXPECT_EQ(ByteAt(image, 0x1F5), ExpectedChecksum(image));
}

TEST(ModemMemoryImage, CloneEqualsUntilAByteDiffers) {
    FakeModemSource modem(4, 2.2, 246);
    ModemMemoryImage& image = modem.InitialiseImage();
    WriteByte(image, 0x8003, 0x42);
    std::unique_ptr<ModemMemoryImage> copy = image.Clone();
    EXPECT_TRUE(copy->Equals(image));
    EXPECT_EQ(copy->GetModem(), &modem);
    EXPECT_FALSE(copy->IsModified());
    WriteByte(*copy, 0x8003, 0x43);
    EXPECT_FALSE(copy->Equals(image));
    EXPECT_TRUE(copy->IsModified());
    WriteByte(*copy, 0x8003, 0x42);
    EXPECT_TRUE(copy->Equals(image));
    EXPECT_FALSE(copy->IsModified());

    FakeModemSource older(4, 1.03, 246);
    ModemMemoryImage shorter;
    shorter.Initialise(&older);
    EXPECT_FALSE(shorter.Equals(image));
    EXPECT_TRUE(ModemMemoryImage().Equals(ModemMemoryImage()));
    EXPECT_FALSE(ModemMemoryImage().IsModified());
}

TEST(ModemMemoryImage, ShiftExtensionBothWays) {
    FakeModemSource modem(4, 1.04, 246);
    for (int i = 0; i < 246 + 9; ++i) modem.memory[0x100 + i] = static_cast<uint8_t>(i);
    struct Case {
        int delta;
        std::vector<int> extension;  // expected byte indexes, -1 for 0
    } cases[] = {
        {+1, {245, 246, 247, 248, 249, 250, 251, 252, 253}},
        {-1, {247, 248, 249, 250, 251, 252, 253, 254, -1}},
        {+3, {243, 244, 245, 246, 247, 248, 249, 250, 251}},
        {-9, {-1, -1, -1, -1, -1, -1, -1, -1, -1}},
        {0, {246, 247, 248, 249, 250, 251, 252, 253, 254}},
    };
    for (const Case& c : cases) {
        ModemMemoryImage image;
        std::string status;
        image.LoadFromModem(&modem, status, false);
        ASSERT_TRUE(image.IsLoaded());
        uint8_t lastMain = ByteAt(image, 0x1F5);
        image.ShiftExtension(c.delta);
        for (int k = 0; k < 9; ++k) {
            int index = c.extension[static_cast<size_t>(k)];
            EXPECT_EQ(ByteAt(image, 0x8001 + k), index < 0 ? 0 : index)
                << "delta " << c.delta << " k " << k;
        }
        EXPECT_EQ(ByteAt(image, 0x1F5), lastMain);
        EXPECT_EQ(image.GetMainSize(), 246);
        EXPECT_EQ(image.GetExtensionSize(), 9);
    }
}

TEST(ModemMemoryImage, LoadReadsEveryByteThenTheRunningCopies) {
    struct Case {
        int type;
        double revision;
        int activeBaud;
        int activeProtocol;
        int extension;
    } cases[] = {{1, 3.0, 0xAE8B, 0xAE90, 0},
                 {2, 3.5, 0xAE8B, 0xAE90, 0},
                 {3, 1.0, 0xB68B, 0xB690, 0},
                 {4, 1.03, 0xEE8B, 0xEE90, 5},
                 {4, 2.2, 0xEE8B, 0xEE90, 9}};
    for (const Case& c : cases) {
        FakeModemSource modem(c.type, c.revision, 200);
        for (int i = 0; i < 209; ++i) modem.memory[0x100 + i] = static_cast<uint8_t>(i + 1);
        modem.memory[c.activeBaud] = 0xB1;
        modem.memory[c.activeProtocol] = 0xB2;
        ModemMemoryImage image;
        std::string status = "old";
        image.LoadFromModem(&modem, status, false);
        ASSERT_TRUE(image.IsLoaded()) << c.type;
        EXPECT_EQ(image.GetExtensionSize(), c.extension);
        EXPECT_EQ(image.GetModemType(), c.type);
        const int total = 200 + c.extension;
        ASSERT_EQ(modem.readLog.size(), static_cast<size_t>(total + 2));
        for (int i = 0; i < total; ++i) {
            EXPECT_EQ(modem.readLog[static_cast<size_t>(i)].address, 0x100 + i);
            EXPECT_EQ(modem.readLog[static_cast<size_t>(i)].pollLimit, 10);
        }
        EXPECT_EQ(modem.readLog[static_cast<size_t>(total)].address, c.activeProtocol);
        EXPECT_EQ(modem.readLog[static_cast<size_t>(total + 1)].address, c.activeBaud);
        EXPECT_EQ(modem.readLog[static_cast<size_t>(total)].pollLimit, 1000);
        EXPECT_EQ(modem.unlocks, 1);
        EXPECT_EQ(ByteAt(image, 0x18B), 0xB1);
        EXPECT_EQ(ByteAt(image, 0x190), 0xB2);
        EXPECT_EQ(ByteAt(image, 0x100), 1);
        if (c.extension > 0) {
            EXPECT_EQ(ByteAt(image, 0x8001), 201);
        }
    }
}

TEST(ModemMemoryImage, LoadStopsAtTheFirstFailure) {
    struct Case {
        int failAddress;
        int unlockResult;
        size_t readsMade;
    } cases[] = {{0x100, 0, 1},         {0x150, 0, 0x51},
                 {0x100 + 254, 0, 255}, {-1, vxl::rc::kTimeout, 255},
                 {0xEE90, 0, 256},      {0xEE8B, 0, 257}};
    for (const Case& c : cases) {
        FakeModemSource modem(4, 2.2, 246);
        modem.failAddress = c.failAddress;
        modem.unlockResult = c.unlockResult;
        ModemMemoryImage image;
        std::string status;
        image.LoadFromModem(&modem, status, false);
        EXPECT_FALSE(image.IsLoaded()) << std::hex << c.failAddress;
        EXPECT_FALSE(status.empty());
        EXPECT_EQ(modem.readLog.size(), c.readsMade) << std::hex << c.failAddress;
    }
}

TEST(ModemMemoryImage, UnusableModemLeavesAnEmptyImage) {
    struct Case {
        int type;
        int size;
    } cases[] = {{0, 246}, {5, 246}, {4, 0}, {4, -3}, {4, 0x8000}};
    for (const Case& c : cases) {
        FakeModemSource modem(c.type, 2.2, c.size);
        ModemMemoryImage image;
        std::string status;
        image.LoadFromModem(&modem, status, false);
        EXPECT_FALSE(image.IsLoaded());
        EXPECT_EQ(image.GetMainSize(), 0);
        EXPECT_TRUE(modem.readLog.empty());
        uint8_t value = 0;
        EXPECT_EQ(image.ReadBytes(0x100, 1, &value), vxl::rc::kBadAddress);
    }
    ModemMemoryImage none;
    std::string status;
    none.LoadFromModem(nullptr, status, true);
    EXPECT_FALSE(none.IsLoaded());
    EXPECT_EQ(none.GetModemType(), 0);
    EXPECT_EQ(none.GetFirmwareRevision(), 0.0);
    EXPECT_EQ(none.GetFirmwareRevisionText(), "");
}

TEST(ModemMemoryImage, ProgressAdvancesOneHundredSteps) {
    for (int size : {40, 246, 255}) {
        vxl::test::RecordingOperator ui;
        vxl::ScopedUi scoped(ui);
        FakeModemSource modem(4, 1.04, size);
        ModemMemoryImage image;
        std::string status;
        image.LoadFromModem(&modem, status, true);
        ASSERT_TRUE(image.IsLoaded());
        ASSERT_EQ(ui.progress.size(), 1u);
        EXPECT_EQ(ui.progress[0]->steps, 100) << size;
        EXPECT_TRUE(ui.progress[0]->closed);
    }
    vxl::test::RecordingOperator ui;
    vxl::ScopedUi scoped(ui);
    FakeModemSource modem(4, 1.04, 246);
    modem.failAddress = 0x180;
    ModemMemoryImage image;
    std::string status;
    image.LoadFromModem(&modem, status, true);
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_TRUE(ui.progress[0]->closed);
    EXPECT_LT(ui.progress[0]->steps, 100);
}

TEST(ModemMemoryImage, RevisionText) {
    FakeModemSource modem(4, 2.2, 246);
    ModemMemoryImage image;
    image.Initialise(&modem);
    EXPECT_EQ(image.GetFirmwareRevisionText(), "2.20");
    EXPECT_EQ(image.GetBaseAddress(), 0x100);
    EXPECT_FALSE(image.IsLoaded());
}

}  // namespace
