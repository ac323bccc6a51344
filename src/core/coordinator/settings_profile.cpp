#include "coordinator/settings_profile.h"

#include <algorithm>
#include <sstream>

#include "coordinator/coordinator.h"
#include "modem/modem_base.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_ids.h"
#include "params/parameter_text.h"
#include "util/format.h"
#include "util/input_file.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

// How a setting's value is written and read back.
enum class Form {
    Text,       // free text (Owner, CallSign)
    Choice,     // one of the parameter's choice texts, or a number within its limits
    Flag,       // yes / no
    Real,       // a decimal number within the parameter's limits
    Character,  // a character's name, as the EOT Character field shows it
    Channel,    // the current channel's number
};

struct Setting {
    int id;
    Form form;
};

// The settings of the End User pages, in the order they are applied: each rule's inputs before
// the values the rule may change, the channel table before the current channel.
const std::vector<Setting>& UserSettings() {
    static const std::vector<Setting> settings = [] {
        std::vector<Setting> list = {
            {pid::kProtocolMode, Form::Choice},  {pid::kModulationType, Form::Choice},
            {pid::kLinkRate, Form::Choice},      {pid::kBaudRate, Form::Choice},
            {pid::kParity, Form::Choice},        {pid::kBREAKtoCommand, Form::Flag},
            {pid::kRepeater, Form::Flag},        {pid::kEOTCharacter, Form::Character},
            {pid::kEOTCount, Form::Choice},      {pid::kDigipeaterDelay, Form::Real},
            {pid::kDigisquelch, Form::Choice},   {pid::kTransmitRetries, Form::Choice},
            {pid::kTxAckTimeout, Form::Real},    {pid::kLocalAddress, Form::Choice},
            {pid::kRemoteAddress, Form::Choice}, {pid::kForwardErrorCorrection, Form::Flag},
            {pid::kScrambling, Form::Flag},      {pid::kCSMAMonitor, Form::Flag},
            {pid::kOwner, Form::Text},           {pid::kCallSign, Form::Text},
        };
        for (int k = 0; k < pid::kChannelCount; ++k) {
            list.push_back({pid::RxChannelId(k), Form::Real});
            list.push_back({pid::TxChannelId(k), Form::Real});
        }
        list.push_back({pid::kCurrentChannel, Form::Channel});
        return list;
    }();
    return settings;
}

const int kIdentityIds[] = {pid::kSerialNumber, pid::kModel, pid::kFrequency, pid::kPower,
                            pid::kFirmwareRevision};

// EOT character, count and time-out are one byte read three ways; the protocol mode decides
// which one the Serial Interface page shows, and only that one goes into a profile.
constexpr int kEotCharacterMode = 1;

bool Carried(ModemParameterSet& set, const Setting& setting, const std::string& value) {
    const int id = setting.id;
    // A choice that names nothing (a stored value outside the choices) is not carried over.
    if (!set.IsAvailable(id) || (setting.form == Form::Choice && value.empty())) return false;
    int mode = -1;
    set.GetInt(pid::kProtocolMode, mode);
    if (id == pid::kEOTCharacter) return mode == kEotCharacterMode;
    if (id == pid::kEOTCount) return mode != kEotCharacterMode;
    return true;
}

// The value as the pages show it.
bool ShownValue(ModemParameterSet& set, const Setting& setting, std::string& value) {
    value.clear();
    if (setting.form == Form::Channel) {
        int channel = 0;
        if (set.GetInt(setting.id, channel) != rc::kOk) return false;
        value = Format("%d", channel);
        return true;
    }
    return set.GetText(setting.id, value) == rc::kOk;
}

// Like the definitions file, a value may carry a comment after '#' (not in free text, where
// '#' is an ordinary character).
std::string WithoutComment(const std::string& text) {
    size_t hash = text.find('#', 1);
    return Trim(hash == std::string::npos ? text : text.substr(0, hash));
}

// The texts once each, in their order (a choice list may offer one text for several values).
std::string Joined(const std::vector<std::string>& texts) {
    std::vector<std::string> seen;
    std::string joined;
    for (const std::string& text : texts) {
        if (std::find(seen.begin(), seen.end(), text) != seen.end()) continue;
        seen.push_back(text);
        joined += (joined.empty() ? "" : ", ") + text;
    }
    return joined;
}

