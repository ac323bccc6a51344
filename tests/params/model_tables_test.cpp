#include "params/model_tables.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "util/format.h"

namespace vxl {
namespace {

// Samples of each group of rows (name, band and power; the factory set is checked for every row
// below).
TEST(QmxModelTable, RowsFollowTheGroupsOfTheTable) {
    const std::pair<int, const char*> cases[] = {
        {0, "RLNK44 450-470MHz 2W"},   {2, "RLNK44 406-415MHz 2W"},   {5, "LNK44 450-470MHz 2W"},
        {8, "LNK44 470-480MHz 2W"},    {16, "QMX44A 406-415MHz 2W"},  {24, "QMX44A 430-450MHz 35W"},
        {26, "QMX44A 450-470MHz 15W"}, {36, "QMX44A 496-512MHz 35W"}, {57, "QMX44B 496-512MHz 35W"},
        {63, "QMX44A 112-118MHz 35W"}, {69, "QMX44B 112-118MHz 35W"}, {72, "ZP16 410-430MHz 2W"},
        {76, "ZP16 490-510MHz 2W"},    {79, "QMX44A 410-430MHz 35W"}, {84, "QMX44B 470-490MHz 15W"},
        {89, "QMXRXO 450-470MHz 0W"},  {92, "QMXRXO 150-174MHz 0W"},  {96, "QMX44B 150-174MHz 0W"}};
    for (auto [row, text] : cases) {
        const QmxModelRow& entry = QmxModel(row);
        EXPECT_EQ(Format("%s %sMHz %sW", entry.name, entry.band, entry.power), text) << row;
        EXPECT_EQ(QmxModelText(row), text) << row;
    }
}

// Unused and unknown rows are empty, so they are never offered.
TEST(QmxModelTable, EveryNamedRowHasBandPowerAndTheFactorySetOfItsBand) {
    int named = 0;
    for (int row = -1; row <= kQmxModelRows; ++row) {
        SCOPED_TRACE(Format("row %d", row));
        const QmxModelRow& entry = QmxModel(row);
        if (entry.name[0] == '\0') {
            EXPECT_EQ(std::string(entry.band) + entry.power + QmxModelText(row), "");
            EXPECT_EQ(entry.factorySet, -1);
            continue;
        }
        ++named;
        EXPECT_LE(std::string(entry.name).size(), 8u);
        EXPECT_TRUE(entry.band[0] != '\0' && entry.power[0] != '\0');
        const std::string band = entry.band;
        int expected = band == "410-430" ? 0 : band == "430-450" ? 1 : band == "450-470" ? 2 : -1;
        EXPECT_EQ(entry.factorySet, expected);
    }
    EXPECT_EQ(named, kQmxModelRows - 7);
}

struct Type4Case {
    int model, choiceCount, powerControl;
    const char* name;
    bool transmits;
    std::vector<int> bands, powerCodes, boardIds;  // board IDs of bands 0, 1, 2, 3, 10
};

// Models outside 0..5 have nothing.
TEST(Type4Tables, PerModelRows) {
    const std::vector<int> split = {0, 1, 2, 4, 5, 6, 7, 8, 9, 10};
    // clang-format off
    const Type4Case cases[] = {
        {0, 3, 0x47, "KTR HP Base", true, {0, 1, 2}, {2}, {987, 988, 938, 0, 0}},
        {1, 3, 0, "KTR Rover", false, {0, 1, 2}, {0}, {1080, 1081, 968, 0, 0}},
        {2, 11, 0, "KTR RXO", false, {0, 1, 2, 10}, {0}, {1013, 1021, 974, 0, 0}},
        {3, 11, 0xFF, "KTR LP Base", true, split, {1, 3}, {1038, 1038, 1038, 1038, 1038}},
        {4, 3, 0, "Spare", false, {0, 1, 2}, {0}, {0, 0, 0, 0, 0}},
        {5, 10, 0xFF, "VXL", true, split, {1, 3}, {1038, 1038, 1038, 1038, 1038}},
        {-1, 0, -1, nullptr, false, {}, {}, {0, 0, 0, 0, 0}},
        {6, 0, -1, nullptr, false, {}, {}, {0, 0, 0, 0, 0}},
        {100, 0, -1, nullptr, false, {}, {}, {0, 0, 0, 0, 0}}};
    // clang-format on
    const int boardBands[] = {0, 1, 2, 3, 10};
    for (const Type4Case& c : cases) {
        SCOPED_TRACE(Format("model %d", c.model));
        EXPECT_STREQ(Type4ModelName(c.model), c.name);
        EXPECT_EQ(Type4Transmits(c.model), c.transmits);
        EXPECT_EQ(Type4ChoiceCount(c.model), c.choiceCount);
        EXPECT_EQ(Type4Bands(c.model), c.bands);
        EXPECT_EQ(Type4PowerCodes(c.model), c.powerCodes);
        EXPECT_EQ(Type4PowerControlDefault(c.model, 1.04), c.powerControl);
        for (size_t i = 0; i < c.boardIds.size(); ++i)
            EXPECT_EQ(Type4BoardId(c.model, boardBands[i]), c.boardIds[i]) << "band " << i;
        // The offered bands fit the room reserved for them.
        EXPECT_LE(static_cast<int>(c.bands.size()), c.choiceCount);
    }
    EXPECT_EQ(Type4BoardId(0, -1), 0);
}

TEST(Type4Tables, HighPowerBaseOnFirmware200StartsWithoutPowerControl) {
    const std::tuple<int, double, int> cases[] = {
        {0, 2.0, 0},    {0, 2.00000001, 0}, {0, 2.01, 0x47}, {0, 1.99, 0x47},
        {3, 2.0, 0xFF}, {5, 2.0, 0xFF},     {1, 2.0, 0}};
    for (auto [model, revision, expected] : cases)
        EXPECT_EQ(Type4PowerControlDefault(model, revision), expected) << model << " " << revision;
}

// Texts by index from -1 on; indexes outside the tables have none ("-").
TEST(Type4Tables, BandAndPowerTexts) {
    auto texts = [](const char* (*text)(int), int last) {
        std::string all;
        for (int i = -1; i <= last; ++i) all += std::string(text(i) ? text(i) : "-") + " ";
        return all;
    };
    EXPECT_EQ(texts(Type4BandText, 13),
              "- 410-430 430-450 450-470 470-490 410-420 420-430 430-440 440-450 450-460 "
              "460-470 223-235 150-173 - - ");
    EXPECT_EQ(texts(Type4PowerText, 5), "- 0 2 35 0.5 - - ");
}

// A row as hex text, "" when there is none.
std::string DacRow(int crystal, int model, int bandwidth) {
    const uint8_t* row = DacCompensationRow(crystal, model, bandwidth);
    std::string text;
    for (int i = 0; row != nullptr && i < kDacCompensationBytes; ++i)
        text += Format(i == 0 ? "%02X" : " %02X", row[i]);
    return text;
}

TEST(DacCompensation, RowsChosenByModelCrystalAndBandwidth) {
    const char* const rows[] = {"A0 83 70 68 68 71 7B 87 93 9D A2 A2 9C 8F 76",
                                "A9 8C 7B 70 6D 70 7A 84 91 98 9D 9F 91 7A 6D",
                                "80 80 80 80 80 80 80 80 80 80 80 80 80 80 80",
                                "D2 AF 91 7D 75 73 76 7C 80 84 86 82 75 5B 3E",
                                "B1 96 83 77 73 74 77 7D 80 82 81 7A 6B 56 37",
                                "64 86 9E A0 9D 98 8C 77 65 53 4A 48 4C 59 80",
                                "63 78 85 8E 8E 8B 87 80 78 6E 66 64 69 78 8F",
                                "2A 49 64 7D 8C 90 8C 83 7B 75 75 80 90 AF DC",
                                "3C 6E 87 99 A1 9E 94 83 76 6B 66 67 71 84 A4",
                                "AA 88 77 6D 69 6A 6E 76 7A 81 84 84 70 5D 3C",
                                "8B 62 49 3C 3B 42 4F 5F 71 81 8D 93 90 81 64",
                                "80 80 80 80 A1 9E 94 83 80 80 80 80 71 84 A4",
                                ""};  // no row: an index outside the table
    // Crystal, model, bandwidth and the row they choose.
    // clang-format off
    const std::array<int, 4> cases[] = {
        {0, 0, 0, 0},  {4, 0, 0, 3}, {4, 0, 1, 3}, {1, 0, 1, 1},  {2, 0, 0, 1}, {5, 0, 0, 4},
        {6, 0, 1, 4},  {7, 0, 0, 2}, {3, 0, 1, 2}, {0, 1, 0, 5},  {1, 1, 0, 6}, {4, 2, 1, 7},
        {5, 2, 0, 8},  {6, 1, 1, 8}, {0, 3, 0, 9}, {0, 3, 1, 10}, {0, 5, 0, 9}, {0, 5, 1, 10},
        {4, 3, 1, 3},  {4, 5, 0, 3}, {1, 5, 0, 2}, {7, 3, 1, 2},  {0, 4, 1, 5}, {4, 4, 0, 7},
        {5, 4, 1, 11}, {6, 4, 0, 2}, {8, 0, 0, 12}, {-1, 0, 0, 12}, {0, 6, 0, 12}, {0, 0, 2, 12},
        {0, -1, -1, 12}};
    // clang-format on
    for (auto [crystal, model, bandwidth, row] : cases)
        EXPECT_EQ(DacRow(crystal, model, bandwidth), rows[row]) << crystal << model << bandwidth;
    // Every combination has one of the twelve rows.
    std::set<std::string> distinct;
    for (int model = 0; model < kType4ModelCount; ++model)
        for (int bandwidth = 0; bandwidth < 2; ++bandwidth)
            for (int crystal = 0; crystal < 8; ++crystal)
                distinct.insert(DacRow(crystal, model, bandwidth));
    EXPECT_EQ(distinct, std::set<std::string>(std::begin(rows), std::end(rows) - 1));
}

TEST(LinkRateFilter, PositionsAllowedPerModulationAndBandwidth) {
    // Modulation (0 GMSK, 1 4-Level-FSK), bandwidth (0 25 kHz, 1 12.5 kHz), allowed positions.
    const std::tuple<int, int, std::vector<int>> cases[] = {
        {0, 0, {2, 3}}, {0, 1, {2}}, {1, 0, {2, 3, 4}}, {1, 1, {3}},
        {2, 0, {}},     {0, 2, {}},  {-1, 0, {}},       {0, -1, {}},
    };
    for (const auto& [modulation, bandwidth, expected] : cases) {
        std::vector<int> allowed;
        for (int position = -1; position <= 6; ++position)
            if (IsLinkRateAllowed(position, modulation, bandwidth)) allowed.push_back(position);
        EXPECT_EQ(allowed, expected) << "modulation " << modulation << " bandwidth " << bandwidth;
    }
}

}  // namespace
}  // namespace vxl
