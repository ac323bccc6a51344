#include "params/parameter_rules.h"

#include <algorithm>
#include <cstddef>

#include "params/model_tables.h"
#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "params/protocol_modes.h"
#include "util/result_codes.h"

namespace vxl::rules {

namespace {

// ChannelSelectType values.
constexpr int kManual = 0;
constexpr int kAutoBase = 1;
constexpr int kAutoRover = 2;

constexpr int kGmsk = 0;
constexpr int kLinkRate4800 = 2;
constexpr int kLinkRate9600 = 3;

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

bool BoolOf(ModemParameterSet& set, int id) {
    bool value = false;
    return set.GetBool(id, value) == rc::kOk && value;
}

bool IsVxl(ModemParameterSet& set) {
    return set.GetModemType() == kModemTypeVxl;
}

// A rule that sets another parameter: it is shown again only when its value changed.
void Force(ModemParameterSet& set, int id, int value, ParameterChanges& changes) {
    const int before = set.IntOr(id);
    set.SetInt(id, value);
    if (set.IntOr(id) != before) changes.Add(id);
}

// The definitions depend on model, bandwidth, modulation and link rate: look them up again, and
// everything may read differently.
void ReloadDefinitions(ModemParameterSet& set, ParameterChanges& changes) {
    std::string location;
    set.LoadDefaults(location);
    changes.AddAll();
}

void ApplyModulationRule(ModemParameterSet& set, int modulation, ParameterChanges& changes) {
    if (!IsVxl(set)) return;
    const int linkRate = LinkRateForModulation(set.IntOr(pid::kChannelBandwidth), modulation,
                                               set.IntOr(pid::kLinkRate));
    if (linkRate >= 0) Force(set, pid::kLinkRate, linkRate, changes);
}

void ApplyLinkRateRule(ModemParameterSet& set, int linkRate, ParameterChanges& changes) {
    if (!IsVxl(set)) return;
    const int modulation = ModulationForLinkRate(set.IntOr(pid::kChannelBandwidth), linkRate);
    if (modulation >= 0) Force(set, pid::kModulationType, modulation, changes);
}

// A model allows some powers, and a base station does not select its channel as a rover, nor a
// rover as a base.
void ApplyModelRule(ModemParameterSet& set, int model, ParameterChanges& changes) {
    if (IsVxl(set) && Type4ModelName(model) != nullptr) {
        const std::vector<int>& powers = Type4PowerCodes(model);
        const int power = set.IntOr(pid::kPower);
        if (std::find(powers.begin(), powers.end(), power) == powers.end())
            Force(set, pid::kPower, powers.front(), changes);
        if (set.IntOr(pid::kChannelSelectType) == (Type4IsBase(model) ? kAutoRover : kAutoBase))
            Force(set, pid::kChannelSelectType, kManual, changes);
    }
    ReloadDefinitions(set, changes);
}

void ApplyProtocolModeRule(ModemParameterSet& set, int mode, ParameterChanges& changes) {
    using namespace protocol;
    switch (mode) {
        case kTransparentTimeout:
        case kTransparentCharacter:
            changes.Add(pid::kRemoteAddress);
            [[fallthrough]];
        case kPacketSwitched:
            changes.Add(pid::kLocalAddress);
            break;
        case kDigipeater:
        case kFastAsync:
            set.SetBool(pid::kRepeater, mode == kDigipeater);
            changes.Add(pid::kRepeater);
            break;
        case kTrimMark:
        case kTrimTalk:
            if (IsVxl(set)) {
                Force(set, pid::kModulationType, kGmsk, changes);
                changes.Add(pid::kModulationType);
                const int linkRate = set.IntOr(pid::kLinkRate);
                if (linkRate != kLinkRate4800 && linkRate != kLinkRate9600)
                    Force(set, pid::kLinkRate, kLinkRate9600, changes);
            }
            break;
        default:
            break;
    }
    // Forward error correction follows every mode but Fast Async.
    if (mode != kFastAsync) changes.Add(pid::kForwardErrorCorrection);
    // The time-out's scale and the scrambling byte both depend on the mode.
    changes.Add(pid::kEOTTimeout);
    set.SetBool(pid::kScrambling, BoolOf(set, pid::kScrambling));
}

void ApplyIntRules(ModemParameterSet& set, int id, int value, ParameterChanges& changes) {
    switch (id) {
        case pid::kSerialNumber:
            changes.Add(pid::kSerialNumber);  // the Identification page shows it too
            break;
        case pid::kEOTCharacter:
        case pid::kEOTCount:
            // One byte read three ways.
            changes.Add(id == pid::kEOTCharacter ? pid::kEOTCount : pid::kEOTCharacter);
            changes.Add(pid::kEOTTimeout);
            break;
        case pid::kModel:
            ApplyModelRule(set, value, changes);
            break;
        case pid::kFrequency:
            changes.AddAll();
            break;
        case pid::kPower:
        case pid::kCrystal:
            if (id == pid::kPower) changes.Add(pid::kPower);
            changes.Add(pid::kModemID);  // the modem id names board and crystal
            break;
        case pid::kChannelBandwidth:
            ApplyLinkRateRule(set, set.IntOr(pid::kLinkRate), changes);
            ApplyModulationRule(set, set.IntOr(pid::kModulationType), changes);
            ReloadDefinitions(set, changes);
            break;
        case pid::kModulationType:
            ApplyModulationRule(set, value, changes);
            ReloadDefinitions(set, changes);
            break;
        case pid::kLinkRate:
            ApplyLinkRateRule(set, value, changes);
            ReloadDefinitions(set, changes);
            break;
        case pid::kProtocolMode:
            ApplyProtocolModeRule(set, value, changes);
            break;
        default:
            break;
    }
}

}  // namespace

int LinkRateForModulation(int bandwidth, int modulation, int linkRate) {
    return Couple(kModulationRule, bandwidth, modulation, linkRate);
}

int ModulationForLinkRate(int bandwidth, int linkRate) {
    return Couple(kLinkRateRule, bandwidth, linkRate, -1);
}

void Settle(ModemParameterSet& set, ParameterChanges& changes) {
    ApplyModulationRule(set, set.IntOr(pid::kModulationType), changes);
}

int SetInt(ModemParameterSet& set, int id, int value, ParameterChanges& changes) {
    if (!set.IsAvailable(id)) return rc::kMissingArgument;
    const int result = set.SetInt(id, value);
    if (result != rc::kOk) return result;
    ApplyIntRules(set, id, value, changes);
    Settle(set, changes);
    return rc::kOk;
}

int SetBool(ModemParameterSet& set, int id, bool value, ParameterChanges& changes) {
    const int result = set.SetBool(id, value);
    if (result == rc::kOk) Settle(set, changes);
    return result;
}

int SetReal(ModemParameterSet& set, int id, double value, ParameterChanges& changes) {
    const int result = set.SetReal(id, value);
    if (result != rc::kOk) return result;
    if (id == pid::kEOTTimeout) {
        changes.Add(pid::kEOTCharacter);
        changes.Add(pid::kEOTCount);
    } else if (pid::IsChannelId(id)) {
        // The channel shows the frequency the synthesizer holds, and the channel list lists it.
        changes.Add(id);
        changes.Add(pid::kCurrentChannel);
    }
    Settle(set, changes);
    return rc::kOk;
}

int SetText(ModemParameterSet& set, int id, const std::string& text, ParameterChanges& changes) {
    const int result = set.SetText(id, text);
    if (result == rc::kOk) Settle(set, changes);
    return result;
}

}  // namespace vxl::rules
