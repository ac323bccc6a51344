#include "util/ini_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>

#include "util/format.h"

namespace vxl {

namespace {

bool ReadWholeFile(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *text = buffer.str();
    return true;
}

std::string Cut(const std::string& text, int bufferSize) {
    if (bufferSize <= 0) return std::string();
    size_t room = static_cast<size_t>(bufferSize - 1);
    return text.size() > room ? text.substr(0, room) : text;
}

// Splits one line into a section name or a key and value; returns 0 for neither, 1 for a
// section, 2 for a key.
int ClassifyLine(const std::string& raw, std::string* name, std::string* value) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') return 0;
    if (line[0] == '[') {
        size_t close = line.find(']');
        if (close == std::string::npos) return 0;
        *name = Trim(line.substr(1, close - 1));
        return 1;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos) return 0;
    *name = Trim(line.substr(0, eq));
    if (name->empty()) return 0;
    *value = Trim(line.substr(eq + 1));
    return 2;
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string FromUtf16(const std::string& bytes, size_t start, bool bigEndian) {
    std::string out;
    auto unit = [&](size_t at) {
        const unsigned a = static_cast<unsigned char>(bytes[at]);
        const unsigned b = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    for (size_t at = start; at + 1 < bytes.size(); at += 2) {
        unsigned code = unit(at);
        if (code >= 0xD800 && code < 0xDC00 && at + 3 < bytes.size()) {
            const unsigned low = unit(at + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        AppendUtf8(out, code);
    }
    return out;
}

// Editors on other systems save INI files as UTF-16 (with or without a byte-order mark) or with
// a UTF-8 mark; all of them read as the same text.
std::string DecodeText(const std::string& bytes) {
    auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF)
        return bytes.substr(3);
    if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) return FromUtf16(bytes, 2, false);
    if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) return FromUtf16(bytes, 2, true);
    // Without a mark, ASCII text in UTF-16 has a zero in every other byte.
    if (bytes.size() >= 2 && at(0) != 0 && at(1) == 0) return FromUtf16(bytes, 0, false);
    if (bytes.size() >= 2 && at(0) == 0 && at(1) != 0) return FromUtf16(bytes, 0, true);
    return bytes;
}

// Lines end in LF, CR LF or a lone CR.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

std::string IniTextProblem(const std::string& bytes) {
    const std::string text = DecodeText(bytes);
    for (size_t at = 0; at < text.size();) {
        const size_t length = text[at] == '\0' ? 0 : Utf8Length(text, at);
        if (length == 0) return Format("is not a text file (byte %zu)", at + 1);
        at += length;
    }
    int number = 0;
    for (const std::string& raw : SplitLines(text)) {
        ++number;
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') break;
        return Format("line %d comes before any [section]", number);
    }
    return std::string();
}

IniDocument IniDocument::Parse(const std::string& bytes) {
    IniDocument doc;
    Section* current = nullptr;
    for (const std::string& raw : SplitLines(DecodeText(bytes))) {
        std::string name, value;
        switch (ClassifyLine(raw, &name, &value)) {
            case 1:
                doc.sections_.push_back(Section{name, {}});
                current = &doc.sections_.back();
                break;
            case 2:
                if (current) current->entries.push_back(Entry{name, value});
                break;
            default:
                break;
        }
    }
    return doc;
}

IniDocument IniDocument::Load(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, &text)) return IniDocument();
    return Parse(text);
}

bool IniDocument::Get(const std::string& section, const std::string& key,
                      std::string* value) const {
    for (const Section& s : sections_) {
        if (!EqualsNoCase(s.name, section)) continue;
        for (const Entry& e : s.entries) {
            if (EqualsNoCase(e.key, key)) {
                *value = e.value;
                return true;
            }
        }
    }
    return false;
}

void IniDocument::Set(const std::string& section, const std::string& key,
                      const std::string& value) {
    for (Section& s : sections_) {
        if (!EqualsNoCase(s.name, section)) continue;
        for (Entry& e : s.entries) {
            if (EqualsNoCase(e.key, key)) {
                e.value = value;
                return;
            }
        }
        s.entries.push_back(Entry{key, value});
        return;
    }
    sections_.push_back(Section{section, {Entry{key, value}}});
}

std::string IniDocument::ToText() const {
    std::string out;
    for (const Section& s : sections_) {
        if (!out.empty()) out += "\n";
        out += "[" + s.name + "]\n";
        for (const Entry& e : s.entries) out += e.key + "=" + e.value + "\n";
    }
    return out;
}

namespace {

// Loading all defaults looks up some twenty keys in the same file one after another; the
// parsed document is kept until the file changes (another inode, size or modification time).
// Runs `use` on the document of `path`; false when the file is missing.
template <typename Use>
bool WithCachedDocument(const std::string& path, Use use) {
    static std::mutex mutex;
    static std::string cachedPath;
    static struct stat cachedStat {};
    static IniDocument cached;
    std::lock_guard<std::mutex> lock(mutex);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        cachedPath.clear();
        return false;
    }
    bool same = path == cachedPath && st.st_ino == cachedStat.st_ino &&
                st.st_size == cachedStat.st_size &&
                st.st_mtim.tv_sec == cachedStat.st_mtim.tv_sec &&
                st.st_mtim.tv_nsec == cachedStat.st_mtim.tv_nsec;
    if (!same) {
        cached = IniDocument::Load(path);
        cachedPath = path;
        cachedStat = st;
    }
    use(cached);
    return true;
}

bool CachedGet(const std::string& path, const std::string& section, const std::string& key,
               std::string* value) {
    bool found = false;
    WithCachedDocument(path, [&](const IniDocument& doc) { found = doc.Get(section, key, value); });
    return found;
}

}  // namespace

bool ProfileHasSections(const std::string& path) {
    bool any = false;
    WithCachedDocument(path, [&](const IniDocument& doc) { any = doc.SectionCount() > 0; });
    return any;
}

std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& defaultText,
                              int bufferSize) {
    std::string value;
    if (!CachedGet(path, section, key, &value)) value = defaultText;
    return Cut(value, bufferSize);
}

}  // namespace vxl
