#include "link/port_table.h"

#include <cstdlib>
#include <memory>

#include "link/port_enumeration.h"
#include "util/format.h"
#include "util/ini_file.h"
#include "util/preferences.h"

namespace vxl {

namespace {

// The path with symbolic links resolved, so that a /dev/serial/by-id name and the tty it
// points to count as one device; the text itself when it does not resolve.
std::string CanonicalPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

bool SameDevice(const std::string& a, const std::string& b) {
    return a == b || CanonicalPath(a) == CanonicalPath(b);
}

}  // namespace

PortTable& PortTable::Instance() {
    static PortTable table;
    return table;
}

void PortTable::Build(const PreferenceStore& prefs) {
    BuildFrom(prefs.Usable() ? ReadPinnedPorts(prefs.Path()) : std::vector<PortEntry>(),
              DetectSerialPorts());
}

void PortTable::BuildFrom(std::vector<PortEntry> pinned, std::vector<PortEntry> detected) {
    std::lock_guard<std::mutex> guard(mutex_);
    entries_.clear();
    for (PortEntry& entry : pinned) {
        if (entry.number < 1 || entry.device.empty()) continue;
        bool taken = false;
        for (const PortEntry& existing : entries_) taken = taken || existing.number == entry.number;
        if (!taken) Insert(std::move(entry));
    }
    MergeLocked(std::move(detected));
}

void PortTable::Merge(std::vector<PortEntry> detected) {
    std::lock_guard<std::mutex> guard(mutex_);
    MergeLocked(std::move(detected));
}

void PortTable::MergeLocked(std::vector<PortEntry> detected) {
    for (PortEntry& entry : detected) {
        if (entry.device.empty()) continue;
        int index = FindDevice(entry.device);
        if (index >= 0) {
            if (entries_[index].description.empty())
                entries_[index].description = entry.description;
            continue;
        }
        entry.number = LowestFreeNumber();
        Insert(std::move(entry));
    }
}

std::string PortTable::DevicePath(int number) const {
    std::lock_guard<std::mutex> guard(mutex_);
    for (const PortEntry& entry : entries_) {
        if (entry.number == number) return entry.device;
    }
    return std::string();
}

int PortTable::AssignDevice(const std::string& path) {
    if (path.empty()) return -1;
    std::lock_guard<std::mutex> guard(mutex_);
    int index = FindDevice(path);
    if (index >= 0) return entries_[index].number;
    PortEntry entry;
    entry.number = LowestFreeNumber();
    entry.device = path;
    Insert(entry);
    return entry.number;
}

std::vector<PortEntry> PortTable::Entries() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return entries_;
}

int PortTable::FindDevice(const std::string& path) const {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (SameDevice(entries_[i].device, path)) return static_cast<int>(i);
    }
    return -1;
}

int PortTable::LowestFreeNumber() const {
    int number = 1;
    for (const PortEntry& entry : entries_) {
        if (entry.number > number) break;
        if (entry.number == number) ++number;
    }
    return number;
}

void PortTable::Insert(PortEntry entry) {
    auto at = entries_.begin();
    while (at != entries_.end() && at->number < entry.number) ++at;
    entries_.insert(at, std::move(entry));
}

std::vector<PortEntry> ReadPinnedPorts(const std::string& path) {
    IniDocument doc = IniDocument::Load(path);
    std::vector<PortEntry> pinned;
    for (int number = 1; number <= kHighestPinnedPort; ++number) {
        std::string device;
        if (!doc.Get(kPortsSection, Format("COM%d", number), &device)) continue;
        device = Trim(device);
        if (device.empty()) continue;
        PortEntry entry;
        entry.number = number;
        entry.device = device;
        pinned.push_back(entry);
    }
    return pinned;
}

}  // namespace vxl
