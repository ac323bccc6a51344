#include "util/preferences.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "util/format.h"
#include "util/ini_file.h"

namespace vxl {

std::string PreferenceStore::DefaultPath(const std::string& company, const std::string& program) {
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : ".") + "/.config";
    }
    return base + "/" + company + "/" + program + ".conf";
}

int PreferenceStore::GetInt(const std::string& section, const std::string& key,
                            int defaultValue) const {
    std::string text;
    if (!IniDocument::Load(path_).Get(section, key, &text) || text.empty()) return defaultValue;
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT_MIN || value > INT_MAX) return defaultValue;
    return static_cast<int>(value);
}

std::string PreferenceStore::GetText(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
    std::string text;
    if (!IniDocument::Load(path_).Get(section, key, &text)) return defaultValue;
    return text;
}

bool PreferenceStore::SetInt(const std::string& section, const std::string& key, int value) {
    return SetText(section, key, Format("%d", value));
}

bool PreferenceStore::SetText(const std::string& section, const std::string& key,
                              const std::string& value) {
    IniDocument doc = IniDocument::Load(path_);
    doc.Set(section, key, value);
    return WriteFileAtomically(path_, doc.ToText());
}

PreferenceStore& Prefs() {
    static PreferenceStore store(PreferenceStore::DefaultPath());
    return Installed<PreferenceStore>::Get(store);
}

}  // namespace vxl
