// The constant tables that describe the modem models: the 97-row model table of the QMX family
// (indexed by the model byte) and the per-model tables of the VXL/KTR family (type 4), the DAC
// compensation rows and the link-rate filter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vxl {

// ---- QMX family (modem types 1 to 3) ----

struct QmxModelRow {
    const char* name;  // "" for an unused row
    const char* band;  // for example "430-450"
    int factorySet;    // 0 = "410-430", 1 = "430-450", 2 = "450-470", -1 = none
    const char* power;
};
constexpr int kQmxModelRows = 97;
// Row 0..96; any other row is an empty row (empty texts, factory set -1).
const QmxModelRow& QmxModel(int row);
// "%s %sMHz %sW"; empty for an unused or unknown row, so that it is never offered.
std::string QmxModelText(int row);

// ---- VXL/KTR family (modem type 4) ----

constexpr int kType4ModelCount = 6;
constexpr int kType4BandCount = 12;
constexpr int kType4PowerCodeCount = 4;

// "KTR HP Base", "KTR Rover", "KTR RXO", "KTR LP Base", "Spare", "VXL"; nullptr outside 0..5.
const char* Type4ModelName(int model);
// Models 0, 3 and 5 have a transmitter.
bool Type4Transmits(int model);
// Base stations (models 0, 3 and 5) set their own transmit frequencies and never select their
// channel as a rover.
bool Type4IsBase(int model);
// The highest Frequency value for which the factory has a channel table for the model; -1
// outside 0..5.
int Type4HighestFactoryBand(int model);
// The room reserved for the band choices of the model (3, 3, 11, 11, 3, 10); 0 outside 0..5.
int Type4ChoiceCount(int model);
// Band indexes offered for the model, ascending; empty outside 0..5.
const std::vector<int>& Type4Bands(int model);
// Power codes offered for the model, ascending (the first is the model's default); empty outside
// 0..5.
const std::vector<int>& Type4PowerCodes(int model);
// The power-control byte a model starts with; -1 outside 0..5. Model 0 on firmware 2.00 uses 0.
int Type4PowerControlDefault(int model, double firmwareRevision);
// Board number: models 3 and 5 always 1038; other models by band 0..2, 0 for any other band.
int Type4BoardId(int model, int band);
// Band text 0..11 ("410-430" ...), nullptr otherwise.
const char* Type4BandText(int band);
// Power text of code 0..3 ("0", "2", "35", "0.5"), nullptr otherwise.
const char* Type4PowerText(int code);

// The DAC compensation bytes for a crystal (0..7), model (0..5) and channel bandwidth (0 = 25 kHz,
// 1 = 12.5 kHz): kDacCompensationBytes bytes, or nullptr when any index is outside its range.
constexpr int kDacCompensationBytes = 15;
const uint8_t* DacCompensationRow(int crystal, int model, int bandwidth);

// Link-rate positions 2 "4800", 3 "9600", 4 "19200" allowed on a type-4 modem for a modulation
// (0 GMSK, 1 4-Level-FSK) and bandwidth (0 = 25 kHz, 1 = 12.5 kHz). Other positions, modulations
// and bandwidths are never allowed.
bool IsLinkRateAllowed(int position, int modulationType, int bandwidth);

}  // namespace vxl
