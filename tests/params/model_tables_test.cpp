#include "params/model_tables.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "util/format.h"

namespace vxl {
namespace {

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

// The names, bands, powers and board IDs of models 0..5 are read through the parameter set
// (parameter_values_test); a model byte outside 0..5 has nothing, whatever is asked.
TEST(Type4Tables, ModelsOutsideTheTableHaveNothing) {
    for (int model : {-1, 6, 100}) {
        EXPECT_EQ(Type4ModelName(model), nullptr) << model;
        EXPECT_FALSE(Type4Transmits(model)) << model;
        EXPECT_EQ(Type4ChoiceCount(model), 0) << model;
        EXPECT_TRUE(Type4Bands(model).empty() && Type4PowerCodes(model).empty()) << model;
        EXPECT_EQ(Type4PowerControlDefault(model, 1.04), -1) << model;
        EXPECT_EQ(Type4BoardId(model, 0), 0) << model;
    }
    EXPECT_EQ(Type4BoardId(0, -1), 0);
    EXPECT_TRUE(Type4BandText(-1) == nullptr && Type4BandText(12) == nullptr);
    EXPECT_TRUE(Type4PowerText(-1) == nullptr && Type4PowerText(4) == nullptr);
}

// A row as hex text, "" when there is none.
std::string DacRow(int crystal, int model, int bandwidth) {
    const uint8_t* row = DacCompensationRow(crystal, model, bandwidth);
    std::string text;
    for (int i = 0; row != nullptr && i < kDacCompensationBytes; ++i)
        text += Format(i == 0 ? "%02X" : " %02X", row[i]);
    return text;
}

// The rows' bytes are the calibration data itself (a few are checked where the parameter set
// writes them); here, which combinations share a row. Each row is named by its first combination.
TEST(DacCompensation, RowsChosenByModelCrystalAndBandwidth) {
    const std::array<int, 3> rows[] = {{0, 0, 0}, {1, 0, 1}, {7, 0, 0}, {4, 0, 0},
                                       {5, 0, 0}, {0, 1, 0}, {1, 1, 0}, {4, 2, 1},
                                       {5, 2, 0}, {0, 3, 0}, {0, 3, 1}, {5, 4, 1}};
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
        EXPECT_EQ(DacRow(crystal, model, bandwidth),
                  row < 12 ? DacRow(rows[row][0], rows[row][1], rows[row][2]) : "")
            << crystal << model << bandwidth;
    // Every combination has one of twelve distinct rows.
    std::set<std::string> distinct, named;
    for (const auto& [crystal, model, bandwidth] : rows)
        named.insert(DacRow(crystal, model, bandwidth));
    EXPECT_EQ(named.size(), 12u);
    for (int model = 0; model < kType4ModelCount; ++model)
        for (int bandwidth = 0; bandwidth < 2; ++bandwidth)
            for (int crystal = 0; crystal < 8; ++crystal)
                distinct.insert(DacRow(crystal, model, bandwidth));
    EXPECT_EQ(distinct, named);
}

}  // namespace
}  // namespace vxl
