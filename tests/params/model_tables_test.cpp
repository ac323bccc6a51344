#include "params/model_tables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "util/format.h"

namespace vxl {
namespace {

struct QmxCase {
    int row;
    std::string name, band;
    int factorySet;
    std::string power;
};

TEST(QmxModelTable, RowsFollowTheGroupsOfTheTable) {
    const QmxCase cases[] = {
        {0, "RLNK44", "450-470", 2, "2"},    {1, "RLNK44", "450-470", 2, "2"},
        {2, "RLNK44", "406-415", -1, "2"},   {5, "LNK44", "450-470", 2, "2"},
        {8, "LNK44", "470-480", -1, "2"},    {16, "QMX44A", "406-415", -1, "2"},
        {24, "QMX44A", "430-450", 1, "35"},  {26, "QMX44A", "450-470", 2, "15"},
        {36, "QMX44A", "496-512", -1, "35"}, {57, "QMX44B", "496-512", -1, "35"},
        {63, "QMX44A", "112-118", -1, "35"}, {69, "QMX44B", "112-118", -1, "35"},
        {72, "ZP16", "410-430", 0, "2"},     {76, "ZP16", "490-510", -1, "2"},
        {77, "QMX44A", "410-430", 0, "2"},   {79, "QMX44A", "410-430", 0, "35"},
        {84, "QMX44B", "470-490", -1, "15"}, {88, "QMX44B", "490-510", -1, "35"},
        {89, "QMXRXO", "450-470", 2, "0"},   {92, "QMXRXO", "150-174", -1, "0"},
        {93, "QMX44B", "450-470", 2, "0"},   {96, "QMX44B", "150-174", -1, "0"},
    };
    for (const QmxCase& c : cases) {
        SCOPED_TRACE(Format("row %d", c.row));
        const QmxModelRow& row = QmxModel(c.row);
        EXPECT_EQ(row.name, c.name);
        EXPECT_EQ(row.band, c.band);
        EXPECT_EQ(row.factorySet, c.factorySet);
        EXPECT_EQ(row.power, c.power);
        EXPECT_EQ(QmxModelText(c.row), c.name + " " + c.band + "MHz " + c.power + "W");
    }
    EXPECT_EQ(QmxModelText(24), "QMX44A 430-450MHz 35W");
}

TEST(QmxModelTable, UnusedAndUnknownRowsAreEmptyAndNeverOffered) {
    for (int row : {-1, 9, 12, 15, kQmxModelRows, 255}) {
        SCOPED_TRACE(Format("row %d", row));
        const QmxModelRow& entry = QmxModel(row);
        EXPECT_STREQ(entry.name, "");
        EXPECT_STREQ(entry.band, "");
        EXPECT_STREQ(entry.power, "");
        EXPECT_EQ(entry.factorySet, -1);
        EXPECT_EQ(QmxModelText(row), "");
    }
}

TEST(QmxModelTable, EveryNamedRowHasBandPowerAndTheFactorySetOfItsBand) {
    int named = 0;
    for (int row = 0; row < kQmxModelRows; ++row) {
        const QmxModelRow& entry = QmxModel(row);
        if (entry.name[0] == '\0') continue;
        ++named;
        SCOPED_TRACE(Format("row %d", row));
        EXPECT_LE(std::string(entry.name).size(), 8u);
        EXPECT_NE(entry.band[0], '\0');
        EXPECT_NE(entry.power[0], '\0');
        const std::string band = entry.band;
        int expected = band == "410-430" ? 0 : band == "430-450" ? 1 : band == "450-470" ? 2 : -1;
        EXPECT_EQ(entry.factorySet, expected);
    }
    EXPECT_EQ(named, kQmxModelRows - 7);
}

struct Type4Case {
    int model;
    std::string name;
    bool transmits;
    int choiceCount;
    std::vector<int> bands, powerCodes;
    int powerControl;
    std::vector<int> boardIds;  // bands 0, 1, 2, 3, 10
};

TEST(Type4Tables, PerModelRows) {
    const std::vector<int> split = {0, 1, 2, 4, 5, 6, 7, 8, 9, 10};
    const Type4Case cases[] = {
        {0, "KTR HP Base", true, 3, {0, 1, 2}, {2}, 0x47, {987, 988, 938, 0, 0}},
        {1, "KTR Rover", false, 3, {0, 1, 2}, {0}, 0, {1080, 1081, 968, 0, 0}},
        {2, "KTR RXO", false, 11, {0, 1, 2, 10}, {0}, 0, {1013, 1021, 974, 0, 0}},
        {3, "KTR LP Base", true, 11, split, {1, 3}, 0xFF, {1038, 1038, 1038, 1038, 1038}},
        {4, "Spare", false, 3, {0, 1, 2}, {0}, 0, {0, 0, 0, 0, 0}},
        {5, "VXL", true, 10, split, {1, 3}, 0xFF, {1038, 1038, 1038, 1038, 1038}},
    };
    const int boardBands[] = {0, 1, 2, 3, 10};
    for (const Type4Case& c : cases) {
        SCOPED_TRACE(Format("model %d", c.model));
        ASSERT_NE(Type4ModelName(c.model), nullptr);
        EXPECT_EQ(Type4ModelName(c.model), c.name);
        EXPECT_EQ(Type4Transmits(c.model), c.transmits);
        EXPECT_EQ(Type4ChoiceCount(c.model), c.choiceCount);
        EXPECT_EQ(Type4Bands(c.model), c.bands);
        EXPECT_EQ(Type4PowerCodes(c.model), c.powerCodes);
        EXPECT_EQ(Type4PowerControlDefault(c.model, 1.04), c.powerControl);
        for (size_t i = 0; i < c.boardIds.size(); ++i) {
            EXPECT_EQ(Type4BoardId(c.model, boardBands[i]), c.boardIds[i]) << "band " << i;
        }
        // The offered bands fit the room reserved for them.
        EXPECT_LE(static_cast<int>(c.bands.size()), c.choiceCount);
    }
}

TEST(Type4Tables, ModelsOutsideTheTableHaveNothing) {
    for (int model : {-1, 6, 7, 100}) {
        SCOPED_TRACE(Format("model %d", model));
        EXPECT_EQ(Type4ModelName(model), nullptr);
        EXPECT_FALSE(Type4Transmits(model));
        EXPECT_EQ(Type4ChoiceCount(model), 0);
        EXPECT_TRUE(Type4Bands(model).empty());
        EXPECT_TRUE(Type4PowerCodes(model).empty());
        EXPECT_EQ(Type4PowerControlDefault(model, 1.04), -1);
        EXPECT_EQ(Type4BoardId(model, 0), 0);
    }
    EXPECT_EQ(Type4BoardId(0, -1), 0);
}

TEST(Type4Tables, HighPowerBaseOnFirmware200StartsWithoutPowerControl) {
    struct Case {
        int model;
        double revision;
        int expected;
    };
    const Case cases[] = {{0, 2.0, 0},     {0, 2.00000001, 0}, {0, 2.01, 0x47}, {0, 1.99, 0x47},
                          {0, 1.04, 0x47}, {3, 2.0, 0xFF},     {5, 2.0, 0xFF},  {1, 2.0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(Type4PowerControlDefault(c.model, c.revision), c.expected)
            << c.model << " " << c.revision;
    }
}

TEST(Type4Tables, BandAndPowerTexts) {
    const char* const bands[] = {"410-430", "430-450", "450-470", "470-490", "410-420", "420-430",
                                 "430-440", "440-450", "450-460", "460-470", "223-235", "150-173"};
    for (int band = 0; band < kType4BandCount; ++band) {
        ASSERT_NE(Type4BandText(band), nullptr);
        EXPECT_STREQ(Type4BandText(band), bands[band]);
    }
    const char* const powers[] = {"0", "2", "35", "0.5"};
    for (int code = 0; code < kType4PowerCodeCount; ++code) {
        ASSERT_NE(Type4PowerText(code), nullptr);
        EXPECT_STREQ(Type4PowerText(code), powers[code]);
    }
    for (int outside : {-1, 12, 15}) EXPECT_EQ(Type4BandText(outside), nullptr) << outside;
    for (int outside : {-1, 4, 15}) EXPECT_EQ(Type4PowerText(outside), nullptr) << outside;
}

std::vector<uint8_t> HexBytes(const std::string& text) {
    std::istringstream in(text);
    std::vector<uint8_t> bytes;
    std::string item;
    while (in >> item)
        bytes.push_back(static_cast<uint8_t>(std::strtoul(item.c_str(), nullptr, 16)));
    return bytes;
}

std::vector<uint8_t> DacRow(int crystal, int model, int bandwidth) {
    const uint8_t* row = DacCompensationRow(crystal, model, bandwidth);
    if (row == nullptr) return {};
    return std::vector<uint8_t>(row, row + kDacCompensationBytes);
}

TEST(DacCompensation, RowsChosenByModelCrystalAndBandwidth) {
    const std::string r0 = "A0 83 70 68 68 71 7B 87 93 9D A2 A2 9C 8F 76";
    const std::string r1 = "A9 8C 7B 70 6D 70 7A 84 91 98 9D 9F 91 7A 6D";
    const std::string r2 = "80 80 80 80 80 80 80 80 80 80 80 80 80 80 80";
    const std::string r3 = "D2 AF 91 7D 75 73 76 7C 80 84 86 82 75 5B 3E";
    const std::string r4 = "B1 96 83 77 73 74 77 7D 80 82 81 7A 6B 56 37";
    const std::string r5 = "64 86 9E A0 9D 98 8C 77 65 53 4A 48 4C 59 80";
    const std::string r6 = "63 78 85 8E 8E 8B 87 80 78 6E 66 64 69 78 8F";
    const std::string r7 = "2A 49 64 7D 8C 90 8C 83 7B 75 75 80 90 AF DC";
    const std::string r8 = "3C 6E 87 99 A1 9E 94 83 76 6B 66 67 71 84 A4";
    const std::string r9 = "AA 88 77 6D 69 6A 6E 76 7A 81 84 84 70 5D 3C";
    const std::string r10 = "8B 62 49 3C 3B 42 4F 5F 71 81 8D 93 90 81 64";
    const std::string r11 = "80 80 80 80 A1 9E 94 83 80 80 80 80 71 84 A4";
    struct Case {
        int crystal, model, bandwidth;
        const std::string& row;
    };
    const Case cases[] = {
        {0, 0, 0, r0},  {4, 0, 0, r3}, {4, 0, 1, r3}, {1, 0, 1, r1},  {2, 0, 0, r1}, {5, 0, 0, r4},
        {6, 0, 1, r4},  {7, 0, 0, r2}, {3, 0, 1, r2}, {0, 1, 0, r5},  {1, 1, 0, r6}, {4, 2, 1, r7},
        {5, 2, 0, r8},  {6, 1, 1, r8}, {0, 3, 0, r9}, {0, 3, 1, r10}, {0, 5, 0, r9}, {0, 5, 1, r10},
        {4, 3, 1, r3},  {4, 5, 0, r3}, {1, 5, 0, r2}, {7, 3, 1, r2},  {0, 4, 1, r5}, {4, 4, 0, r7},
        {5, 4, 1, r11}, {6, 4, 0, r2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("crystal %d model %d bandwidth %d", c.crystal, c.model, c.bandwidth));
        EXPECT_EQ(DacRow(c.crystal, c.model, c.bandwidth), HexBytes(c.row));
    }
}

TEST(DacCompensation, EveryCombinationHasOneOfTwelveRowsAndOthersNone) {
    std::set<std::vector<uint8_t>> distinct;
    for (int model = 0; model < kType4ModelCount; ++model) {
        for (int bandwidth = 0; bandwidth < 2; ++bandwidth) {
            for (int crystal = 0; crystal < 8; ++crystal) {
                std::vector<uint8_t> row = DacRow(crystal, model, bandwidth);
                ASSERT_EQ(row.size(), static_cast<size_t>(kDacCompensationBytes));
                distinct.insert(row);
            }
        }
    }
    EXPECT_EQ(distinct.size(), 12u);
    EXPECT_EQ(DacCompensationRow(8, 0, 0), nullptr);
    EXPECT_EQ(DacCompensationRow(-1, 0, 0), nullptr);
    EXPECT_EQ(DacCompensationRow(0, 6, 0), nullptr);
    EXPECT_EQ(DacCompensationRow(0, 0, 2), nullptr);
    EXPECT_EQ(DacCompensationRow(0, -1, -1), nullptr);
}

TEST(LinkRateFilter, PositionsAllowedPerModulationAndBandwidth) {
    struct Case {
        int modulation, bandwidth;
        std::vector<int> allowed;
    };
    const Case cases[] = {
        {0, 0, {2, 3}},     // GMSK, 25 kHz
        {0, 1, {2}},        // GMSK, 12.5 kHz
        {1, 0, {2, 3, 4}},  // 4-Level-FSK, 25 kHz
        {1, 1, {3}},        // 4-Level-FSK, 12.5 kHz
        {2, 0, {}},        {0, 2, {}}, {-1, 0, {}}, {0, -1, {}},
    };
    for (const Case& c : cases) {
        std::vector<int> allowed;
        for (int position = -1; position <= 6; ++position) {
            if (IsLinkRateAllowed(position, c.modulation, c.bandwidth)) allowed.push_back(position);
        }
        EXPECT_EQ(allowed, c.allowed)
            << "modulation " << c.modulation << " bandwidth " << c.bandwidth;
    }
}

}  // namespace
}  // namespace vxl
