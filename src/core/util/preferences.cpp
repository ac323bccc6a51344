#include "util/preferences.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "util/format.h"
#include "util/ini_file.h"
#include "util/input_file.h"
#include "util/output_file.h"
#include "util/result_codes.h"

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

namespace {
// Far more than the few keys the program stores.
constexpr std::size_t kMaxPreferenceBytes = 1 << 20;
}  // namespace

std::string PreferenceStore::SetAsideIfUnusable() {
    std::string bytes;
    FileResult read = ReadInputFile(path_, kMaxPreferenceBytes, bytes);
    if (read.code == rc::kFileNotFound || read.code == rc::kFileEndOfFile) return std::string();
    std::string why = read.ok() ? IniTextProblem(bytes) : read.reason;
    if (why.empty()) return std::string();
    const std::string aside = path_ + ".bad";
    if (std::rename(path_.c_str(), aside.c_str()) != 0) {
        ignored_ = true;
        return Format(
            "The preferences file %s cannot be used (%s) and could not be renamed to %s "
            "(%s); the default settings are used.",
            path_.c_str(), why.c_str(), aside.c_str(), std::strerror(errno));
    }
    return Format(
        "The preferences file %s cannot be used (%s); it was renamed to %s and the "
        "default settings are used.",
        path_.c_str(), why.c_str(), aside.c_str());
}

int PreferenceStore::GetInt(const std::string& section, const std::string& key,
                            int defaultValue) const {
    std::string text;
    if (ignored_ || !IniDocument::Load(path_).Get(section, key, &text) || text.empty())
        return defaultValue;
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT_MIN || value > INT_MAX) return defaultValue;
    return static_cast<int>(value);
}

std::string PreferenceStore::GetText(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
    std::string text;
    if (ignored_ || !IniDocument::Load(path_).Get(section, key, &text)) return defaultValue;
    return text;
}

bool PreferenceStore::SetInt(const std::string& section, const std::string& key, int value) {
    return SetText(section, key, Format("%d", value));
}

bool PreferenceStore::SetText(const std::string& section, const std::string& key,
                              const std::string& value) {
    IniDocument doc = ignored_ ? IniDocument() : IniDocument::Load(path_);
    doc.Set(section, key, value);
    return WriteFileAtomically(path_, doc.ToText(), Folders::Create).ok();
}

PreferenceStore& Prefs() {
    static PreferenceStore store(PreferenceStore::DefaultPath());
    return Installed<PreferenceStore>::Get(store);
}

}  // namespace vxl
