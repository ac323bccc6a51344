#include "sim/lib/modem_memory.h"

#include <gtest/gtest.h>

namespace vxl::sim {
namespace {

// A QMX model-table row (0: the type-4 family, with its model and band); firmware revision; N.
ModemProfile Profile(int qmxRow, int high, int low, int model = 5, int band = 2, int size = 0) {
    ModemProfile p;
    p.model = model;
    p.band = band;
    p.qmxRow = qmxRow;
    p.revisionHigh = high;
    p.revisionLow = low;
    p.configSize = size;
    return p;
}

TEST(ModemMemory, KindsLayOutIdentityBlockChecksumAndRunningCopies) {
    ModemProfile zeroModelByte;
    zeroModelByte.modelByteZero = true;
    const struct {
        const char* name;
        ModemProfile profile;
        int modelByte, modemType, identityBlock, parameterBase, configSize, extensionSize;
    } cases[] = {
        {"vxl", ModemProfile(), 0xD2, 4, 0x8400, 0xEE00, 246, 9},
        {"model byte zero", zeroModelByte, 0x00, 4, 0x8400, 0xEE00, 246, 9},
        {"ktr rover 1.03", Profile(0, 10, 3, 1, 3, 200), 0x93, 4, 0x8400, 0xEE00, 200, 5},
        {"ktr rover 1.04", Profile(0, 10, 4, 1, 3, 246), 0x93, 4, 0x8400, 0xEE00, 246, 9},
        {"qmx 3.40 is type 1", Profile(24, 34, 0), 24, 1, 0xE000, 0xAE00, 176, 0},
        {"qmx 3.41 is type 2", Profile(24, 34, 1), 24, 2, 0xE000, 0xAE00, 192, 0},
        {"qmxrxo is type 3", Profile(90, 35, 0), 90, 3, 0xE000, 0xB600, 192, 0},
        {"zp16 row is type 0", Profile(72, 35, 0), 72, 0, 0xE000, 0xAE00, 192, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
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
        const MemoryLayout layout = DescribeMemory(memory);
        EXPECT_EQ(layout.modemType, c.modemType);
        EXPECT_EQ(layout.identityBlock, c.identityBlock);
        EXPECT_EQ(layout.parameterBase, c.parameterBase);
        EXPECT_EQ(layout.configSize, c.configSize);
        EXPECT_EQ(layout.extensionSize, c.extensionSize);
    }
}

// The baud codes are the protocol's own, used end to end at every rate (line_faults_test).
TEST(ModemMemory, RevisionTexts) {
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

}  // namespace
}  // namespace vxl::sim
