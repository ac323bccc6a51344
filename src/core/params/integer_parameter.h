// A value stored as a big-endian number (or a bit field of one), shown in one of the system's
// number forms, optionally with limits and with a choice per value.
#pragma once

#include <string>
#include <vector>

#include "params/modem_parameter.h"

namespace vxl {

enum class NumberStyle {
    kDecimal,      // "%d"
    kThreeDigits,  // "%.3d"
    kHexByte,      // "0x%.2x"
    kEightDigits,  // "%*.*d" with width and precision 8
};

struct IntegerForm {
    NumberStyle style;
    bool ranged;
    long long minimum;
    long long maximum;
    int positions;  // values 0..positions-1 offered as choices in "%d" form (0: no choices)
};

std::string FormatNumber(NumberStyle style, long long value);

// The usual forms.
constexpr IntegerForm kByteDecimal{NumberStyle::kDecimal, true, 0, 255, 0};
constexpr IntegerForm kAddressForm{NumberStyle::kDecimal, true, 0, 255, 256};
constexpr IntegerForm kCountForm{NumberStyle::kThreeDigits, true, 0, 255, 0};
constexpr IntegerForm kThreeDigitForm{NumberStyle::kThreeDigits, false, 0, 0, 0};
constexpr IntegerForm kHexForm{NumberStyle::kHexByte, false, 0, 0, 0};
constexpr IntegerForm kHexByteRanged{NumberStyle::kHexByte, true, 0, 255, 0};
constexpr IntegerForm kEightDigitForm{NumberStyle::kEightDigits, false, 0, 0, 0};
constexpr IntegerForm kSignedEightDigitForm{NumberStyle::kEightDigits, true, -2147483647LL - 1,
                                            2147483647LL, 0};

}  // namespace vxl

class IntegerParameter : public ModemParameter {
  public:
    IntegerParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info,
                     const vxl::IntegerForm& form, vxl::BitField field = vxl::kWholeValue);

    int GetText(std::string& text) override;
    int GetInt(int& value) override;
    // Refuses (92) a value outside the limits.
    int SetInt(int value) override;
    int GetIntRange(int& minimum, int& maximum) override;
    int GetChoiceCount(int modemType, int& count) override;
    int GetChoices(std::vector<std::string>& texts, std::vector<int>& values) override;
    // Decimal text within the limits, else 92.
    int ParseInt(const std::string& text, int& value) override;
    void ResetDefault() override;

  protected:
    const vxl::IntegerForm& Form() const { return form_; }
    int StoreDefinition(const std::string& text) override;

  private:
    vxl::IntegerForm form_;
    vxl::BitField field_;
};
