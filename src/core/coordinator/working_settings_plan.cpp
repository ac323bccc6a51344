// Channel plans (CSV) in and out of the working settings. A plan is taken as a whole or not at
// all: every frequency passes the checks a typed one does before the first is set.
#include <cmath>

#include "coordinator/working_settings.h"
#include "params/channel_plan_csv.h"
#include "params/frequency.h"
#include "params/modem_parameter_set.h"
#include "util/format.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

// Within this of a frequency the synthesizer holds, a plan's frequency is that one (the plan
// has four decimals).
constexpr double kSameFrequencyMhz = 0.00005;

// Why channel parameter `id` cannot take `mhz` on this modem; empty when it can.
std::string Refusal(ModemParameterSet& set, int id, double mhz, bool transmitEditable) {
    const bool rx = pid::IsRxChannelId(id);
    const int channel = pid::ChannelOfId(id);
    const char* which = rx ? "receive" : "transmit";
    int current = -1;
    set.GetInt(pid::kCurrentChannel, current);
    double held = 0.0;
    if (set.GetReal(id, held) != rc::kOk) return "this modem has no channel table";
    // What the channel holds already is no change, whatever it is.
    if (std::fabs(mhz - held) <= kSameFrequencyMhz) return std::string();
    if (!rx && !transmitEditable)
        return "this modem sets its transmit frequencies itself; leave them as they are";
    if (mhz == 0.0) {
        if (channel != current) return std::string();
        return Format(
            "channel %d is the channel in use and keeps its %s frequency; choose "
            "another current channel first",
            channel, which);
    }
    double low = 0.0, high = 0.0;
    int decimals = 0;
    if (set.GetRealRange(id, low, high, decimals) != rc::kOk)
        return "this modem's band is not known, so its channels cannot be set";
    if (mhz < low || mhz > high)
        return Format("the %s frequency %.4f MHz is outside this modem's band (%.4f to %.4f MHz)",
                      which, mhz, low, high);
    int type = 0;
    uint8_t word[3] = {};
    if (set.GetInt(pid::kSynthesizerType, type) != rc::kOk ||
        !TryEncodeFrequency(type, mhz, word, rx))
        return Format("the %s frequency %.4f MHz cannot be set on this modem's synthesizer", which,
                      mhz);
    double stored = 0.0;
    DecodeFrequency(type, &stored, word, rx);
    const double step = FrequencyStepMhz(type);
    if (std::fabs(stored - mhz) > kSameFrequencyMhz)
        return Format(
            "the %s frequency %.4f MHz is not on the synthesizer's %.1f kHz step (the "
            "nearest are %.4f and %.4f MHz)",
            which, mhz, step * 1000.0, stored, stored + step);
    return std::string();
}

}  // namespace

bool WorkingSettings::TakeChannelPlan(ChannelPlan& plan) const {
    plan = ChannelPlan();
    if (parameters_ == nullptr) return false;
    for (int k = 0; k < pid::kChannelCount; ++k) {
        parameters_->GetReal(pid::RxChannelId(k), plan.rx[k]);
        parameters_->GetReal(pid::TxChannelId(k), plan.tx[k]);
    }
    return true;
}

int WorkingSettings::ApplyChannelPlan(const ChannelPlan& plan, std::string* problem) {
    if (parameters_ == nullptr) return rc::kMissingArgument;
    for (int k = 0; k < pid::kChannelCount; ++k) {
        for (const int id : {pid::RxChannelId(k), pid::TxChannelId(k)}) {
            const double mhz = pid::IsRxChannelId(id) ? plan.rx[k] : plan.tx[k];
            const std::string why = Refusal(*parameters_, id, mhz, transmitEditable_);
            if (why.empty()) continue;
            if (problem != nullptr)
                *problem = plan.row[k] > 0
                               ? Format("row %d (channel %d): %s", plan.row[k], k, why.c_str())
                               : Format("channel %d: %s", k, why.c_str());
            return rc::kChannelPlanRefused;
        }
    }
    ChannelPlan before;
    TakeChannelPlan(before);
    for (int k = 0; k < pid::kChannelCount; ++k) {
        int result = parameters_->SetReal(pid::RxChannelId(k), plan.rx[k]);
        if (result == rc::kOk) result = parameters_->SetReal(pid::TxChannelId(k), plan.tx[k]);
        if (result == rc::kOk) continue;
        // Checked above, so not expected; the table goes back to what it was all the same.
        for (int j = 0; j <= k; ++j) {
            parameters_->SetReal(pid::RxChannelId(j), before.rx[j]);
            parameters_->SetReal(pid::TxChannelId(j), before.tx[j]);
        }
        if (problem != nullptr) *problem = Format("channel %d: %s", k, ErrorText(result).c_str());
        return FinishBulk(result);
    }
    return FinishBulk(rc::kOk);
}

int WorkingSettings::ImportChannelCsv(const std::string& path, std::string* problem) {
    if (parameters_ == nullptr) return rc::kMissingArgument;
    ChannelPlan plan;
    std::string why;
    int result = ReadChannelPlanFile(path, plan, why);
    if (result == rc::kOk) result = ApplyChannelPlan(plan, &why);
    if (problem != nullptr) *problem = why;
    return result;
}

int WorkingSettings::ExportChannelCsv(const std::string& path, std::string* problem) const {
    ChannelPlan plan;
    if (!TakeChannelPlan(plan)) return rc::kMissingArgument;
    const FileResult written = WriteFileAtomically(path, FormatChannelPlanCsv(plan));
    if (problem != nullptr) *problem = written.reason;
    return written.code;
}

}  // namespace vxl
