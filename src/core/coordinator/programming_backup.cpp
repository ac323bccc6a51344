// Backups of what the modem holds (before every Program, and on demand) and restoring a backup
// into the working settings.
#include <cstring>

#include "backup/backup_store.h"
#include "coordinator/modem_programming.h"
#include "coordinator/modem_session.h"
#include "coordinator/working_settings.h"
#include "modem/modem_base.h"
#include "params/model_tables.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "util/clock.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr int kSerialNumberAddress = 0x106;
constexpr size_t kModelByteIndex = 0x0A;
// Unlock key with power and bandwidth (0x100..0x105), serial number, model and band (0x10A).
constexpr int kIdentityBytes = 11;
constexpr const char* kNothingToBackUp = "This modem has no settings to back up.";

uint32_t SerialNumberOf(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
}

// A serial-number text as a number; ~0 when it holds anything but digits.
uint32_t SerialNumberOf(const std::string& text) {
    if (text.empty() || text.size() > 10) return ~0u;
    unsigned long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return ~0u;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value > 0xFFFFFFFEull ? ~0u : static_cast<uint32_t>(value);
}

bool HoldsSerialNumber(const ModemMemoryImage& image) {
    return image.GetMainSize() >= kSerialNumberAddress + 4 - image.GetBaseAddress();
}

size_t SerialIndex(const ModemMemoryImage& image) {
    return static_cast<size_t>(kSerialNumberAddress - image.GetBaseAddress());
}

}  // namespace

void ModemProgramming::DescribeBackup(const ModemMemoryImage& image, BackupImage& backup) const {
    BackupHeader& h = backup.header;
    // The serial number the modem holds names the folder, whatever the pages show.
    h.serialNumber = Format("%08u", SerialNumberOf(&backup.bytes[SerialIndex(image)]));
    h.model.clear();
    if (ModemParameterSet* parameters = settings_.Parameters()) {
        parameters->GetText(pid::kModel, h.model);
    } else if (image.GetModemType() == kModemTypeVxl) {
        const char* name = Type4ModelName((backup.bytes[kModelByteIndex] >> 4) & 7);
        h.model = name ? name : "";
    }
    h.firmware = image.GetFirmwareRevisionText();
    h.mainSize = image.GetMainSize();
    h.extensionSize = image.GetExtensionSize();
    h.modemType = image.GetModemType();
    h.time = GetClock().WallSeconds();
}

bool ModemProgramming::MakeBackup(BackupImage& backup) const {
    if (held_ == nullptr || !HoldsSerialNumber(*held_)) return false;
    backup.bytes = held_->ConfigurationBytes();
    DescribeBackup(*held_, backup);
    return true;
}

int ModemProgramming::NoBackup(const char* why) {
    programNote_ = why;
    return rc::kBackupFailed;
}

int ModemProgramming::WriteBackup(const BackupImage& backup) {
    std::string path;
    const FileResult saved = SaveBackup(backupRoot_, backup, path);
    if (!saved.ok()) {
        programNote_ = Format(
            "The modem's settings could not be backed up to %s: %s.\nNothing was written to the "
            "modem. Free some disk space or make the folder writable, then program again.",
            BackupFolder(backupRoot_, backup.header.serialNumber).c_str(), saved.reason.c_str());
        return rc::kBackupFailed;
    }
    lastBackupPath_ = path;
    return rc::kOk;
}

int ModemProgramming::BackUpModem(std::string& responseText) {
    programNote_.clear();
    lastBackupPath_.clear();
    if (session_.GetModem() == nullptr) return rc::kNoPort;
    BackupImage backup;
    if (held_ != nullptr) {
        if (!MakeBackup(backup)) return NoBackup(kNothingToBackUp);
        return WriteBackup(backup);
    }
    // Attached without a load: the settings are read for the backup.
    ModemMemoryImage layout;
    layout.Initialise(session_.GetModem());
    if (!HoldsSerialNumber(layout)) return NoBackup(kNothingToBackUp);
    if (ReadAddresses(layout.ConfigurationAddresses(), "Backing Up Modem",
                      "Reading the settings for a backup", responseText, backup.bytes) != rc::kOk)
        return NoBackup(
            "The modem's settings could not be read for a backup. Load the modem "
            "again, then retry.");
    DescribeBackup(layout, backup);
    return WriteBackup(backup);
}

int ModemProgramming::RestoreBackup(const BackupImage& backup, bool force, std::string& reason) {
    reason.clear();
    const ModemMemoryImage* working = settings_.Image();
    if (!settings_.IsLoaded() || working == nullptr || held_ == nullptr)
        return rc::kMissingArgument;
    const BackupHeader& h = backup.header;
    const int main = working->GetMainSize();
    const int extension = working->GetExtensionSize();
    if (h.modemType != working->GetModemType() || h.mainSize != main ||
        h.extensionSize != extension ||
        backup.bytes.size() != static_cast<size_t>(main + extension)) {
        reason = Format(
            "The backup holds %d + %d bytes of a type %d modem; this modem has %d + %d bytes and "
            "is of type %d.",
            h.mainSize, h.extensionSize, h.modemType, main, extension, working->GetModemType());
        return rc::kBackupRefused;
    }
    const std::vector<uint8_t> held = held_->ConfigurationBytes();
    const size_t serialIndex = SerialIndex(*working);
    const uint32_t ours = SerialNumberOf(&held[serialIndex]);
    const bool otherModem = SerialNumberOf(&backup.bytes[serialIndex]) != ours ||
                            SerialNumberOf(h.serialNumber) != ours;
    if (otherModem && !force) {
        reason = Format(
            "The backup belongs to the modem with serial number %s, not to this "
            "modem (%08u).",
            h.serialNumber.c_str(), ours);
        return rc::kBackupRefused;
    }
    std::vector<uint8_t> bytes = backup.bytes;
    if (otherModem) std::copy(held.begin(), held.begin() + kIdentityBytes, bytes.begin());
    const int result = settings_.ReplaceBytes(bytes);
    // A backup is restored to put the modem back into a known state: every byte is written.
    if (result == rc::kOk) uncertain_ = true;
    return result;
}

}  // namespace vxl
