// The parameters decoded from the model byte and the type-4 radio configuration bytes: model,
// frequency band, power, channel bandwidth, crystal, and what derives from them.
#pragma once

#include "params/choice_parameter.h"
#include "params/integer_parameter.h"

class ModemParameterSet;

namespace vxl {
// Writes the DAC compensation row of the image's current crystal, model and bandwidth into
// DACCompVoltageCount (type 4; nothing to do for other types or unknown combinations).
int RewriteDacCompensation(ModemParameterSet& set);
}  // namespace vxl

class Model : public ChoiceParameter {
  public:
    explicit Model(ModemParameterSet* owner);
    // "Unknown" while the model ID is missing; types 1-3 show nothing for row 0.
    int GetText(std::string& text) override;
    // Type 4 keeps the band bits and sets bit 7; then the DAC compensation is rewritten and the
    // missing-model-ID mark cleared.
    int SetInt(int value) override;

  protected:
    vxl::ChoiceTexts Texts(int modemType) override;
};

class Frequency : public ChoiceParameter {
  public:
    explicit Frequency(ModemParameterSet* owner);
    // Type 4: the band text; types 1-3: the model row's band (96 outside rows 1..96).
    int GetText(std::string& text) override;
    // Type 4: the band index; types 1-3: the model row's factory-frequency set.
    int GetInt(int& value) override;
    int SetInt(int value) override;  // type 4 only (71)
    int GetChoiceCount(int modemType, int& count) override;

  protected:
    vxl::ChoiceTexts Texts(int modemType) override;
};

class Power : public ChoiceParameter {
  public:
    explicit Power(ModemParameterSet* owner);
    // "Unknown" while the model ID is missing, and (with 113) for a code above 3.
    int GetText(std::string& text) override;
    int GetInt(int& value) override;  // type 4 only (71)
    int SetInt(int value) override;   // type 4 only (71); 113 above code 3

  protected:
    vxl::ChoiceTexts Texts(int modemType) override;
};

class ChannelBandwidth : public ChoiceParameter {
  public:
    explicit ChannelBandwidth(ModemParameterSet* owner);
    int SetInt(int value) override;  // type 4 only (71)

  protected:
    int AfterWrite() override;  // rewrites the DAC compensation
};

class Crystal : public ChoiceParameter {
  public:
    explicit Crystal(ModemParameterSet* owner);

  protected:
    int AfterWrite() override;  // rewrites the DAC compensation
};

class ModemID : public ModemParameter {
  public:
    explicit ModemID(ModemParameterSet* owner);
    // "%.3d-%d": board number and crystal (7 when the crystal cannot be read).
    int GetText(std::string& text) override;
    int GetInt(int& value) override;  // the board number
};

class FirmwareRevision : public ModemParameter {
  public:
    explicit FirmwareRevision(ModemParameterSet* owner);
    int GetText(std::string& text) override;  // "%3.2f", empty without a modem
    int GetReal(double& value) override;
};

class PowerControl : public IntegerParameter {
  public:
    explicit PowerControl(ModemParameterSet* owner);
    // The per-model power-control value; 62 for a model outside 0..5.
    int LoadDefault(std::string& location) override;
    void ResetDefault() override;
};

class DACCompVoltageCount : public ModemParameter {
  public:
    explicit DACCompVoltageCount(ModemParameterSet* owner);
};
