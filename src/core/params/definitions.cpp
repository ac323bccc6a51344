#include "params/definitions.h"

#include <fstream>

#include "params/model_tables.h"
#include "params/modem_types.h"
#include "util/format.h"
#include "util/ini_file.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

// Values longer than 63 characters are cut, as the platform's profile reading cuts them.
constexpr int kValueBufferSize = 64;

std::string& PathStore() {
    static std::string path = "vxlconf.ini";
    return path;
}

// Opening succeeds for a folder too; the first read tells them apart.
bool CanRead(const std::string& path) {
    std::ifstream file(path);
    if (!file.is_open()) return false;
    file.peek();
    return !file.bad();
}

}  // namespace

void SetDefinitionsPath(const std::string& path) {
    PathStore() = path;
}
std::string DefinitionsPath() {
    return PathStore();
}

ScopedDefinitionsPath::ScopedDefinitionsPath(const std::string& path)
    : previous_(DefinitionsPath()) {
    SetDefinitionsPath(path);
}
ScopedDefinitionsPath::~ScopedDefinitionsPath() {
    SetDefinitionsPath(previous_);
}

int DefinitionSection(int modemType, int model, std::string& section) {
    if (modemType < 0 || modemType > 5) return rc::kBadModemType;
    if (model < 0 || model > 6) return rc::kBadModel;
    if (IsQmxType(modemType)) {
        section = "QMX";
        return rc::kOk;
    }
    if (modemType != kModemTypeVxl) return rc::kBadModemTypeForLayout;
    const char* name = Type4ModelName(model);
    if (name == nullptr) return rc::kBadModel;
    section = name;
    return rc::kOk;
}

std::string CleanDefinitionText(const std::string& raw) {
    std::string text = raw;
    size_t hash = text.find('#', 1);
    if (hash != std::string::npos) text.erase(hash);
    size_t last = text.find_last_not_of(" \t\r\n");
    text.erase(last == std::string::npos ? 0 : last + 1);
    return text;
}

int ReadDefinitionEntry(const std::string& key, int modemType, int model, std::string& value,
                        std::string& location) {
    std::string section;
    int code = DefinitionSection(modemType, model, section);
    if (code != rc::kOk) return code;
    const std::string path = DefinitionsPath();
    if (!CanRead(path)) {
        location = Format("File <%s>", path.c_str());
        return rc::kCannotOpenIni;
    }
    // A file that is there but holds no section at all cannot be a definitions file: the
    // built-in values must not stand in for it unnoticed.
    if (!ProfileHasSections(path)) {
        location = Format("File <%s> holds no [section]", path.c_str());
        return rc::kBadIni;
    }
    std::string raw = ReadProfileString(path, section, key, "", kValueBufferSize);
    location = Format("File <%s>   Section [%s]", path.c_str(), section.c_str());
    if (raw.empty()) {
        value.clear();
        return rc::kNoDefinition;
    }
    value = CleanDefinitionText(raw);
    return rc::kOk;
}

}  // namespace vxl
