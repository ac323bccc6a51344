#include "sim/lib/modem_memory.h"

#include <gtest/gtest.h>

#include <ostream>

#include "support/temp_dir.h"

namespace vxl::sim {
namespace {

struct KindCase {
    const char* name;
    ModemProfile profile;
    int modelByte;
    int modemType;
    int identityBlock;
    int parameterBase;
    int configSize;
    int extensionSize;
};

// Test names and failure messages show the case by its name.
void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.name;
}

ModemProfile Vxl() {
    return ModemProfile();
}
ModemProfile Qmx(int row, int high, int low) {
    ModemProfile p;
    p.qmxRow = row;
    p.revisionHigh = high;
    p.revisionLow = low;
    return p;
}
ModemProfile WithZeroModelByte() {
    ModemProfile p;
    p.modelByteZero = true;
    return p;
}
ModemProfile KtrRover(int high, int low, int size) {
    ModemProfile p;
    p.model = 1;
    p.band = 3;
    p.revisionHigh = high;
    p.revisionLow = low;
    p.configSize = size;
    return p;
}

class ModemKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(ModemKinds, LaysOutIdentityBlockChecksumAndRunningCopies) {
    const KindCase& c = GetParam();
    const MemoryBytes memory = BuildMemory(c.profile);
    ASSERT_EQ(memory.size(), kMemorySize);
    EXPECT_EQ(memory[kModelByteAddress], c.modelByte);

    const int block = c.identityBlock;
    EXPECT_EQ(memory[block + 2], c.profile.revisionHigh);
    EXPECT_EQ(memory[block + 3], c.profile.revisionLow);
    EXPECT_EQ(memory[block + 4], c.configSize);
    EXPECT_EQ(memory[block + 5] * 256 + memory[block + 6], c.profile.identityWord);

    // The block's last byte is the complement of the sum of the others.
    unsigned sum = 0;
    for (int a = kConfigBase; a < kConfigBase + c.configSize - 1; ++a) sum += memory[a];
    EXPECT_EQ(memory[kConfigBase + c.configSize - 1], static_cast<uint8_t>(~sum));
    EXPECT_TRUE(ConfigChecksumValid(memory, c.configSize));

