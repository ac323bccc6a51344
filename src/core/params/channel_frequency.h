// The receive or transmit frequency of one of the 16 channels, in MHz, held as a 3-byte word of
// the modem's synthesizer type.
#pragma once

#include <string>

#include "params/modem_parameter.h"

class ChannelFrequency : public ModemParameter {
  public:
    ChannelFrequency(ModemParameterSet* owner, int channel, bool rx);

    int GetReal(double& value) override;
    // 97 for 0.0 on the current channel; 92 for a frequency the synthesizer word cannot hold.
    int SetReal(double value) override;
    // "%.4f", empty for a channel without a frequency.
    int GetText(std::string& text) override;
    // The band of the modem's Frequency ("450-470"), 4 decimals.
    int GetRealRange(double& minimum, double& maximum, int& decimals) override;
    int ParseReal(const std::string& text, double& value) override;

    int GetChannel() const { return channel_; }
    bool IsReceive() const { return rx_; }

  private:
    int SynthesizerType(int& type);

    int channel_;
    bool rx_;
};

class RxChannelFrequency : public ChannelFrequency {
  public:
    RxChannelFrequency(ModemParameterSet* owner, int channel)
        : ChannelFrequency(owner, channel, true) {}
};

class TxChannelFrequency : public ChannelFrequency {
  public:
    TxChannelFrequency(ModemParameterSet* owner, int channel)
        : ChannelFrequency(owner, channel, false) {}
};
