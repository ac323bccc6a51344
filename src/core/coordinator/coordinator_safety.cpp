// Backups before programming, the read-back after it, and restoring a backup into the working
// image.
#include <cstdlib>
#include <cstring>

#include "backup/backup_store.h"
#include "coordinator/coordinator.h"
#include "modem/command_frame.h"
#include "modem/modem_base.h"
#include "params/model_tables.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "ui/operator.h"
#include "util/clock.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace pid = vxl::pid;
namespace rc = vxl::rc;

namespace {

constexpr int kSerialNumberAddress = 0x106;
constexpr size_t kModelByteIndex = 0x0A;
// Unlock key with power and bandwidth (0x100..0x105), serial number, model and band (0x10A).
constexpr int kIdentityBytes = 11;

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

std::vector<uint8_t> BytesOf(const ModemMemoryImage& image) {
    const int main = image.GetMainSize();
    const int extension = image.GetExtensionSize();
    std::vector<uint8_t> bytes(static_cast<size_t>(main + extension), 0);
    image.ReadBytes(image.GetBaseAddress(), main, bytes.data());
    if (extension > 0)
        image.ReadBytes(ModemMemoryImage::kExtensionAddress, extension, bytes.data() + main);
    return bytes;
}

}  // namespace

std::string CCoordinator::GetSerialNumberText() const {
    std::string text;
    if (parameters_ == nullptr || parameters_->GetText(pid::kSerialNumber, text) != rc::kOk)
        return std::string();
    return text;
}

void CCoordinator::DescribeBackup(const ModemMemoryImage& image, vxl::BackupImage& backup) const {
    vxl::BackupHeader& h = backup.header;
    // The serial number the modem holds names the folder, whatever the pages show.
    const size_t serialIndex = static_cast<size_t>(kSerialNumberAddress - image.GetBaseAddress());
    h.serialNumber = vxl::Format("%08u", SerialNumberOf(&backup.bytes[serialIndex]));
    h.model.clear();
    if (parameters_ != nullptr) {
        parameters_->GetText(pid::kModel, h.model);
    } else if (image.GetModemType() == vxl::kModemTypeVxl) {
        const char* name = vxl::Type4ModelName((backup.bytes[kModelByteIndex] >> 4) & 7);
        h.model = name ? name : "";
    }
    h.firmware = image.GetFirmwareRevisionText();
    h.mainSize = image.GetMainSize();
    h.extensionSize = image.GetExtensionSize();
    h.modemType = image.GetModemType();
    h.time = vxl::GetClock().WallSeconds();
}

bool CCoordinator::MakeBackup(vxl::BackupImage& backup) const {
    const ModemMemoryImage* image = programmedImage_.get();
    if (image == nullptr || !HoldsSerialNumber(*image)) return false;
    backup.bytes = BytesOf(*image);
    DescribeBackup(*image, backup);
    return true;
}

int CCoordinator::NoBackup(const char* why) {
    programNote_ = why;
    return rc::kBackupFailed;
}

int CCoordinator::WriteBackup(const vxl::BackupImage& backup) {
    std::string path;
    const int err = vxl::SaveBackup(backupRoot_, backup, path);
    if (err != 0) {
        programNote_ = vxl::Format(
            "The modem's settings could not be backed up to %s: %s.\nNothing was written to the "
            "modem. Free some disk space or make the folder writable, then program again.",
            vxl::BackupFolder(backupRoot_, backup.header.serialNumber).c_str(), std::strerror(err));
        return rc::kBackupFailed;
    }
    lastBackupPath_ = path;
    return rc::kOk;
}

int CCoordinator::BackUpModem(std::string& responseText) {
    programNote_.clear();
    lastBackupPath_.clear();
    if (modem_ == nullptr) return rc::kNoPort;
    vxl::BackupImage backup;
    if (programmedImage_ != nullptr) {
        if (!MakeBackup(backup)) return NoBackup("This modem has no settings to back up.");
        return WriteBackup(backup);
    }
    // Attached without a load: the settings are read for the backup.
    ModemMemoryImage layout;
    layout.Initialise(modem_.get());
    if (!HoldsSerialNumber(layout)) return NoBackup("This modem has no settings to back up.");
    if (ReadConfiguration(layout, "Backing Up Modem", "Reading the settings for a backup",
                          responseText, backup.bytes) != rc::kOk)
        return NoBackup(
            "The modem's settings could not be read for a backup. Load the modem "
            "again, then retry.");
    DescribeBackup(layout, backup);
    return WriteBackup(backup);
}

// Reads the N + E configuration bytes from the addresses they are written to (the extension
// follows the main block). Each read may wait as long as any single read: a late reply must not
// pass for a difference or a failure, and a prompt one ends the wait at once.
int CCoordinator::ReadConfiguration(const ModemMemoryImage& layout, const char* title,
                                    const char* what, std::string& responseText,
                                    std::vector<uint8_t>& bytes) {
    const int total = layout.GetMainSize() + layout.GetExtensionSize();
    bytes.assign(static_cast<size_t>(total), 0);
    std::unique_ptr<vxl::ProgressWindow> window = vxl::Ui().OpenProgress(title, {what}, false);
    if (window) {
        window->SetRange(0, total);
        window->ShowBar(true);
    }
    for (int i = 0; i < total; ++i) {
        int result =
            modem_->ReadMemoryLocation(responseText, bytes[static_cast<size_t>(i)],
                                       layout.GetBaseAddress() + i, vxl::polls::kSingleRead);
        if (result != rc::kOk) return result;
        if (window) window->StepIt();
    }
    return rc::kOk;
}