    const MemoryLayout layout = DescribeMemory(memory);
    EXPECT_EQ(layout.modemType, c.modemType);
    EXPECT_EQ(layout.identityBlock, c.identityBlock);
    EXPECT_EQ(layout.parameterBase, c.parameterBase);
    EXPECT_EQ(layout.configSize, c.configSize);
    EXPECT_EQ(layout.extensionSize, c.extensionSize);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, ModemKinds,
    ::testing::Values(
        KindCase{"vxl", Vxl(), 0xD2, 4, 0x8400, 0xEE00, 246, 9},
        KindCase{"model_byte_zero", WithZeroModelByte(), 0x00, 4, 0x8400, 0xEE00, 246, 9},
        KindCase{"ktr_rover_old_firmware", KtrRover(10, 3, 200), 0x93, 4, 0x8400, 0xEE00, 200, 5},
        KindCase{"ktr_rover_1_04", KtrRover(10, 4, 246), 0x93, 4, 0x8400, 0xEE00, 246, 9},
        KindCase{"qmx_3_40_is_type_1", Qmx(24, 34, 0), 24, 1, 0xE000, 0xAE00, 176, 0},
        KindCase{"qmx_3_41_is_type_2", Qmx(24, 34, 1), 24, 2, 0xE000, 0xAE00, 192, 0},
        KindCase{"qmxrxo_is_type_3", Qmx(90, 35, 0), 90, 3, 0xE000, 0xB600, 192, 0},
        KindCase{"zp16_row_is_type_0", Qmx(72, 35, 0), 72, 0, 0xE000, 0xAE00, 192, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModemMemory, ProfileFieldsLandAtTheirAddresses) {
    ModemProfile p;
    p.serialNumber = 4012345;  // 0x003D3939
    p.synthesizerType = 2;
    p.baud = 19200;
    const MemoryBytes m = BuildMemory(p);
    EXPECT_EQ(m[0x106], 0x00);
    EXPECT_EQ(m[0x107], 0x3D);
    EXPECT_EQ(m[0x108], 0x39);
    EXPECT_EQ(m[0x109], 0x39);
    EXPECT_EQ(m[kSynthesizerTypeAddress], 2);
    EXPECT_EQ(m[kStoredBaudAddress], 0);  // 19200 is code 0
    // The VXL extension follows the block: clock, enable flag (bit 7 = enabled), security code.
    EXPECT_EQ(m[0x100 + 246 + 4], 0x80);
}

TEST(ModemMemory, ChecksumFollowsAChangedByte) {
    MemoryBytes m = BuildMemory(ModemProfile());
    const uint8_t before = m[0x1F5];
    m[0x18B] = static_cast<uint8_t>(m[0x18B] + 5);
    EXPECT_FALSE(ConfigChecksumValid(m, 246));
    FixConfigChecksum(m, 246);
    EXPECT_EQ(m[0x1F5], static_cast<uint8_t>(before - 5));
    EXPECT_EQ(ConfigChecksum(m.data(), 1), 0xFF);  // empty range
}

TEST(ModemMemory, BaudCodesAndRevisionTexts) {
    const int rates[] = {19200, 9600, 4800, 2400, 1200, 600, 300, 0, 38400};
    for (int code = 0; code < 9; ++code) {
        EXPECT_EQ(BaudFromCode(code), rates[code]);
        if (rates[code] != 0) {
            EXPECT_EQ(BaudCode(rates[code]), code);
        }
    }
    EXPECT_EQ(BaudCode(57600), -1);
    EXPECT_EQ(BaudFromCode(7), 0);
    EXPECT_EQ(BaudFromCode(9), 0);

    struct {
        const char* text;
        bool ok;
        int high, low;
    } cases[] = {{"2.20", true, 22, 0},  {"3.41", true, 34, 1},  {"1.04", true, 10, 4},
                 {"0.99", true, 9, 9},   {"3.4", false, 0, 0},   {"x.20", false, 0, 0},
                 {"2.200", false, 0, 0}, {"26.00", false, 0, 0}, {"", false, 0, 0}};
    for (const auto& c : cases) {
        int high = -1, low = -1;
        EXPECT_EQ(ParseRevision(c.text, &high, &low), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(high, c.high) << c.text;
        EXPECT_EQ(low, c.low) << c.text;
        EXPECT_EQ(RevisionText(high, low), c.text);
    }
    EXPECT_EQ(RevisionText(20, 10), "2.00");  // a low byte above 9 counts as 0
}

TEST(ModemMemory, ImageFilesRoundTripAndBadOnesAreRefused) {
    vxl::test::TempDir dir;
    MemoryBytes m = BuildMemory(ModemProfile());
    m[0x4242] = 0x42;
    std::string error;
    const std::string path = dir.File("modem.bin");
    ASSERT_TRUE(SaveMemoryFile(path, m, &error)) << error;
    MemoryBytes loaded;
    ASSERT_TRUE(LoadMemoryFile(path, &loaded, &error)) << error;
    EXPECT_EQ(loaded, m);

    EXPECT_FALSE(LoadMemoryFile(dir.File("missing.bin"), &loaded, &error));
    EXPECT_NE(error.find("missing.bin"), std::string::npos);
    const std::string shortFile = dir.Write("short.bin", "abc");
    EXPECT_FALSE(LoadMemoryFile(shortFile, &loaded, &error));
    EXPECT_NE(error.find("65536"), std::string::npos);
    EXPECT_EQ(loaded, m);  // a refused file leaves the memory alone

    EXPECT_FALSE(SaveMemoryFile(dir.File("no/such/folder/m.bin"), m, &error));
}

}  // namespace
}  // namespace vxl::sim
