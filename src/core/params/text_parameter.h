// A value held as a fixed-length byte field that reads and writes as text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "params/modem_parameter.h"

class TextParameter : public ModemParameter {
  public:
    TextParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info);

    int GetText(std::string& text) override;
    // Blanks at both ends are removed and the text is cut to the field's length.
    int SetText(const std::string& text) override;
    // The field's length (0 and 72 while not available).
    int GetMaxLength(int& length) override;

  protected:
    // The bytes of a text (exactly `length` of them) and the text of the bytes.
    virtual std::vector<uint8_t> Encode(const std::string& text, int length) = 0;
    virtual std::string Decode(const std::vector<uint8_t>& bytes) = 0;
};
