// The parameters of the modem's serial interface and link protocol.
#pragma once

#include "params/choice_parameter.h"
#include "params/flag_parameter.h"
#include "params/integer_parameter.h"
#include "params/scaled_real_parameter.h"

class BaudRate : public ChoiceParameter {
  public:
    explicit BaudRate(ModemParameterSet* owner);

  protected:
    int BuiltInDefault() override;  // 38400 on type 4, else 9600
};

class Parity : public ChoiceParameter {
  public:
    explicit Parity(ModemParameterSet* owner);
};

class ProtocolMode : public ChoiceParameter {
  public:
    explicit ProtocolMode(ModemParameterSet* owner);
    // Also accepts the definitions-file names ("PacketSwitched", ...).
    int ParseInt(const std::string& text, int& value) override;
};

class ForwardErrorCorrection : public FlagParameter {
  public:
    explicit ForwardErrorCorrection(ModemParameterSet* owner);
};

class Scrambling : public FlagParameter {
  public:
    explicit Scrambling(ModemParameterSet* owner);

  protected:
    uint32_t OnValue() override;  // 2 under the TrimMark and TrimTalk protocols, else 1
};

class EOTCharacter : public ChoiceParameter {
  public:
    explicit EOTCharacter(ModemParameterSet* owner);
    int GetIntRange(int& minimum, int& maximum) override;
    // The code of the text's first character.
    int ParseInt(const std::string& text, int& value) override;
};

class EOTCount : public IntegerParameter {
  public:
    explicit EOTCount(ModemParameterSet* owner);
};

class EOTTimeout : public ScaledRealParameter {
  public:
    explicit EOTTimeout(ModemParameterSet* owner);

  protected:
    vxl::RealScale Scale() override;  // milliseconds under TrimMark/TrimTalk, else 10 ms steps
};

class LocalAddress : public IntegerParameter {
  public:
    explicit LocalAddress(ModemParameterSet* owner);
};

class RemoteAddress : public IntegerParameter {
  public:
    explicit RemoteAddress(ModemParameterSet* owner);
};

class TransmitRetries : public IntegerParameter {
  public:
    explicit TransmitRetries(ModemParameterSet* owner);
};

class TxAckTimeout : public ScaledRealParameter {
  public:
    explicit TxAckTimeout(ModemParameterSet* owner);
};

class DigipeaterDelay : public ScaledRealParameter {
  public:
    explicit DigipeaterDelay(ModemParameterSet* owner);
};

class CSMAMonitor : public FlagParameter {
  public:
    explicit CSMAMonitor(ModemParameterSet* owner);
};

class BREAKtoCommand : public FlagParameter {
  public:
    explicit BREAKtoCommand(ModemParameterSet* owner);
};

class Repeater : public FlagParameter {
  public:
    explicit Repeater(ModemParameterSet* owner);
};
