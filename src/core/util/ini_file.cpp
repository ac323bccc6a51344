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

}  // namespace

IniDocument IniDocument::Parse(const std::string& text) {
    IniDocument doc;
    std::istringstream in(text);
    std::string raw;
    Section* current = nullptr;
    while (std::getline(in, raw)) {
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
bool CachedGet(const std::string& path, const std::string& section, const std::string& key,
               std::string* value) {
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
    return cached.Get(section, key, value);
}

}  // namespace

std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& defaultText,
                              int bufferSize) {
    std::string value;
    if (!CachedGet(path, section, key, &value)) value = defaultText;
    return Cut(value, bufferSize);
}

namespace {
int MakeParents(const std::string& path) {
    for (size_t pos = path.find('/', 1); pos != std::string::npos; pos = path.find('/', pos + 1)) {
        std::string dir = path.substr(0, pos);
        if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    }
    return 0;
}
}  // namespace

int WriteFileAtomicallyError(const std::string& path, const std::string& text) {
    if (int err = MakeParents(path)) return err;
    std::string temp = path + Format(".tmp%ld", static_cast<long>(::getpid()));
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return errno != 0 ? errno : EIO;
    int err = 0;
    // The first failure counts; a step that fails without saying why is an I/O error.
    auto failed = [&err](bool bad) {
        if (bad && err == 0) err = errno != 0 ? errno : EIO;
    };
    errno = 0;
    failed(std::fwrite(text.data(), 1, text.size(), f) != text.size());
    failed(std::fflush(f) != 0);
    failed(::fsync(::fileno(f)) != 0);
    failed(std::fclose(f) != 0);
    if (err == 0) failed(std::rename(temp.c_str(), path.c_str()) != 0);
    if (err != 0) std::remove(temp.c_str());
    return err;
}

bool WriteFileAtomically(const std::string& path, const std::string& text) {
    return WriteFileAtomicallyError(path, text) == 0;
}

}  // namespace vxl
