// The rules that tie parameters to each other. Every change of a parameter goes through them,
// whoever makes it (a page, a profile, the factory settings, a headless run), so the same edits
// give the same image on every path; a change of the image that bypasses them (a load, a
// restore, an import, a byte typed into the memory map) ends with Settle.
//
// Each operation returns the parameter set's result code and adds to `changes` the parameters
// whose shown values the change altered besides the one just set (all of them after a rule that
// looks the definitions up again).
#pragma once

#include <string>

#include "params/parameter_changes.h"

class ModemParameterSet;

namespace vxl::rules {

// 57 when the parameter is not available on this modem.
int SetInt(ModemParameterSet& set, int id, int value, ParameterChanges& changes);
int SetBool(ModemParameterSet& set, int id, bool value, ParameterChanges& changes);
int SetReal(ModemParameterSet& set, int id, double value, ParameterChanges& changes);
int SetText(ModemParameterSet& set, int id, const std::string& text, ParameterChanges& changes);

// A type-4 link rate that the modulation and channel bandwidth rule out becomes the one that
// fits them (a modem programmed by an older program, or bytes changed directly).
void Settle(ModemParameterSet& set, ParameterChanges& changes);

// Type-4 modulation and link-rate coupling (ChannelBandwidth 0 = 25 kHz, 1 = 12.5 kHz;
// ModulationType 0 = GMSK, 1 = 4-Level-FSK; LinkRate 2 = 4800, 3 = 9600, 4 = 19200).
// The LinkRate that modulation `modulation` forces on `linkRate`, or -1 for no change.
int LinkRateForModulation(int bandwidth, int modulation, int linkRate);
// The ModulationType that link rate `linkRate` forces, or -1 for no change.
int ModulationForLinkRate(int bandwidth, int linkRate);

}  // namespace vxl::rules
