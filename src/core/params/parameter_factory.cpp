#include "params/parameter_factory.h"

#include "params/channel_frequency.h"
#include "params/identity_parameters.h"
#include "params/model_parameters.h"
#include "params/parameter_ids.h"
#include "params/radio_link_parameters.h"
#include "params/serial_interface_parameters.h"

namespace vxl {

namespace {

using Creator = std::unique_ptr<ModemParameter> (*)(ModemParameterSet*);

template <class T>
std::unique_ptr<ModemParameter> Make(ModemParameterSet* set) {
    return std::make_unique<T>(set);
}

struct FactoryRow {
    int id;
    Creator create;
};

constexpr FactoryRow kRows[] = {
    {pid::kSerialNumber, Make<SerialNumber>},
    {pid::kOwner, Make<Owner>},
    {pid::kBaudRate, Make<BaudRate>},
    {pid::kParity, Make<Parity>},
    {pid::kCurrentChannel, Make<CurrentChannel>},
    {pid::kLinkRate, Make<LinkRate>},
    {pid::kProtocolMode, Make<ProtocolMode>},
    {pid::kForwardErrorCorrection, Make<ForwardErrorCorrection>},
    {pid::kScrambling, Make<Scrambling>},
    {pid::kEOTCharacter, Make<EOTCharacter>},
    {pid::kLocalAddress, Make<LocalAddress>},
    {pid::kTransmitRetries, Make<TransmitRetries>},
    {pid::kRemoteAddress, Make<RemoteAddress>},
    {pid::kDigisquelch, Make<Digisquelch>},
    {pid::kHighRSSICDLevel, Make<HighRSSICDLevel>},
    {pid::kHighRSSIHystLevel, Make<HighRSSIHystLevel>},
    {pid::kMediumRSSICDLevel, Make<MediumRSSICDLevel>},
    {pid::kMediumRSSIHystLevel, Make<MediumRSSIHystLevel>},
    {pid::kLowRSSICDLevel, Make<LowRSSICDLevel>},
    {pid::kLowRSSIHystLevel, Make<LowRSSIHystLevel>},
    {pid::kTxAckTimeout, Make<TxAckTimeout>},
    {pid::kSynthesizerType, Make<SynthesizerType>},
    {pid::kDigipeaterDelay, Make<DigipeaterDelay>},
    {pid::kBitPolarity, Make<BitPolarity>},
    {pid::kRXDelay, Make<RXDelay>},
    {pid::kTXDelay, Make<TXDelay>},
    {pid::kModulationType, Make<ModulationType>},
    {pid::kFrequencyError, Make<FrequencyError>},
    {pid::kDACCompVoltageCount, Make<DACCompVoltageCount>},
    {pid::kCallSign, Make<CallSign>},
    {pid::kLastFailure, Make<LastFailure>},
    {pid::kPowerControl, Make<PowerControl>},
    {pid::kChannelSelectType, Make<ChannelSelectType>},
    {pid::kSystemClock, Make<SystemClock>},
    {pid::kModel, Make<Model>},
    {pid::kFrequency, Make<Frequency>},
    {pid::kPower, Make<Power>},
    {pid::kCSMAMonitor, Make<CSMAMonitor>},
    {pid::kFirmwareRevision, Make<FirmwareRevision>},
    {pid::kBREAKtoCommand, Make<BREAKtoCommand>},
    {pid::kRepeater, Make<Repeater>},
    {pid::kEOTTimeout, Make<EOTTimeout>},
    {pid::kChannelBandwidth, Make<ChannelBandwidth>},
    {pid::kCrystal, Make<Crystal>},
    {pid::kModemID, Make<ModemID>},
    {pid::kEOTCount, Make<EOTCount>},
    {pid::kRoverAutoOff, Make<RoverAutoOff>},
    {pid::kModemEnable, Make<ModemEnable>},
    {pid::kDataSecurityCode, Make<DataSecurityCode>},
};

}  // namespace

std::unique_ptr<ModemParameter> CreateParameter(ModemParameterSet* set, int id) {
    if (pid::IsChannelId(id)) {
        if (pid::IsRxChannelId(id))
            return std::make_unique<RxChannelFrequency>(set, pid::ChannelOfId(id));
        return std::make_unique<TxChannelFrequency>(set, pid::ChannelOfId(id));
    }
    for (const FactoryRow& row : kRows)
        if (row.id == id) return row.create(set);
    return nullptr;
}

}  // namespace vxl
