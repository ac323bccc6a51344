#include "coordinator/profile_file.h"

#include <sstream>

#include "coordinator/coordinator.h"
#include "modem/modem_base.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_ids.h"
#include "params/parameter_text.h"
#include "params/protocol_modes.h"
#include "util/format.h"
#include "util/ini_file.h"
#include "util/input_file.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

using F = ProfileForm;

// EOT character, count and time-out are one byte read three ways; the protocol mode decides
// which one the Serial Interface page shows, and only that one goes into a profile.
bool Carried(ModemParameterSet& set, const ProfileSetting& setting, const std::string& value) {
    const int id = setting.id;
    // A choice that names nothing (a stored value outside the choices) is not carried over.
    if (!set.IsAvailable(id) || (setting.form == F::Choice && value.empty())) return false;
    int mode = -1;
    set.GetInt(pid::kProtocolMode, mode);
    const protocol::EotSetting eot = protocol::EotSettingOf(mode);
    if (id == pid::kEOTCharacter) return eot == protocol::EotSetting::Character;
    if (id == pid::kEOTCount) return eot == protocol::EotSetting::Count;
    return true;
}

}  // namespace

const std::vector<ProfileSetting>& ProfileSettings() {
    static const std::vector<ProfileSetting> settings = [] {
        std::vector<ProfileSetting> list = {
            {pid::kProtocolMode, F::Choice},  {pid::kModulationType, F::Choice},
            {pid::kLinkRate, F::Choice},      {pid::kBaudRate, F::Choice},
            {pid::kParity, F::Choice},        {pid::kBREAKtoCommand, F::Flag},
            {pid::kRepeater, F::Flag},        {pid::kEOTCharacter, F::Character},
            {pid::kEOTCount, F::Choice},      {pid::kDigipeaterDelay, F::Real},
            {pid::kDigisquelch, F::Choice},   {pid::kTransmitRetries, F::Choice},
            {pid::kTxAckTimeout, F::Real},    {pid::kLocalAddress, F::Choice},
            {pid::kRemoteAddress, F::Choice}, {pid::kForwardErrorCorrection, F::Flag},
            {pid::kScrambling, F::Flag},      {pid::kCSMAMonitor, F::Flag},
            {pid::kOwner, F::Text},           {pid::kCallSign, F::Text},
        };
        for (int k = 0; k < pid::kChannelCount; ++k) {
            list.push_back({pid::RxChannelId(k), F::Real});
            list.push_back({pid::TxChannelId(k), F::Real});
        }
        list.push_back({pid::kCurrentChannel, F::Channel});
        return list;
    }();
    return settings;
}

const std::vector<int>& ProfileIdentityIds() {
    static const std::vector<int> ids = {pid::kSerialNumber, pid::kModel, pid::kFrequency,
                                         pid::kPower, pid::kFirmwareRevision};
    return ids;
}

bool ShownProfileValue(ModemParameterSet& set, const ProfileSetting& setting, std::string& value) {
    value.clear();
    if (setting.form == F::Channel) {
        int channel = 0;
        if (set.GetInt(setting.id, channel) != rc::kOk) return false;
        value = Format("%d", channel);
        return true;
    }
    return set.GetText(setting.id, value) == rc::kOk;
}

std::string ProfileKey(int id) {
    if (pid::IsChannelId(id))
        return Format(pid::IsRxChannelId(id) ? "RXChannel_%d" : "TXChannel_%d",
                      pid::ChannelOfId(id));
    const ParameterInfo* info = CatalogueInfo(id);
    return info != nullptr && info->key != nullptr ? info->key : "";
}

bool BuildProfile(CCoordinator& coordinator, std::string& text) {
    ModemParameterSet* set = coordinator.Settings().Parameters();
    if (set == nullptr) return false;
    std::string model;
    set->GetText(pid::kModel, model);
    std::string firmware;
    set->GetText(pid::kFirmwareRevision, firmware);
    if (firmware.empty() && coordinator.Session().GetModem())
        firmware = Format("%3.2f", coordinator.Session().GetModem()->GetFirmwareRevision());
    text =
        Format("; vxlconf settings profile of modem %s (%s, firmware %s)\n",
               coordinator.Settings().SerialNumberText().c_str(), model.c_str(), firmware.c_str());
    text += "[" + (model.empty() ? std::string("Profile") : model) + "]\n";
    for (const ProfileSetting& setting : ProfileSettings()) {
        std::string value;
        if (!ShownProfileValue(*set, setting, value) || !Carried(*set, setting, value)) continue;
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
    if (const int code = ReadInputFile(path, kMaxProfileBytes, text, reason)) return code;
    return ParseProfile(text, profile, reason);
}

}  // namespace vxl
