// Applying a settings profile to the working settings: every entry through the edit operations,
// so the rules that tie parameters together hold as if the operator had made the changes; what
// cannot be applied, or what a later rule changed, is listed with the reason.
#include "coordinator/profile_apply.h"

#include <algorithm>

#include "coordinator/coordinator.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "params/parameter_text.h"
#include "params/text_rules.h"
#include "util/format.h"
#include "util/ini_file.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

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

std::string NotUnderstood(ModemParameterSet& set, const ProfileSetting& setting) {
    std::vector<std::string> texts;
    std::vector<int> values;
    int minimum = 0, maximum = 0, decimals = 0;
    double low = 0.0, high = 0.0;
    switch (setting.form) {
        case ProfileForm::Flag:
            return "the value is neither yes nor no";
        case ProfileForm::Real:
            if (set.GetRealRange(setting.id, low, high, decimals) == rc::kOk)
                return Format("the value is not a number from %.*f to %.*f", decimals, low,
                              decimals, high);
            return "the value is not a number this modem accepts";
        default:
            if (setting.form == ProfileForm::Channel ||
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
        : c_(coordinator), set_(*coordinator.Settings().Parameters()) {}

    // 0, or the code of the edit that refused the value (`why` is then filled). `changed` says
    // how an applied value was stored in another form.
    int Apply(const ProfileSetting& setting, const std::string& raw, std::string& why,
              std::string& changed) {
        ModemParameter* parameter = set_.Get(setting.id);
        if (parameter == nullptr || !set_.IsAvailable(setting.id)) {
            why = "this modem does not have this setting";
            return rc::kNotAvailable;
        }
        const std::string value = setting.form == ProfileForm::Text ? raw : WithoutComment(raw);
        int code = rc::kOk;
        switch (setting.form) {
            case ProfileForm::Text: {
                TextRule rule;
                set_.GetTextRule(setting.id, rule);
                std::string text = value;
                if (!NormaliseText(rule, text, &why)) return rc::kInvalidDefinition;
                code = c_.Settings().SetText(setting.id, text);
                if (code == rc::kOk && text != Trim(value))
                    changed =
                        Format("stored as \"%s\": the %s is kept in upper case, without blanks",
                               text.c_str(), rule.name);
                break;
            }
            case ProfileForm::Flag: {
                bool flag = false;
                if (ParseYesNo(value, flag) != rc::kOk) return Unreadable(setting, why);
                code = c_.Settings().SetBool(setting.id, flag);
                break;
            }
            case ProfileForm::Real: {
                double number = 0.0;
                // An unused channel is shown empty.
                if (!(pid::IsChannelId(setting.id) && value.empty()) &&
                    parameter->ParseReal(value, number) != rc::kOk)
                    return Unreadable(setting, why);
                code = c_.Settings().SetReal(setting.id, number);
                break;
            }
            default: {
                int number = 0;
                if (!(setting.form == ProfileForm::Character &&
                      NamedCharacter(setting.id, value, number)) &&
                    parameter->ParseInt(value, number) != rc::kOk)
                    return Unreadable(setting, why);
                code = c_.Settings().SetInt(setting.id, number);
                break;
            }
        }
        if (code != rc::kOk) why = Refusal(code);
        return code;
    }

  private:
    int Unreadable(const ProfileSetting& setting, std::string& why) {
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
    CCoordinator& c_;
    ModemParameterSet& set_;
};

std::string WhyNotCarried(const std::string& key) {
    for (int id : ProfileIdentityIds())
        if (EqualsNoCase(ProfileKey(id), key))
            return "this identifies the modem; a profile never changes it";
    for (int id = 0; id < pid::kParameterCount; ++id)
        if (!ProfileKey(id).empty() && EqualsNoCase(ProfileKey(id), key))
            return "this is not a setting of the End User pages";
    return "this is not a setting this program knows";
}

}  // namespace

int ApplyProfile(CCoordinator& coordinator, const Profile& profile,
                 std::vector<RefusedEntry>& refused) {
    ModemParameterSet* set = coordinator.Settings().Parameters();
    if (set == nullptr) return rc::kMissingArgument;
    ProfileApplier applier(coordinator);

    // Each key once, in the order of the settings; what is left over is no user setting.
    std::vector<bool> used(profile.entries.size(), false);
    struct Applied {
        const ProfileSetting* setting;
        size_t entry;
        std::string shown;  // the value right after it was applied
    };
    std::vector<Applied> applied;
    std::vector<std::pair<const ProfileSetting*, size_t>> retry;
    // Refusals are reported in the order of the file.
    struct Note {
        bool noted = false;
        std::string why;
        bool applied = false;
    };
    std::vector<Note> notes(profile.entries.size());
    auto refuse = [&notes](size_t index, std::string reason, bool applied = false) {
        notes[index] = {true, std::move(reason), applied};
    };
    auto apply = [&](const ProfileSetting& setting, size_t index, bool lastTry) {
        std::string reason, changed;
        int code = applier.Apply(setting, profile.entries[index].second, reason, changed);
        if (code == rc::kZeroCurrentChannel && !lastTry) {
            retry.emplace_back(&setting, index);
        } else if (code != rc::kOk) {
            refuse(index, reason);
        } else {
            if (!changed.empty()) refuse(index, changed, true);
            std::string shown;
            ShownProfileValue(*set, setting, shown);
            applied.push_back({&setting, index, shown});
        }
    };
    for (const ProfileSetting& setting : ProfileSettings()) {
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
        ShownProfileValue(*set, *a.setting, now);
        if (now != a.shown)
            refuse(a.entry, Format("another setting's rule changed it to \"%s\"", now.c_str()));
    }
    for (size_t i = 0; i < notes.size(); ++i)
        if (notes[i].noted)
            refused.push_back({profile.entries[i].first, profile.entries[i].second, notes[i].why,
                               notes[i].applied});
    return rc::kOk;
}

}  // namespace vxl