// Why a value could not be understood, from the limits the parameter offers.
std::string NotUnderstood(ModemParameterSet& set, const Setting& setting) {
    std::vector<std::string> texts;
    std::vector<int> values;
    int minimum = 0, maximum = 0, decimals = 0;
    double low = 0.0, high = 0.0;
    switch (setting.form) {
        case Form::Flag:
            return "the value is neither yes nor no";
        case Form::Real:
            if (set.GetRealRange(setting.id, low, high, decimals) == rc::kOk)
                return Format("the value is not a number from %.*f to %.*f", decimals, low,
                              decimals, high);
            return "the value is not a number this modem accepts";
        default:
            if (setting.form == Form::Channel ||
                (set.GetChoices(setting.id, texts, values) != rc::kOk || texts.size() > 16)) {
                if (set.GetIntRange(setting.id, minimum, maximum) == rc::kOk)
                    return Format("the value is not a whole number from %d to %d", minimum,
                                  maximum);
                return "the value is not one this modem accepts";
            }
            return "the value is not one of this modem's choices (" + Joined(texts) + ")";
    }
}

std::string Refusal(int code) {
    switch (code) {
        case rc::kZeroCurrentChannel:
            return "the current channel cannot be left without a frequency";
        case rc::kInvalidDefinition:
        case rc::kNoMatchingChoice:
            return "the value is not allowed together with this modem's other settings";
        case rc::kMissingArgument:
        case rc::kNotAvailable:
            return "this modem does not have this setting";
        default:
            return "the modem's settings refused it: " + ErrorText(code);
    }
}

class ProfileApplier {
  public:
    explicit ProfileApplier(CCoordinator& coordinator)
        : c_(coordinator), set_(*coordinator.GetParameterSet()) {}

    // 0, or the code of the edit that refused the value (`why` is then filled).
    int Apply(const Setting& setting, const std::string& raw, std::string& why) {
        ModemParameter* parameter = set_.Get(setting.id);
        if (parameter == nullptr || !set_.IsAvailable(setting.id)) {
            why = "this modem does not have this setting";
            return rc::kNotAvailable;
        }
        const std::string value = setting.form == Form::Text ? raw : WithoutComment(raw);
        int code = rc::kOk;
        switch (setting.form) {
            case Form::Text:
                code = c_.SetTextParameter(
                    setting.id, setting.id == pid::kCallSign ? ToUpper(Trim(value)) : value);
                break;
            case Form::Flag: {
                bool flag = false;
                if (ParseYesNo(value, flag) != rc::kOk) return Unreadable(setting, why);
                code = c_.SetBoolParameter(setting.id, flag);
                break;
            }
            case Form::Real: {
                double number = 0.0;
                // An unused channel is shown empty.
                if (!(pid::IsChannelId(setting.id) && value.empty()) &&
                    parameter->ParseReal(value, number) != rc::kOk)
                    return Unreadable(setting, why);
                code = c_.SetRealParameter(setting.id, number);
                break;
            }
            default: {
                int number = 0;
                if (!(setting.form == Form::Character &&
                      NamedCharacter(setting.id, value, number)) &&
                    parameter->ParseInt(value, number) != rc::kOk)
                    return Unreadable(setting, why);
                code = c_.SetIntParameter(setting.id, number);
                break;
            }
        }
        if (code != rc::kOk) why = Refusal(code);
        return code;
    }

  private:
    int Unreadable(const Setting& setting, std::string& why) {
        why = NotUnderstood(set_, setting);
        return rc::kInvalidDefinition;
    }
    bool NamedCharacter(int id, const std::string& name, int& code) {
        std::vector<std::string> texts;
        std::vector<int> values;
        set_.GetChoices(id, texts, values);
        for (size_t i = 0; i < texts.size(); ++i)
            if (EqualsNoCase(texts[i], name)) {
                code = values[i];
                return true;
            }
        return false;
    }
    static std::string ToUpper(std::string text) {
        for (char& c : text)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return text;
    }

    CCoordinator& c_;
    ModemParameterSet& set_;
};

std::string WhyNotCarried(const std::string& key) {
    for (int id : kIdentityIds)
        if (EqualsNoCase(ProfileKey(id), key))
            return "this identifies the modem; a profile never changes it";
    for (int id = 0; id < pid::kParameterCount; ++id)
        if (!ProfileKey(id).empty() && EqualsNoCase(ProfileKey(id), key))
            return "this is not a setting of the End User pages";
    return "this is not a setting this program knows";
}

}  // namespace

std::string ProfileKey(int id) {
    if (pid::IsChannelId(id))
        return Format(pid::IsRxChannelId(id) ? "RXChannel_%d" : "TXChannel_%d",
                      pid::ChannelOfId(id));
    const ParameterInfo* info = CatalogueInfo(id);
    return info != nullptr && info->key != nullptr ? info->key : "";
}

