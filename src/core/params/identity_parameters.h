// The parameters that identify the modem and its owner, and the type-4 housekeeping values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "params/flag_parameter.h"
#include "params/integer_parameter.h"
#include "params/text_parameter.h"

namespace vxl {

// The form check of a serial number typed by the user: 8 characters, YYWW.... with YY a year
// (96 or later, or at most the reference year: the later of `currentYear` and 2004, modulo 100)
// and WW a week 1..52.
bool IsValidSerialNumberText(const std::string& text, int currentYear);
// The same with the calendar year of the clock.
bool IsValidSerialNumberText(const std::string& text);

}  // namespace vxl

class SerialNumber : public IntegerParameter {
  public:
    explicit SerialNumber(ModemParameterSet* owner);
    // A decimal number.
    int SetText(const std::string& text) override;
};

class Owner : public TextParameter {
  public:
    explicit Owner(ModemParameterSet* owner);

  protected:
    std::vector<uint8_t> Encode(const std::string& text, int length) override;
    std::string Decode(const std::vector<uint8_t>& bytes) override;  // up to the first zero
};

class CallSign : public TextParameter {
  public:
    explicit CallSign(ModemParameterSet* owner);

  protected:
    std::vector<uint8_t> Encode(const std::string& text, int length) override;
    std::string Decode(const std::vector<uint8_t>& bytes) override;
};

class LastFailure : public IntegerParameter {
  public:
    explicit LastFailure(ModemParameterSet* owner);
};

class SystemClock : public IntegerParameter {
  public:
    explicit SystemClock(ModemParameterSet* owner);
};

class ModemEnable : public FlagParameter {
  public:
    explicit ModemEnable(ModemParameterSet* owner);
};

class DataSecurityCode : public IntegerParameter {
  public:
    explicit DataSecurityCode(ModemParameterSet* owner);
};
