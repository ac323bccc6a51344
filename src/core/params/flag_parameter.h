// A yes/no value: one bit of a byte shared with other parameters (the other bits kept), or a
// whole byte that is zero or not.
#pragma once

#include <cstdint>
#include <string>

#include "params/modem_parameter.h"

class FlagParameter : public ModemParameter {
  public:
    FlagParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info, vxl::BitField field);

    int GetBool(bool& value) override;
    int SetBool(bool value) override;
    // "yes" or "no".
    int GetText(std::string& text) override;
    void ResetDefault() override;

  protected:
    // What a set flag stores in its field (a bit stores 1).
    virtual uint32_t OnValue();
    int StoreDefinition(const std::string& text) override;

  private:
    vxl::BitField field_;
};

namespace vxl {
constexpr BitField kBit7{0x80, 7};
constexpr BitField kBit6{0x40, 6};
constexpr BitField kBit4{0x10, 4};
}  // namespace vxl
