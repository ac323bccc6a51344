// Constant tables of the coordinator's factory operations and model rules: what each model
// (Model value 0..5) allows, and the factory channel table of each frequency range.
#pragma once

namespace vxl {

struct ModelRule {
    bool powerAllowed[4];  // power codes 0..3
    int defaultPower;
    bool base;                // a base station: the transmit column is editable
    int highestFactoryRange;  // highest Frequency value with a factory channel table
};

// The rule row of `model`; nullptr outside 0..5.
const ModelRule* FindModelRule(int model);

constexpr int kFactoryRanges = 12;  // Frequency values 0..11
constexpr int kFactoryChannels = 16;

// The factory frequency (MHz) of channel `channel` for the range `frequencyRange`, used for
// receive and transmit alike; 0.0 for a channel not in use or arguments outside the table.
double FactoryFrequency(int frequencyRange, int channel);

// Type-4 modulation and link-rate coupling (ChannelBandwidth 0 = 25 kHz, 1 = 12.5 kHz;
// ModulationType 0 = GMSK, 1 = 4-Level-FSK; LinkRate 2 = 4800, 3 = 9600, 4 = 19200).
// The LinkRate that modulation `modulation` forces on `linkRate`, or -1 for no change.
int LinkRateForModulation(int bandwidth, int modulation, int linkRate);
// The ModulationType that link rate `linkRate` forces, or -1 for no change.
int ModulationForLinkRate(int bandwidth, int linkRate);

}  // namespace vxl
