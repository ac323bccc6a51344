// The installation definitions file ("vxlconf.ini"): one section per modem family or model,
// one key per parameter, giving the factory defaults.
#pragma once

#include <string>

namespace vxl {

// The full path of the definitions file; the application sets it at start-up.
void SetDefinitionsPath(const std::string& path);
std::string DefinitionsPath();

// Installs a definitions path for the lifetime of this object.
class ScopedDefinitionsPath {
  public:
    explicit ScopedDefinitionsPath(const std::string& path);
    ~ScopedDefinitionsPath();
    ScopedDefinitionsPath(const ScopedDefinitionsPath&) = delete;
    ScopedDefinitionsPath& operator=(const ScopedDefinitionsPath&) = delete;

  private:
    std::string previous_;
};

// The section that holds the defaults of a modem: "QMX" for types 1..3, the model's name for
// type 4. Returns 0, 114 (type outside 0..5), 104 (model outside 0..6, or 6 on type 4) or 60
// (type 0 or 5).
int DefinitionSection(int modemType, int model, std::string& section);

// A value as read from the file, cleaned: cut at the first "#" that is not the first character,
// then trailing blanks removed.
std::string CleanDefinitionText(const std::string& raw);

// Looks up `key` for a modem: 0 and the cleaned value, 91 when the entry is missing or empty,
// 111 when the file cannot be opened, 109 when it holds no section at all, or
// DefinitionSection's code. `location` names the file
// ("File <%s>") or the file and section ("File <%s>   Section [%s]") that was searched.
int ReadDefinitionEntry(const std::string& key, int modemType, int model, std::string& value,
                        std::string& location);

}  // namespace vxl
