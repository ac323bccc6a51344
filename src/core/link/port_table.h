// Port numbers (1 and up) and the serial devices they name. Built at start-up from the ports
// pinned in the preference store (section "Ports", keys "COM1", "COM2", ... holding a device
// path), then the serial devices the host has, numbered from the lowest free number on.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace vxl {

class PreferenceStore;

constexpr const char* kPortsSection = "Ports";
// Pinned keys are read from "COM1" up to this number.
constexpr int kHighestPinnedPort = 256;

struct PortEntry {
    int number = 0;
    std::string device;
    std::string description;
};

class PortTable {
  public:
    // The process's table.
    static PortTable& Instance();

    // Replaces the table by the ports pinned in `prefs` and the devices found on this host.
    void Build(const PreferenceStore& prefs);
    // Replaces the table: pinned entries keep their numbers (numbers below 1, empty paths and
    // repeated numbers are skipped); each detected device not already pinned gets the lowest
    // free number, in the given order. A pinned device that was also detected takes the
    // detected description.
    void BuildFrom(std::vector<PortEntry> pinned, std::vector<PortEntry> detected);

    // Adds the detected devices that are not listed yet, each with the lowest free number;
    // listed ports keep their numbers (a rescan must not renumber the stored port).
    void Merge(std::vector<PortEntry> detected);

    // The device path of port `number`; empty when the number is not in the table.
    std::string DevicePath(int number) const;
    // The number already listed for `path` (the same path, or a path naming the same device),
    // else the lowest free number, which is then listed for it. -1 for an empty path.
    int AssignDevice(const std::string& path);
    // Every entry, by number.
    std::vector<PortEntry> Entries() const;

  private:
    void MergeLocked(std::vector<PortEntry> detected);
    int FindDevice(const std::string& path) const;
    int LowestFreeNumber() const;
    void Insert(PortEntry entry);

    mutable std::mutex mutex_;
    std::vector<PortEntry> entries_;  // ordered by number
};

// The entries pinned in section "Ports" of the INI file at `path`.
std::vector<PortEntry> ReadPinnedPorts(const std::string& path);

}  // namespace vxl
