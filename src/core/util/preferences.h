// The operator's per-user preferences: an INI file at
// $XDG_CONFIG_HOME/<company>/<program>.conf ($HOME/.config when unset), section "Settings".
// Every write goes through the atomic writer. A file that cannot be used is set aside at
// start-up (SetAsideIfUnusable) and the defaults are used.
#pragma once

#include "util/installed.h"

#include <string>

namespace vxl {

constexpr const char* kCompanyName = "Norvale Corporation";
constexpr const char* kProgramName = "vxlconf";
constexpr const char* kSettingsSection = "Settings";

// Keys of section "Settings" and their defaults.
constexpr const char* kPrefComPortNum = "ComPortNum";                    // -1
constexpr const char* kPrefCaptureMethod = "CaptureMethod";              // 3
constexpr const char* kPrefInstallDir = "InstallDir";                    // ""
constexpr const char* kPrefInitChannelTableDir = "InitChannelTableDir";  // ""
constexpr const char* kPrefInitFirmwareDir = "InitFirmwareDir";          // ""
constexpr const char* kPrefLastSerialNumber = "LastSerialNumber";        // -1
constexpr const char* kPrefLastFWRev = "LastFWRev";                      // ""

// Read the settings back after programming (the Settings menu's check item): 1 or 0.
constexpr const char* kPrefVerifyAfterProgramming = "VerifyAfterProgramming";  // 1

class PreferenceStore {
  public:
    explicit PreferenceStore(std::string path) : path_(std::move(path)) {}
    // The store's place for this user: $XDG_CONFIG_HOME or $HOME/.config, then company/program.
    static std::string DefaultPath(const std::string& company = kCompanyName,
                                   const std::string& program = kProgramName);

    // A missing key, or a value that is not a whole decimal number, gives the default.
    int GetInt(const std::string& section, const std::string& key, int defaultValue) const;
    std::string GetText(const std::string& section, const std::string& key,
                        const std::string& defaultValue) const;
    bool SetInt(const std::string& section, const std::string& key, int value);
    bool SetText(const std::string& section, const std::string& key, const std::string& value);

    // Shorthands for section "Settings".
    int GetInt(const std::string& key, int defaultValue) const {
        return GetInt(kSettingsSection, key, defaultValue);
    }
    std::string GetText(const std::string& key, const std::string& defaultValue) const {
        return GetText(kSettingsSection, key, defaultValue);
    }
    bool SetInt(const std::string& key, int value) { return SetInt(kSettingsSection, key, value); }
    bool SetText(const std::string& key, const std::string& value) {
        return SetText(kSettingsSection, key, value);
    }

    const std::string& Path() const { return path_; }

    // Checks the file: one that is not a file, cannot be read or holds no INI text is renamed to
    // <path>.bad, and from then on the defaults are used. Returns what to tell the operator
    // (which file, why, where it went); empty when the file is usable or absent.
    std::string SetAsideIfUnusable();
    // False when an unusable file could not be set aside: nothing is read from it.
    bool Usable() const { return !ignored_; }

  private:
    std::string path_;
    bool ignored_ = false;  // an unusable file that could not be set aside
};

// The preference store the program uses (opened at start-up); by default the store at
// DefaultPath().
PreferenceStore& Prefs();

using ScopedPrefs = Installed<PreferenceStore>::Scope;

}  // namespace vxl
