#include "params/model_tables.h"

#include <array>
#include <cmath>
#include <cstring>

#include "util/format.h"

namespace vxl {
namespace {

// ---- QMX family ----

// The model table comes in groups: one name, a list of bands, and for every band one row per
// power rating, in that order.
struct QmxRowGroup {
    const char* name;
    std::vector<const char*> bands;
    std::vector<const char*> powers;
};

const char* const kUhfBands[] = {"406-415", "415-430", "430-450", "450-470",
                                 "470-480", "480-496", "496-512"};
const std::vector<const char*> kThreePowers = {"2", "15", "35"};

const std::vector<QmxRowGroup>& QmxRowGroups() {
    static const std::vector<QmxRowGroup> kGroups = {
        {"RLNK44", {"450-470", "450-470", "406-415", "415-430", "470-480"}, {"2"}},
        {"LNK44", {"450-470", "406-415", "415-430", "470-480"}, {"2"}},
        {"", {"", "", "", "", "", "", ""}, {""}},
        {"QMX44A", {std::begin(kUhfBands), std::end(kUhfBands)}, kThreePowers},
        {"QMX44B", {std::begin(kUhfBands), std::end(kUhfBands)}, kThreePowers},
        {"QMX44A", {"150-173", "112-118"}, kThreePowers},
        {"QMX44B", {"150-173", "112-118"}, kThreePowers},
        {"ZP16",
         {"130-150", "150-173", "410-430", "430-450", "450-470", "470-490", "490-510"},
         {"2"}},
        {"QMX44A", {"410-430"}, kThreePowers},
        {"QMX44B", {"410-430", "470-490", "490-510"}, kThreePowers},
        {"QMXRXO", {"450-470", "410-430", "430-450", "150-174"}, {"0"}},
        {"QMX44B", {"450-470", "410-430", "430-450", "150-174"}, {"0"}},
    };
    return kGroups;
}

// The factory frequency sets exist for three bands only.
int FactorySetOfBand(const char* band) {
    static const char* const kSetBands[] = {"410-430", "430-450", "450-470"};
    for (int set = 0; set < 3; ++set) {
        if (std::strcmp(band, kSetBands[set]) == 0) return set;
    }
    return -1;
}

const QmxModelRow kEmptyRow = {"", "", -1, ""};

using QmxTable = std::array<QmxModelRow, kQmxModelRows>;

QmxTable BuildQmxTable() {
    QmxTable table{};
    table.fill(kEmptyRow);
    size_t row = 0;
    for (const QmxRowGroup& group : QmxRowGroups()) {
        for (const char* band : group.bands) {
            for (const char* power : group.powers) {
                if (row < table.size())
                    table[row] = {group.name, band, FactorySetOfBand(band), power};
                ++row;
            }
        }
    }
    return table;
}

const QmxTable& QmxTableRows() {
    static const QmxTable kTable = BuildQmxTable();
    return kTable;
}

// ---- VXL/KTR family ----

struct Type4Model {
    const char* name;
    bool transmits;
    bool base;  // a base station: its transmit frequencies are its own to set
    int choiceCount;
    int highestFactoryBand;
    std::vector<int> bands;
    std::vector<int> powerCodes;
    int powerControl;
    // Board numbers for bands 0..2; a single-board model has the same number for every band.
    std::array<int, 3> boardIds;
    bool singleBoard;
};

const std::vector<Type4Model>& Type4Models() {
    static const std::vector<int> kBaseBands = {0, 1, 2};
    static const std::vector<int> kSplitBands = {0, 1, 2, 4, 5, 6, 7, 8, 9, 10};
    static const std::vector<Type4Model> kModels = {
        {"KTR HP Base", true, true, 3, 3, kBaseBands, {2}, 0x47, {987, 988, 938}, false},
        {"KTR Rover", false, false, 3, 3, kBaseBands, {0}, 0, {1080, 1081, 968}, false},
        {"KTR RXO", false, false, 11, 11, {0, 1, 2, 10}, {0}, 0, {1013, 1021, 974}, false},
        {"KTR LP Base", true, true, 11, 11, kSplitBands, {1, 3}, 0xFF, {1038, 1038, 1038}, true},
        {"Spare", false, false, 3, 3, kBaseBands, {0}, 0, {0, 0, 0}, false},
        {"VXL", true, true, 10, 10, kSplitBands, {1, 3}, 0xFF, {1038, 1038, 1038}, true},
    };
    return kModels;
}

const Type4Model* FindType4Model(int model) {
    if (model < 0 || model >= kType4ModelCount) return nullptr;
    return &Type4Models()[static_cast<size_t>(model)];
}

// The high-power base keeps its power control at 0 on firmware 2.00.
constexpr int kHighPowerBaseModel = 0;
constexpr long kRevisionWithoutPowerControl = 200;  // in hundredths

const char* const kType4BandTexts[kType4BandCount] = {"410-430", "430-450", "450-470", "470-490",
                                                      "410-420", "420-430", "430-440", "440-450",
                                                      "450-460", "460-470", "223-235", "150-173"};

const char* const kType4PowerTexts[kType4PowerCodeCount] = {"0", "2", "35", "0.5"};

// ---- DAC compensation ----

constexpr int kDacRowCount = 12;
constexpr int kBandwidthCount = 2;
constexpr int kCrystalCount = 8;

const uint8_t kDacRows[kDacRowCount][kDacCompensationBytes] = {
    {0xA0, 0x83, 0x70, 0x68, 0x68, 0x71, 0x7B, 0x87, 0x93, 0x9D, 0xA2, 0xA2, 0x9C, 0x8F, 0x76},
    {0xA9, 0x8C, 0x7B, 0x70, 0x6D, 0x70, 0x7A, 0x84, 0x91, 0x98, 0x9D, 0x9F, 0x91, 0x7A, 0x6D},
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},
    {0xD2, 0xAF, 0x91, 0x7D, 0x75, 0x73, 0x76, 0x7C, 0x80, 0x84, 0x86, 0x82, 0x75, 0x5B, 0x3E},
    {0xB1, 0x96, 0x83, 0x77, 0x73, 0x74, 0x77, 0x7D, 0x80, 0x82, 0x81, 0x7A, 0x6B, 0x56, 0x37},
    {0x64, 0x86, 0x9E, 0xA0, 0x9D, 0x98, 0x8C, 0x77, 0x65, 0x53, 0x4A, 0x48, 0x4C, 0x59, 0x80},
    {0x63, 0x78, 0x85, 0x8E, 0x8E, 0x8B, 0x87, 0x80, 0x78, 0x6E, 0x66, 0x64, 0x69, 0x78, 0x8F},
    {0x2A, 0x49, 0x64, 0x7D, 0x8C, 0x90, 0x8C, 0x83, 0x7B, 0x75, 0x75, 0x80, 0x90, 0xAF, 0xDC},
    {0x3C, 0x6E, 0x87, 0x99, 0xA1, 0x9E, 0x94, 0x83, 0x76, 0x6B, 0x66, 0x67, 0x71, 0x84, 0xA4},
    {0xAA, 0x88, 0x77, 0x6D, 0x69, 0x6A, 0x6E, 0x76, 0x7A, 0x81, 0x84, 0x84, 0x70, 0x5D, 0x3C},
    {0x8B, 0x62, 0x49, 0x3C, 0x3B, 0x42, 0x4F, 0x5F, 0x71, 0x81, 0x8D, 0x93, 0x90, 0x81, 0x64},
    {0x80, 0x80, 0x80, 0x80, 0xA1, 0x9E, 0x94, 0x83, 0x80, 0x80, 0x80, 0x80, 0x71, 0x84, 0xA4},
};

// Row of kDacRows per model, bandwidth (25 kHz, 12.5 kHz) and crystal.
const uint8_t kDacRowOf[kType4ModelCount][kBandwidthCount][kCrystalCount] = {
    {{0, 1, 1, 2, 3, 4, 4, 2}, {0, 1, 1, 2, 3, 4, 4, 2}},
    {{5, 6, 6, 2, 7, 8, 8, 2}, {5, 6, 6, 2, 7, 8, 8, 2}},
    {{5, 6, 6, 2, 7, 8, 8, 2}, {5, 6, 6, 2, 7, 8, 8, 2}},
    {{9, 2, 2, 2, 3, 2, 2, 2}, {10, 2, 2, 2, 3, 2, 2, 2}},
    {{5, 2, 2, 2, 7, 11, 2, 2}, {5, 2, 2, 2, 7, 11, 2, 2}},
    {{9, 2, 2, 2, 3, 2, 2, 2}, {10, 2, 2, 2, 3, 2, 2, 2}},
};

// ---- link rates ----

constexpr int kModulationCount = 2;
constexpr int kLinkRatePositions = 5;
constexpr int kLinkRate4800 = 2, kLinkRate9600 = 3, kLinkRate19200 = 4;

constexpr unsigned Bit(int position) {
    return 1u << position;
}

// Allowed positions per modulation (GMSK, 4-Level-FSK) and bandwidth (25 kHz, 12.5 kHz).
constexpr unsigned kAllowedLinkRates[kModulationCount][kBandwidthCount] = {
    {Bit(kLinkRate4800) | Bit(kLinkRate9600), Bit(kLinkRate4800)},
    {Bit(kLinkRate4800) | Bit(kLinkRate9600) | Bit(kLinkRate19200), Bit(kLinkRate9600)},
};

bool InRange(int value, int count) {
    return value >= 0 && value < count;
}

const std::vector<int>& EmptyList() {
    static const std::vector<int> kEmpty;
    return kEmpty;
}

// One column of the per-model table, or `outside` for a model outside it. Lists come back by
// reference, so `outside` must outlive the caller's use of it.
template <typename T>
struct NotDeduced {
    using type = T;
};

template <typename Field>
const Field& ModelField(int model, Field Type4Model::*column,
                        const typename NotDeduced<Field>::type& outside) {
    const Type4Model* entry = FindType4Model(model);
    return entry ? entry->*column : outside;
}

}  // namespace

