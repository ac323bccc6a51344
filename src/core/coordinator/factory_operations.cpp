#include "coordinator/factory_operations.h"

#include <cmath>

#include "coordinator/coordinator.h"
#include "modem/modem_base.h"
#include "params/model_tables.h"
#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "params/protocol_modes.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr int kFactoryRanges = 12;  // Frequency values 0..11
constexpr int kListedChannels = 4;  // the channels after these are not in use

// Channels 0..3 of each range.
constexpr double kFactoryTable[kFactoryRanges][kListedChannels] = {
    {419.85, 410.15, 429.85, 0.0}, {439.85, 430.15, 449.85, 0.0}, {459.85, 450.15, 469.85, 457.275},
    {0.0, 0.0, 0.0, 0.0},          {415.0, 410.05, 419.95, 0.0},  {425.0, 420.05, 429.95, 0.0},
    {435.0, 430.05, 439.95, 0.0},  {445.0, 440.05, 449.95, 0.0},  {455.0, 450.05, 459.95, 0.0},
    {465.0, 460.05, 469.95, 0.0},  {228.85, 223.15, 234.85, 0.0}, {161.55, 150.15, 172.85, 0.0},
};

// ModemEnable and DataSecurityCode exist from firmware 1.04 on (compared in hundredths).
constexpr long kSecurityRevision = 104;

struct Setting {
    int id;
    int value;
};

// Parameters the modem does not have are left out of the factory settings.
int SetIfAvailable(WorkingSettings& settings, int id, int value) {
    if (!settings.Parameters()->IsAvailable(id)) return rc::kOk;
    return settings.SetInt(id, value);
}

int ApplyType4TestSettings(WorkingSettings& settings, const CModemBase& modem) {
    ModemParameterSet& set = *settings.Parameters();
    const Setting hardware[] = {
        {pid::kSynthesizerType, 4},   {pid::kBitPolarity, 49},
        {pid::kRXDelay, 7},           {pid::kTXDelay, 0},
        {pid::kFrequencyError, 0},    {pid::kPowerControl, set.GetDefaultInt(pid::kPowerControl)},
        {pid::kChannelSelectType, 0},
    };
    for (const Setting& setting : hardware) {
        const int result = SetIfAvailable(settings, setting.id, setting.value);
        if (result != rc::kOk) return result;
    }
    if (std::lround(modem.GetFirmwareRevision() * 100.0) < kSecurityRevision) return rc::kOk;
    if (set.IsAvailable(pid::kModemEnable)) {
        const int result =
            settings.SetBool(pid::kModemEnable, set.GetDefaultBool(pid::kModemEnable));
        if (result != rc::kOk) return result;
    }
    return SetIfAvailable(settings, pid::kDataSecurityCode,
                          set.GetDefaultInt(pid::kDataSecurityCode));
}

}  // namespace

double FactoryFrequency(int frequencyRange, int channel) {
    if (frequencyRange < 0 || frequencyRange >= kFactoryRanges || channel < 0 ||
        channel >= kListedChannels) {
        return 0.0;
    }
    return kFactoryTable[frequencyRange][channel];
}

int ClearUserFields(CCoordinator& coordinator) {
    WorkingSettings& settings = coordinator.Settings();
    if (!settings.IsLoaded()) return rc::kMissingArgument;
    int result = settings.SetText(pid::kOwner, std::string());
    // A modem without a call sign has nothing to clear.
    if (result == rc::kOk && settings.Parameters()->IsAvailable(pid::kCallSign))
        result = settings.SetText(pid::kCallSign, std::string());
    return result;
}

int ApplyFactoryTestSettings(CCoordinator& coordinator) {
    WorkingSettings& settings = coordinator.Settings();
    const CModemBase* modem = coordinator.Session().GetModem();
    if (!settings.IsLoaded() || modem == nullptr) return rc::kMissingArgument;
    ModemParameterSet& set = *settings.Parameters();
    int result = rc::kOk;
    if (set.GetModemType() == kModemTypeVxl) {
        result = ApplyType4TestSettings(settings, *modem);
        if (result != rc::kOk) return result;
    }
    result = settings.ApplyDefaults();
    if (result != rc::kOk) return result;

    const Setting common[] = {
        {pid::kLinkRate, set.IntOr(pid::kChannelBandwidth) == 1 ? 2 : 3},
        {pid::kModulationType, 0},
        {pid::kDigipeaterDelay, 0},  // 0.0 s
        {pid::kDigisquelch, 0},
        {pid::kBaudRate, 1},
        {pid::kProtocolMode, protocol::kPacketSwitched},
        {pid::kCrystal, 7},
        {pid::kSystemClock, 0},
        {pid::kLastFailure, 0},
    };
    for (const Setting& setting : common) {
        if (setting.id == pid::kDigipeaterDelay) {
            if (!set.IsAvailable(setting.id)) continue;
            result = settings.SetReal(setting.id, setting.value);
        } else {
            result = SetIfAvailable(settings, setting.id, setting.value);
        }
        if (result != rc::kOk) return result;
    }
    settings.Announce(ParameterChanges::All());
    return rc::kOk;
}

int SetFactoryFrequencies(CCoordinator& coordinator) {
    WorkingSettings& settings = coordinator.Settings();
    if (!settings.IsLoaded()) return rc::kMissingArgument;
    ModemParameterSet& set = *settings.Parameters();
    int frequency = -1;
    int result = set.GetInt(pid::kFrequency, frequency);
    if (result != rc::kOk) return result;
    const int highest = Type4HighestFactoryBand(set.IntOr(pid::kModel));
    if (frequency < 0 || frequency > highest) return rc::kBadModelRow;
    for (int k = 0; k < pid::kChannelCount; ++k) {
        const double mhz = FactoryFrequency(frequency, k);
        for (int id : {pid::RxChannelId(k), pid::TxChannelId(k)}) {
            if (!set.IsAvailable(id)) continue;
            result = set.SetReal(id, mhz);
            // The current channel keeps its frequency rather than losing it.
            if (result == rc::kZeroCurrentChannel) continue;
            if (result != rc::kOk) return result;
        }
    }
    settings.Announce(ParameterChanges::All());
    return rc::kOk;
}

}  // namespace vxl
