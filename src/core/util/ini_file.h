// INI files read the way the platform's private-profile functions read them: section and key
// names without regard to letter case, the value after the first '=' with surrounding blanks
// removed, at most bufferSize - 1 characters, and the default text when the file, the section
// or the key is missing. Lines that are neither sections nor keys are ignored. Text in UTF-16
// or with a UTF-8 byte-order mark, and lines ending in LF, CR LF or CR alone, all read alike.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace vxl {

std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& defaultText,
                              int bufferSize = 64);
// True when the file holds at least one [section] (false for a missing file).
bool ProfileHasSections(const std::string& path);

// Why `bytes` cannot be an INI file: they are not text (a zero byte, or no UTF-8 after the
// decoding above), or lines other than comments come before any [section]. Empty when they can.
std::string IniTextProblem(const std::string& bytes);

// An INI document in memory, kept in file order so that rewriting it changes only what was set.
class IniDocument {
  public:
    // Parses text; never fails (unreadable lines are ignored).
    static IniDocument Parse(const std::string& text);
    // Reads a file; a missing or unreadable file gives an empty document.
    static IniDocument Load(const std::string& path);

    // Returns true and the value when the key exists in the section.
    bool Get(const std::string& section, const std::string& key, std::string* value) const;
    void Set(const std::string& section, const std::string& key, const std::string& value);
    std::string ToText() const;
    size_t SectionCount() const { return sections_.size(); }

  private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    std::vector<Section> sections_;
};

}  // namespace vxl