const QmxModelRow& QmxModel(int row) {
    return InRange(row, kQmxModelRows) ? QmxTableRows()[static_cast<size_t>(row)] : kEmptyRow;
}

std::string QmxModelText(int row) {
    const QmxModelRow& entry = QmxModel(row);
    if (entry.name[0] == '\0') return std::string();
    return Format("%s %sMHz %sW", entry.name, entry.band, entry.power);
}

const char* Type4ModelName(int model) {
    return ModelField(model, &Type4Model::name, nullptr);
}

bool Type4Transmits(int model) {
    return ModelField(model, &Type4Model::transmits, false);
}

bool Type4IsBase(int model) {
    return ModelField(model, &Type4Model::base, false);
}

int Type4HighestFactoryBand(int model) {
    return ModelField(model, &Type4Model::highestFactoryBand, -1);
}

int Type4ChoiceCount(int model) {
    return ModelField(model, &Type4Model::choiceCount, 0);
}

const std::vector<int>& Type4Bands(int model) {
    return ModelField(model, &Type4Model::bands, EmptyList());
}

const std::vector<int>& Type4PowerCodes(int model) {
    return ModelField(model, &Type4Model::powerCodes, EmptyList());
}

int Type4PowerControlDefault(int model, double firmwareRevision) {
    const Type4Model* entry = FindType4Model(model);
    if (!entry) return -1;
    if (model == kHighPowerBaseModel &&
        std::lround(firmwareRevision * 100.0) == kRevisionWithoutPowerControl) {
        return 0;
    }
    return entry->powerControl;
}

