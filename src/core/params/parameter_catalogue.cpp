#include "params/parameter_catalogue.h"

#include <array>

#include "params/parameter_ids.h"

namespace vxl {

namespace {

using R = Rule;
constexpr Definition kNo = Definition::kNone;
constexpr Definition kFile = Definition::kFile;
constexpr Definition kIfAvailable = Definition::kFileWhenAvailable;
constexpr bool kGuarded = true;
constexpr bool kOpen = false;

// Built-in defaults that other values decide are worked out by their classes; -1 here.
constexpr ParameterInfo kRows[] = {
    {pid::kSerialNumber, "SerialNumber", R::kAlways, R::kAlways, kNo, -1, kOpen},
    {pid::kOwner, "Owner", R::kAlways, R::kAlways, kNo, -1, kOpen},
    {pid::kBaudRate, "BaudRate", R::kAlways, R::kAlways, kFile, -1, kOpen},
    {pid::kParity, "Parity", R::kAlways, R::kAlways, kFile, 0, kOpen},
    {pid::kCurrentChannel, "CurrentChannel", R::kAlways, R::kCurrentChannelEditable, kFile, 0,
     kOpen},
    {pid::kLinkRate, "LinkRate", R::kAlways, R::kAlways, kFile, -1, kOpen},
    {pid::kProtocolMode, "ProtocolMode", R::kAlways, R::kAlways, kFile, 0, kOpen},
    {pid::kForwardErrorCorrection, "ForwardErrorCorrection", R::kAlways, R::kNotFastAsync, kFile, 1,
     kOpen},
    {pid::kScrambling, "Scrambling", R::kAlways, R::kAlways, kFile, 1, kOpen},
    {pid::kEOTCharacter, "EOTCharacter", R::kTransmitter, R::kAlways, kFile, 5, kGuarded},
    {pid::kLocalAddress, "LocalAddress", R::kAlways, R::kAddressProtocols, kFile, 0, kOpen},
    {pid::kTransmitRetries, "TransmitRetries", R::kTransmitter, R::kAlways, kFile, 3, kGuarded},
    {pid::kRemoteAddress, "RemoteAddress", R::kTransmitter, R::kAddressProtocols, kFile, 255,
     kGuarded},
    {pid::kDigisquelch, "Digisquelch", R::kAlways, R::kAlways, kFile, -1, kOpen},
    {pid::kHighRSSICDLevel, "HighRSSICDLevel", R::kAlways, R::kNever, kNo, -1, kOpen},
    {pid::kHighRSSIHystLevel, "HighRSSIHystLevel", R::kAlways, R::kNever, kNo, -1, kOpen},
    {pid::kMediumRSSICDLevel, "MediumRSSICDLevel", R::kAlways, R::kNever, kNo, -1, kOpen},
    {pid::kMediumRSSIHystLevel, "MediumRSSIHystLevel", R::kAlways, R::kNever, kNo, -1, kOpen},
    {pid::kLowRSSICDLevel, "LowRSSICDLevel", R::kAlways, R::kNever, kNo, -1, kOpen},
    {pid::kLowRSSIHystLevel, "LowRSSIHystLevel", R::kAlways, R::kNever, kNo, -1, kOpen},
    {pid::kTxAckTimeout, "TxAckTimeout", R::kTransmitter, R::kAlways, kFile, 0.1, kGuarded},
    {pid::kSynthesizerType, "SynthesizerType", R::kAlways, R::kNever, kNo, -1, kOpen},
    {pid::kDigipeaterDelay, "DigipeaterDelay", R::kTransmitter, R::kAlways, kFile, 0.0, kGuarded},
    {pid::kBitPolarity, "BitPolarity", R::kNever, R::kNever, kNo, -1, kOpen},
    {pid::kRXDelay, "RXDelay", R::kAlways, R::kNever, kNo, -1, kOpen},
    {pid::kTXDelay, "TXDelay", R::kAlways, R::kNever, kNo, -1, kOpen},
    {pid::kModulationType, "ModulationType", R::kType4, R::kModulationEditable, kIfAvailable, 0,
     kGuarded},
    {pid::kFrequencyError, "FrequencyError", R::kAlways, R::kNever, kNo, -1, kOpen},
    {pid::kDACCompVoltageCount, "DACCompVoltageCount", R::kNever, R::kNever, kNo, -1, kOpen},
    {pid::kCallSign, "CallSign", R::kCallSign, R::kAlways, kNo, -1, kGuarded},
    {pid::kLastFailure, "LastFailure", R::kType4, R::kNever, kNo, -1, kGuarded},
    {pid::kPowerControl, "PowerControl", R::kType4Transmitter, R::kType4Transmitter, kNo, -1,
     kGuarded},
    {pid::kChannelSelectType, "ChannelSelectType", R::kNever, R::kAlways, kIfAvailable, 0, kOpen},
    {pid::kSystemClock, "SystemClock", R::kType4, R::kNever, kNo, -1, kGuarded},
    {pid::kModel, "Model", R::kAlways, R::kAlways, kNo, -1, kOpen},
    {pid::kFrequency, "Frequency", R::kType4, R::kAlways, kNo, -1, kOpen},
    {pid::kPower, "Power", R::kType4, R::kType4Transmitter, kNo, -1, kOpen},
    {pid::kCSMAMonitor, "CSMAMonitor", R::kTransmitter, R::kAlways, kFile, 1, kGuarded},
    {pid::kFirmwareRevision, "FirmwareRevision", R::kNever, R::kNever, kNo, -1, kOpen},
    {pid::kBREAKtoCommand, "BREAKtoCommand", R::kAlways, R::kAlways, kFile, 0, kOpen},
    {pid::kRepeater, "Repeater", R::kTransmitter, R::kNotDigipeaterOrFastAsync, kFile, 0, kGuarded},
    {pid::kEOTTimeout, "EOTTimeout", R::kTransmitter, R::kAlways, kFile, 0.0, kGuarded},
    {pid::kChannelBandwidth, "ChannelBandwidth", R::kType4, R::kAlways, kNo, -1, kOpen},
    {pid::kCrystal, "Crystal", R::kType4, R::kAlways, kNo, -1, kOpen},
    {pid::kModemID, "ModemID", R::kNotType3, R::kNever, kNo, -1, kGuarded},
    {pid::kEOTCount, "EOTCount", R::kTransmitter, R::kAlways, kFile, 5, kGuarded},
    {pid::kRoverAutoOff, "RoverAutoOff", R::kRoverAutoOff, R::kRoverAutoOff, kFile, 1, kGuarded},
    {pid::kModemEnable, "ModemEnable", R::kType4Revision104, R::kNever, kNo, 1, kGuarded},
    {pid::kDataSecurityCode, "DataSecurityCode", R::kType4Revision104, R::kNever, kNo, 0, kGuarded},
};

using InfoTable = std::array<const ParameterInfo*, pid::kParameterCount>;

// Every channel shares one row per direction; the channel classes put in the id and the key.
constexpr ParameterInfo kRxChannelRow{-1, nullptr, R::kAlways, R::kAlways, kNo, 0.0, kOpen};
constexpr ParameterInfo kTxChannelRow{-1, nullptr, R::kTransmitter, R::kAlways, kNo, 0.0, kGuarded};

InfoTable BuildTable() {
    InfoTable table{};
    for (const ParameterInfo& row : kRows) table[static_cast<size_t>(row.id)] = &row;
    for (int n = 0; n < pid::kChannelCount; ++n) {
        table[static_cast<size_t>(pid::RxChannelId(n))] = &kRxChannelRow;
        table[static_cast<size_t>(pid::TxChannelId(n))] = &kTxChannelRow;
    }
    return table;
}

}  // namespace

const ParameterInfo* CatalogueInfo(int id) {
    static const InfoTable table = BuildTable();
    if (id < 0 || id >= pid::kParameterCount) return nullptr;
    return table[static_cast<size_t>(id)];
}

const ParameterInfo& CatalogueRow(int id) {
    static const ParameterInfo kNone{-1, "", Rule::kNever, Rule::kNever, kNo, -1, kOpen};
    const ParameterInfo* row = CatalogueInfo(id);
    return row != nullptr ? *row : kNone;
}

}  // namespace vxl
