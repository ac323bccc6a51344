// The parameters of the radio link: channel selection, link rate, modulation, squelch, and the
// factory-set radio values the pages only show.
#pragma once

#include "params/choice_parameter.h"
#include "params/flag_parameter.h"
#include "params/integer_parameter.h"

class CurrentChannel : public ChoiceParameter {
  public:
    explicit CurrentChannel(ModemParameterSet* owner);
    int GetIntRange(int& minimum, int& maximum) override;
    // A channel number 0..15.
    int ParseInt(const std::string& text, int& value) override;

  protected:
    // One row per channel: its number, TX and RX frequencies; empty without frequencies.
    vxl::ChoiceTexts Texts(int modemType) override;
    bool IsSettable(int value) override;  // any channel, or -1 for none
};

class LinkRate : public ChoiceParameter {
  public:
    explicit LinkRate(ModemParameterSet* owner);
    int GetChoiceCount(int modemType, int& count) override;

  protected:
    bool IsOffered(int position, const vxl::ChoiceTexts& texts) override;
    int BuiltInDefault() override;
};

class ModulationType : public ChoiceParameter {
  public:
    explicit ModulationType(ModemParameterSet* owner);
};

class Digisquelch : public ChoiceParameter {
  public:
    explicit Digisquelch(ModemParameterSet* owner);

  protected:
    int BuiltInDefault() override;
};

class ChannelSelectType : public ChoiceParameter {
  public:
    explicit ChannelSelectType(ModemParameterSet* owner);
};

class RoverAutoOff : public FlagParameter {
  public:
    explicit RoverAutoOff(ModemParameterSet* owner);
};

// Received-signal levels of carrier detect and hysteresis, set at the factory.
class HighRSSICDLevel : public IntegerParameter {
  public:
    explicit HighRSSICDLevel(ModemParameterSet* owner);
};

class HighRSSIHystLevel : public IntegerParameter {
  public:
    explicit HighRSSIHystLevel(ModemParameterSet* owner);
};

class MediumRSSICDLevel : public IntegerParameter {
  public:
    explicit MediumRSSICDLevel(ModemParameterSet* owner);
};

class MediumRSSIHystLevel : public IntegerParameter {
  public:
    explicit MediumRSSIHystLevel(ModemParameterSet* owner);
};

class LowRSSICDLevel : public IntegerParameter {
  public:
    explicit LowRSSICDLevel(ModemParameterSet* owner);
};

class LowRSSIHystLevel : public IntegerParameter {
  public:
    explicit LowRSSIHystLevel(ModemParameterSet* owner);
};

class SynthesizerType : public IntegerParameter {
  public:
    explicit SynthesizerType(ModemParameterSet* owner);
};

class BitPolarity : public IntegerParameter {
  public:
    explicit BitPolarity(ModemParameterSet* owner);
};

class RXDelay : public IntegerParameter {
  public:
    explicit RXDelay(ModemParameterSet* owner);
};

class TXDelay : public IntegerParameter {
  public:
    explicit TXDelay(ModemParameterSet* owner);
};

class FrequencyError : public IntegerParameter {
  public:
    explicit FrequencyError(ModemParameterSet* owner);
};
