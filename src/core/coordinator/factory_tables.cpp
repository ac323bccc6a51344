#include "coordinator/factory_tables.h"

#include <cstddef>

namespace vxl {

namespace {

constexpr ModelRule kModelRules[] = {
    {{false, false, true, false}, 2, true, 3},    // KTR HP Base
    {{true, false, false, false}, 0, false, 3},   // KTR Rover
    {{true, false, false, false}, 0, false, 11},  // KTR RXO
    {{false, true, false, true}, 1, true, 11},    // KTR LP Base
    {{true, false, false, false}, 0, false, 3},   // Spare
    {{false, true, false, true}, 1, true, 10},    // VXL
};

// Channels 0..3 of each range; the remaining channels are not in use.
constexpr double kFactoryTable[kFactoryRanges][4] = {
    {419.85, 410.15, 429.85, 0.0}, {439.85, 430.15, 449.85, 0.0}, {459.85, 450.15, 469.85, 457.275},
    {0.0, 0.0, 0.0, 0.0},          {415.0, 410.05, 419.95, 0.0},  {425.0, 420.05, 429.95, 0.0},
    {435.0, 430.05, 439.95, 0.0},  {445.0, 440.05, 449.95, 0.0},  {455.0, 450.05, 459.95, 0.0},
    {465.0, 460.05, 469.95, 0.0},  {228.85, 223.15, 234.85, 0.0}, {161.55, 150.15, 172.85, 0.0},
};

struct Coupling {
    int bandwidth;
    int input;        // the value just set
    int otherBefore;  // the other parameter's value that triggers the rule; -1 = any
    int otherAfter;
};

// Modulation rule: (bandwidth, modulation, link rate before) -> link rate.
constexpr Coupling kModulationRule[] = {
    {0, 1, 2, 3}, {0, 0, 4, 3}, {1, 1, 2, 3}, {1, 1, 4, 3}, {1, 0, 3, 2}, {1, 0, 4, 2},
};

// Link-rate rule: (bandwidth, link rate) -> modulation.
constexpr Coupling kLinkRateRule[] = {
    {0, 2, -1, 0}, {0, 4, -1, 1}, {1, 2, -1, 0}, {1, 3, -1, 1}, {1, 4, -1, 1},
};

template <std::size_t N>
int Couple(const Coupling (&rule)[N], int bandwidth, int input, int other) {
    for (const Coupling& row : rule) {
        if (row.bandwidth == bandwidth && row.input == input &&
            (row.otherBefore < 0 || row.otherBefore == other)) {
            return row.otherAfter;
        }
    }
    return -1;
}

}  // namespace

const ModelRule* FindModelRule(int model) {
    if (model < 0 || model >= static_cast<int>(sizeof kModelRules / sizeof kModelRules[0])) {
        return nullptr;
    }
    return &kModelRules[model];
}

double FactoryFrequency(int frequencyRange, int channel) {
    if (frequencyRange < 0 || frequencyRange >= kFactoryRanges || channel < 0 || channel >= 4) {
        return 0.0;
    }
    return kFactoryTable[frequencyRange][channel];
}

int LinkRateForModulation(int bandwidth, int modulation, int linkRate) {
    return Couple(kModulationRule, bandwidth, modulation, linkRate);
}

int ModulationForLinkRate(int bandwidth, int linkRate) {
    return Couple(kLinkRateRule, bandwidth, linkRate, -1);
}

}  // namespace vxl
