#include "params/scaled_real_parameter.h"

#include <cmath>

#include "params/parameter_text.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace rc = vxl::rc;

namespace {

// A decimal value such as 4.35 is held as 4.3499999...; the count is cut toward zero only
// after this slack, so the value entered is the value stored.
constexpr double kCountSlack = 1e-6;

}  // namespace

ScaledRealParameter::ScaledRealParameter(ModemParameterSet* owner, const vxl::ParameterInfo& info,
                                         const vxl::RealScale& scale)
    : ModemParameter(owner, info), scale_(scale) {}

vxl::RealScale ScaledRealParameter::Scale() {
    return scale_;
}

int ScaledRealParameter::GetReal(double& value) {
    if (int code = RequireAvailable()) return code;
    uint32_t count = 0;
    int code = ReadField(vxl::kWholeValue, count);
    if (code != rc::kOk) return code;
    vxl::RealScale scale = Scale();
    value = (static_cast<double>(count) + scale.offset) / scale.perUnit;
    return rc::kOk;
}

int ScaledRealParameter::SetReal(double value) {
    if (int code = RequireAvailable()) return code;
    vxl::RealScale scale = Scale();
    constexpr double kSlack = 1e-9;
    if (!std::isfinite(value) || value < scale.minimum - kSlack || value > scale.maximum + kSlack)
        return rc::kInvalidDefinition;
    double count = std::trunc(value * scale.perUnit - scale.offset + kCountSlack);
    if (count < 0) count = 0;
    return WriteField(vxl::kWholeValue, static_cast<uint32_t>(count));
}

int ScaledRealParameter::GetText(std::string& text) {
    double value = 0;
    int code = GetReal(value);
    if (code == rc::kOk) text = vxl::Format("%.*f", Scale().decimals, value);
    return code;
}

int ScaledRealParameter::GetRealRange(double& minimum, double& maximum, int& decimals) {
    vxl::RealScale scale = Scale();
    minimum = scale.minimum;
    maximum = scale.maximum;
    decimals = scale.decimals;
    return rc::kOk;
}

int ScaledRealParameter::ParseReal(const std::string& text, double& value) {
    vxl::RealScale scale = Scale();
    return vxl::ParseDecimalReal(text, scale.minimum, scale.maximum, value);
}

void ScaledRealParameter::ResetDefault() {
    defaultReal_ = Info().builtInDefault;
}

int ScaledRealParameter::StoreDefinition(const std::string& text) {
    return ParseReal(text, defaultReal_);
}
