#include "coordinator/settings_differences.h"

#include <memory>

#include "coordinator/profile_file.h"
#include "coordinator/working_settings.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "ui/headless_operator.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

// Building a parameter set over other bytes looks its defaults up again; problems of the
// definitions file were shown when the modem was loaded and are not shown once more.
class QuietOperator : public HeadlessOperator {
  public:
    MsgAnswer MessageBox(const std::string&, const std::string&, MsgIcon,
                         MsgButtons buttons) override {
        return SafeDefault(buttons);
    }
};

std::string ValueOf(ModemParameterSet& set, int id) {
    std::string text;
    int number = 0;
    // The current channel's text lists the frequencies; its number is what it is.
    if (id == pid::kCurrentChannel)
        return set.GetInt(id, number) == rc::kOk ? Format("%d", number) : std::string();
    if (set.GetText(id, text) != rc::kOk) return std::string("?");
    return text;
}

}  // namespace

std::vector<SettingDifference> DifferencesFrom(const std::vector<uint8_t>& bytes,
                                               const WorkingSettings& settings) {
    std::vector<SettingDifference> differences;
    ModemParameterSet* loaded = settings.Parameters();
    ModemMemoryImage* working = settings.Image();
    if (loaded == nullptr || working == nullptr) return differences;
    std::unique_ptr<ModemMemoryImage> image = working->Clone();
    if (image->WriteConfigurationBytes(bytes) != rc::kOk) return differences;
    QuietOperator quiet;
    ScopedUi scope(quiet);
    std::string location;
    int status = rc::kOk;
    ModemParameterSet other(location, status, image.get());
    for (int id = 0; id < pid::kParameterCount; ++id) {
        if (loaded->Get(id) == nullptr || other.Get(id) == nullptr) continue;
        const std::string before = ValueOf(other, id);
        const std::string after = ValueOf(*loaded, id);
        if (before != after) differences.push_back({id, ProfileKey(id), before, after});
    }
    return differences;
}

std::string DifferenceLines(const std::vector<SettingDifference>& differences) {
    auto shown = [](const std::string& value) { return value.empty() ? "(empty)" : value; };
    std::string text;
    for (const SettingDifference& d : differences)
        text += d.key + ": " + shown(d.before) + " -> " + shown(d.after) + "\n";
    return text;
}

}  // namespace vxl
