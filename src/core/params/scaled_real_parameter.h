// A real value stored as a big-endian count of fixed steps: value = (count + offset) / perUnit.
#pragma once

#include <string>

#include "params/modem_parameter.h"

namespace vxl {

struct RealScale {
    int perUnit;  // counts per unit of the value (10 = tenths)
    int offset;   // added to the count before scaling
    double minimum;
    double maximum;
    int decimals;  // shown and edited with this many decimals
};

}  // namespace vxl

class ScaledRealParameter : public ModemParameter {
  public:
    ScaledRealParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info,
                        const vxl::RealScale& scale);

    int GetReal(double& value) override;
    // Refuses (92) a value outside the limits.
    int SetReal(double value) override;
    int GetText(std::string& text) override;
    int GetRealRange(double& minimum, double& maximum, int& decimals) override;
    int ParseReal(const std::string& text, double& value) override;
    void ResetDefault() override;

  protected:
    virtual vxl::RealScale Scale();
    int StoreDefinition(const std::string& text) override;

  private:
    vxl::RealScale scale_;
};
