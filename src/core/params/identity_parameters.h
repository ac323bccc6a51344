// The parameters that identify the modem and its owner, and the type-4 housekeeping values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "params/flag_parameter.h"
#include "params/integer_parameter.h"
#include "params/serial_number.h"
#include "params/text_parameter.h"

class SerialNumber : public IntegerParameter {
  public:
    explicit SerialNumber(ModemParameterSet* owner);
    // A decimal number.
    int SetText(const std::string& text) override;
};

// Printable Latin-1 characters, one byte each, ended by a zero byte or the field's end.
class Owner : public TextParameter {
  public:
    explicit Owner(ModemParameterSet* owner);
    vxl::TextRule Rule() const override;
    bool HoldsByte(uint8_t byte) const override;

  protected:
    std::vector<uint8_t> Encode(const std::string& text, int length) override;
    // Up to the first zero; a byte without a printable character reads as U+FFFD.
    std::string Decode(const std::vector<uint8_t>& bytes) override;
};

class CallSign : public TextParameter {
  public:
    explicit CallSign(ModemParameterSet* owner);
    vxl::TextRule Rule() const override;
    bool HoldsByte(uint8_t byte) const override;

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
