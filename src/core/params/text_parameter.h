// A value held as a fixed-length byte field that reads and writes as text. What the field takes
// is its text rule (params/text_rules.h); it never reads as a control character.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "params/modem_parameter.h"
#include "params/text_rules.h"

class TextParameter : public ModemParameter {
  public:
    TextParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info);

    int GetText(std::string& text) override;
    // The text as NormaliseText gives it; a text that breaks the field's rule is refused (92)
    // and nothing is written.
    int SetText(const std::string& text) override;
    // The field's length (0 and 72 while not available).
    int GetMaxLength(int& length) override;

    // The field's rule on the attached modem.
    virtual vxl::TextRule Rule() const = 0;
    // Whether a stored byte of the field reads as one of its characters (or as none: padding).
    virtual bool HoldsByte(uint8_t byte) const = 0;

  protected:
    // The bytes of a text that obeys the rule (exactly `length` of them) and the text of the
    // bytes.
    virtual std::vector<uint8_t> Encode(const std::string& text, int length) = 0;
    virtual std::string Decode(const std::vector<uint8_t>& bytes) = 0;
};
