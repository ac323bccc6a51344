#include "params/channel_frequency.h"

#include <vector>

#include "params/frequency.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_ids.h"
#include "params/parameter_text.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace rc = vxl::rc;
namespace pid = vxl::pid;

namespace {

constexpr int kDecimals = 4;

vxl::ParameterInfo ChannelInfo(int channel, bool rx) {
    int id = rx ? pid::RxChannelId(channel) : pid::TxChannelId(channel);
    vxl::ParameterInfo info = vxl::CatalogueRow(id);
    info.id = id;
    return info;
}

}  // namespace

ChannelFrequency::ChannelFrequency(ModemParameterSet* owner, int channel, bool rx)
    : ModemParameter(owner, ChannelInfo(channel, rx)), channel_(channel), rx_(rx) {
    // Receive and transmit frequencies of a channel share their key.
    SetKey(vxl::Format("RXChannel_%d", channel));
}

int ChannelFrequency::SynthesizerType(int& type) {
    if (!ParameterSet().IsAvailable(pid::kSynthesizerType)) return rc::kNotAvailable;
    return ParameterSet().GetInt(pid::kSynthesizerType, type);
}

int ChannelFrequency::GetReal(double& value) {
    if (int code = RequireAvailable()) return code;
    int type = 0;
    if (int code = SynthesizerType(type)) return code;
    std::vector<uint8_t> bytes;
    int code = ReadRaw(bytes);
    if (code != rc::kOk) return code;
    DecodeFrequency(type, &value, bytes.data(), rx_);
    return rc::kOk;
}

int ChannelFrequency::SetReal(double value) {
    if (int code = RequireAvailable()) return code;
    if (value == 0.0 && IntOf(pid::kCurrentChannel, -1) == channel_) return rc::kZeroCurrentChannel;
    int type = 0;
    if (int code = SynthesizerType(type)) return code;
    std::vector<uint8_t> bytes(3, 0);
    if (!vxl::TryEncodeFrequency(type, value, bytes.data(), rx_)) return rc::kInvalidDefinition;
    return WriteRaw(bytes);
}

int ChannelFrequency::GetText(std::string& text) {
    double value = 0.0;
    int code = GetReal(value);
    if (code == rc::kOk) text = value == 0.0 ? std::string() : vxl::Format("%.4f", value);
    return code;
}

int ChannelFrequency::GetRealRange(double& minimum, double& maximum, int& decimals) {
    std::string band;
    int code = ParameterSet().GetText(pid::kFrequency, band);
    if (code != rc::kOk) return code;
    size_t dash = band.find('-');
    if (dash == std::string::npos) return rc::kNotSupported;
    double low = 0.0;
    double high = 0.0;
    std::string lowText = band.substr(0, dash);
    std::string highText = band.substr(dash + 1);
    if (vxl::ParseDecimalReal(lowText, 0.0, 1e6, low) != rc::kOk ||
        vxl::ParseDecimalReal(highText, 0.0, 1e6, high) != rc::kOk)
        return rc::kNotSupported;
    minimum = low;
    maximum = high;
    decimals = kDecimals;
    return rc::kOk;
}

int ChannelFrequency::ParseReal(const std::string& text, double& value) {
    double minimum = 0.0;
    double maximum = 0.0;
    int decimals = 0;
    int code = GetRealRange(minimum, maximum, decimals);
    if (code != rc::kOk) return code;
    return vxl::ParseDecimalReal(text, minimum, maximum, value);
}