int CCoordinator::ReadBack(const ModemMemoryImage& written, std::string& responseText,
                           int& differing, int& firstAddress) {
    differing = 0;
    firstAddress = 0;
    const std::vector<uint8_t> expected = BytesOf(written);
    std::vector<uint8_t> held;
    int result = ReadConfiguration(written, "Verifying Modem",
                                   "Reading the settings back from the modem", responseText, held);
    if (result != rc::kOk) return result;
    for (size_t i = 0; i < expected.size(); ++i)
        if (held[i] != expected[i] && differing++ == 0)
            firstAddress = written.GetBaseAddress() + static_cast<int>(i);
    return rc::kOk;
}

int CCoordinator::Verify(std::string& responseText) {
    int differing = 0;
    int first = 0;
    int result = ReadBack(*working_, responseText, differing, first);
    if (result != rc::kOk) {
        unverified_ = true;
        programNote_ =
            "The settings could not be read back for verification: whether the modem holds them "
            "is unknown. Load the modem again to check.";
        return result;
    }
    if (differing == 0) return rc::kOk;
    unverified_ = true;
    programNote_ = vxl::Format(
        "Verification failed: %d bytes differ, first at 0x%04X\nThe modem does not hold the new "
        "settings. Program it again.",
        differing, first);
    return rc::kVerifyFailed;
}

// A write or commit whose reply was lost may still have reached the modem: reading the settings
// back before reporting tells the operator where the modem stands. Reads show the modem's
// memory, committed or not, so only a commit whose answer alone was lost can have stored them;
// the changes stay pending in every case, and programming again is always safe.
void CCoordinator::ExplainFailedProgram(int code, bool committing) {
    int differing = 0;
    int first = 0;
    std::string status;
    if (ReadBack(*working_, status, differing, first) != rc::kOk) {
        programNote_ =
            "The settings could not be read back from the modem: whether it holds the new "
            "settings is unknown. Load it again to check.";
    } else if (differing > 0) {
        programNote_ = vxl::Format(
            "Reading the settings back shows that the modem does not hold the new settings (%d "
            "bytes differ, first at 0x%04X). Program it again.",
            differing, first);
    } else if (committing && std::abs(code) == rc::kTimeout) {
        programNote_ =
            "Reading the settings back shows that the modem holds the new settings; only its "
            "answer to the commit was lost. Program it again to be sure they are stored.";
    } else {
        programNote_ =
            "The modem holds the new settings in its memory but did not confirm storing them: it "
            "returns to its previous settings when it restarts. Program it again.";
    }
}

int CCoordinator::RestoreBackup(const vxl::BackupImage& backup, bool force, std::string& reason) {
    reason.clear();
    if (parameters_ == nullptr || programmedImage_ == nullptr) return rc::kMissingArgument;
    const vxl::BackupHeader& h = backup.header;
    const int main = working_->GetMainSize();
    const int extension = working_->GetExtensionSize();
    if (h.modemType != working_->GetModemType() || h.mainSize != main ||
        h.extensionSize != extension ||
        backup.bytes.size() != static_cast<size_t>(main + extension)) {
        reason = vxl::Format(
            "The backup holds %d + %d bytes of a type %d modem; this modem has %d + %d bytes and "
            "is of type %d.",
            h.mainSize, h.extensionSize, h.modemType, main, extension, working_->GetModemType());
        return rc::kBackupRefused;
    }
    const std::vector<uint8_t> held = BytesOf(*programmedImage_);
    const int serialIndex = kSerialNumberAddress - working_->GetBaseAddress();
    const uint32_t ours = SerialNumberOf(&held[static_cast<size_t>(serialIndex)]);
    const bool otherModem =
        SerialNumberOf(&backup.bytes[static_cast<size_t>(serialIndex)]) != ours ||
        SerialNumberOf(h.serialNumber) != ours;
    if (otherModem && !force) {
        reason = vxl::Format(
            "The backup belongs to the modem with serial number %s, not to this "
            "modem (%08u).",
            h.serialNumber.c_str(), ours);
        return rc::kBackupRefused;
    }
    std::vector<uint8_t> bytes = backup.bytes;
    if (otherModem) std::copy(held.begin(), held.begin() + kIdentityBytes, bytes.begin());
    int result = working_->WriteBytes(working_->GetBaseAddress(), main, bytes.data());
    if (result == rc::kOk && extension > 0)
        result = working_->WriteBytes(ModemMemoryImage::kExtensionAddress, extension,
                                      bytes.data() + main);
    if (result != rc::kOk) return result;
    ReloadDefinitions();
    RefreshPages();
    UpdateDialog();
    return rc::kOk;
}