int Type4BoardId(int model, int band) {
    const Type4Model* entry = FindType4Model(model);
    if (!entry) return 0;
    if (entry->singleBoard) return entry->boardIds[0];
    return InRange(band, static_cast<int>(entry->boardIds.size()))
               ? entry->boardIds[static_cast<size_t>(band)]
               : 0;
}

const char* Type4BandText(int band) {
    return InRange(band, kType4BandCount) ? kType4BandTexts[band] : nullptr;
}

const char* Type4PowerText(int code) {
    return InRange(code, kType4PowerCodeCount) ? kType4PowerTexts[code] : nullptr;
}

const uint8_t* DacCompensationRow(int crystal, int model, int bandwidth) {
    if (!InRange(crystal, kCrystalCount) || !InRange(model, kType4ModelCount) ||
        !InRange(bandwidth, kBandwidthCount)) {
        return nullptr;
    }
    return kDacRows[kDacRowOf[model][bandwidth][crystal]];
}

bool IsLinkRateAllowed(int position, int modulationType, int bandwidth) {
    if (!InRange(position, kLinkRatePositions) || !InRange(modulationType, kModulationCount) ||
        !InRange(bandwidth, kBandwidthCount)) {
        return false;
    }
    return (kAllowedLinkRates[modulationType][bandwidth] & Bit(position)) != 0;
}

}  // namespace vxl