bool BuildProfile(CCoordinator& coordinator, std::string& text) {
    ModemParameterSet* set = coordinator.GetParameterSet();
    if (set == nullptr) return false;
    std::string model;
    set->GetText(pid::kModel, model);
    std::string firmware;
    set->GetText(pid::kFirmwareRevision, firmware);
    if (firmware.empty() && coordinator.GetModem())
        firmware = Format("%3.2f", coordinator.GetModem()->GetFirmwareRevision());
    text = Format("; vxlconf settings profile of modem %s (%s, firmware %s)\n",
                  coordinator.GetSerialNumberText().c_str(), model.c_str(), firmware.c_str());
    text += "[" + (model.empty() ? std::string("Profile") : model) + "]\n";
    for (const Setting& setting : UserSettings()) {
        std::string value;
        if (!ShownValue(*set, setting, value) || !Carried(*set, setting, value)) continue;
        text += ProfileKey(setting.id) + "=" + value + "\n";
    }
    return true;
}

int SaveProfile(CCoordinator& coordinator, const std::string& path, std::string* problem) {
    std::string text;
    if (!BuildProfile(coordinator, text)) return rc::kMissingArgument;
    const FileResult written = WriteFileAtomically(path, text);
    if (problem != nullptr) *problem = written.reason;
    return written.code;
}

int ParseProfile(const std::string& text, Profile& profile, std::string& reason) {
    auto damaged = [&reason](std::string why) {
        reason = std::move(why);
        return rc::kProfileDamaged;
    };
    profile = Profile();
    if (text.find('\0') != std::string::npos) return damaged("it is not a text file");
    bool sectionSeen = false;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            if (sectionSeen) return damaged(Format("line %d starts a second section", number));
            sectionSeen = true;
            profile.section = Trim(line.substr(1, line.size() - 2));
            continue;
        }
        size_t equals = line.find('=');
        if (!sectionSeen || equals == std::string::npos || equals == 0)
            return damaged(Format("line %d is not a setting of a profile section", number));
        profile.entries.emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    if (profile.entries.empty()) return damaged("it holds no settings");
    return rc::kOk;
}

int ReadProfileFile(const std::string& path, Profile& profile, std::string& reason) {
    constexpr std::size_t kMaxProfileBytes = 64 * 1024;
    std::string text;
    InputFileResult read = ReadInputFile(path, kMaxProfileBytes, text);
    if (read.code != 0) {
        reason = read.reason;
        return read.code;
    }
    return ParseProfile(text, profile, reason);
}

int ApplyProfile(CCoordinator& coordinator, const Profile& profile,
                 std::vector<RefusedEntry>& refused) {
    ModemParameterSet* set = coordinator.GetParameterSet();
    if (set == nullptr) return rc::kMissingArgument;
    ProfileApplier applier(coordinator);

    // Each key once, in the order of the settings; what is left over is no user setting.
    std::vector<bool> used(profile.entries.size(), false);
    struct Applied {
        const Setting* setting;
        size_t entry;
        std::string shown;  // the value right after it was applied
    };
    std::vector<Applied> applied;
    std::vector<std::pair<const Setting*, size_t>> retry;
    // Refusals are reported in the order of the file.
    std::vector<std::pair<size_t, std::string>> why(profile.entries.size());
    auto refuse = [&why](size_t index, std::string reason) {
        why[index] = {index + 1, std::move(reason)};
    };
    auto apply = [&](const Setting& setting, size_t index, bool lastTry) {
        std::string reason;
        int code = applier.Apply(setting, profile.entries[index].second, reason);
        if (code == rc::kZeroCurrentChannel && !lastTry) {
            retry.emplace_back(&setting, index);
        } else if (code != rc::kOk) {
            refuse(index, reason);
        } else {
            std::string shown;
            ShownValue(*set, setting, shown);
            applied.push_back({&setting, index, shown});
        }
    };
    for (const Setting& setting : UserSettings()) {
        const std::string key = ProfileKey(setting.id);
        for (size_t i = 0; i < profile.entries.size(); ++i) {
            if (used[i] || !EqualsNoCase(profile.entries[i].first, key)) continue;
            used[i] = true;
            apply(setting, i, false);
        }
    }
    // A channel that was the current one can be emptied once another channel is current.
    for (const auto& [setting, index] : retry) apply(*setting, index, true);

    for (size_t i = 0; i < profile.entries.size(); ++i)
        if (!used[i]) refuse(i, WhyNotCarried(profile.entries[i].first));
    for (const Applied& a : applied) {
        std::string now;
        ShownValue(*set, *a.setting, now);
        if (now != a.shown)
            refuse(a.entry, Format("another setting's rule changed it to \"%s\"", now.c_str()));
    }
    for (size_t i = 0; i < why.size(); ++i)
        if (why[i].first != 0)
            refused.push_back({profile.entries[i].first, profile.entries[i].second, why[i].second});
    coordinator.RefreshPages();
    return rc::kOk;
}

}  // namespace vxl
