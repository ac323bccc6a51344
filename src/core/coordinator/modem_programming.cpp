// Programming the working settings into the modem, the read-back after it, and what the modem
// is known to hold.
#include "coordinator/modem_programming.h"

#include <algorithm>
#include <cstdlib>

#include "backup/backup_file.h"
#include "backup/backup_store.h"
#include "coordinator/modem_session.h"
#include "coordinator/working_settings.h"
#include "modem/command_exchange.h"
#include "modem/command_frame.h"
#include "modem/modem_base.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "ui/operator.h"
#include "ui/progress_steps.h"
#include "util/format.h"
#include "util/preferences.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr const char* kEtsCaption = "Warning!!!";
constexpr const char* kEtsText =
    "Operation of 2 Watt 4LVFSK Modulation has not been approved for use under ETS 300 113.";

// "KTR LP Base" at 2 W in the 10 MHz sub-bands (Frequency 4..9) needs the operator's consent.
constexpr int kEtsModel = 3;
constexpr int kEtsPower = 1;
constexpr int kEtsFirstRange = 4;
constexpr int kEtsLastRange = 9;

}  // namespace

ModemProgramming::ModemProgramming(ModemSession& session, WorkingSettings& settings)
    : session_(session), settings_(settings), backupRoot_(DefaultBackupRoot()) {}

ModemProgramming::~ModemProgramming() = default;

void ModemProgramming::Init() {
    verify_ = Prefs().GetInt(kPrefVerifyAfterProgramming, 1) != 0;
}

void ModemProgramming::SetVerifyAfterProgramming(bool on, bool remember) {
    verify_ = on;
    if (remember) Prefs().SetInt(kPrefVerifyAfterProgramming, on ? 1 : 0);
}

void ModemProgramming::Remember(std::unique_ptr<ModemMemoryImage> image) {
    held_ = std::move(image);
    unverified_ = false;
    uncertain_ = held_ == nullptr || !held_->ChecksumMatched();
    storedOtherwise_ = held_ ? held_->RunningValuesNotStored() : std::vector<int>();
    programmed_ = false;
}

void ModemProgramming::Forget() {
    held_.reset();
    unverified_ = false;
    uncertain_ = true;
    storedOtherwise_.clear();
}

void ModemProgramming::Released() {
    Forget();
    programmed_ = false;
}

bool ModemProgramming::HasPendingChanges() const {
    const ModemMemoryImage* working = settings_.Image();
    if (working == nullptr) return false;
    if (unverified_) return true;
    return held_ == nullptr || !working->Equals(*held_);
}

bool ModemProgramming::AsksEtsQuestion() const {
    ModemParameterSet& set = *settings_.Parameters();
    const int frequency = set.IntOr(pid::kFrequency);
    return set.IntOr(pid::kPower) == kEtsPower && frequency >= kEtsFirstRange &&
           frequency <= kEtsLastRange && set.IntOr(pid::kModel) == kEtsModel;
}

int ModemProgramming::Program(std::string& responseText) {
    if (!settings_.IsLoaded() || session_.GetModem() == nullptr) return rc::kMissingArgument;
    if (AsksEtsQuestion()) {
        MsgAnswer answer = Ui().MessageBox(kEtsText, kEtsCaption, MsgIcon::Exclamation,
                                           MsgButtons::ContinueCancel);
        if (answer != MsgAnswer::Continue) return rc::kOk;
    }
    session_.ForgetLostDevice();
    return session_.ExplainFailure(ProgramImage(responseText), responseText);
}

std::vector<int> ModemProgramming::AddressesToWrite() const {
    const ModemMemoryImage* working = settings_.Image();
    if (working == nullptr) return {};
    std::vector<int> addresses = working->ConfigurationAddresses();
    if (fullWrite_ || uncertain_ || held_ == nullptr ||
        held_->GetMainSize() != working->GetMainSize() ||
        held_->GetExtensionSize() != working->GetExtensionSize())
        return addresses;
    const std::vector<uint8_t> now = working->ConfigurationBytes();
    const std::vector<uint8_t> held = held_->ConfigurationBytes();
    const int checksum = working->ChecksumAddress();
    const auto alwaysWritten = [this, checksum](int address) {
        return address == checksum || std::find(storedOtherwise_.begin(), storedOtherwise_.end(),
                                                address) != storedOtherwise_.end();
    };
    std::vector<int> differing;
    for (size_t i = 0; i < addresses.size(); ++i)
        if (now[i] != held[i] || alwaysWritten(addresses[i])) differing.push_back(addresses[i]);
    return differing;
}

// The modem holds the new settings only once the commit has succeeded (and, with verification
// on, once they have been read back): until then the changes still count as not programmed, and
// a retry writes the whole image, since part of it may have reached the modem.
int ModemProgramming::ProgramImage(std::string& responseText) {
    programNote_.clear();
    stored_ = false;
    lastBackupPath_.clear();
    // The demo modem is no modem: it has nothing worth a backup.
    if (session_.GetLink() != nullptr) {
        BackupImage backup;
        int result = MakeBackup(backup) ? WriteBackup(backup)
                                        : NoBackup("This modem has no settings to back up.");
        if (result != rc::kOk) return result;
    }
    CModemBase& modem = *session_.GetModem();
    const ModemMemoryImage& working = *settings_.Image();
    const std::vector<int> addresses = AddressesToWrite();
    bool committing = false;
    int result = modem.WriteMemoryImage(responseText, working, addresses);
    if (result == rc::kOk) {
        committing = true;
        result = modem.Program(responseText);
    }
    if (result != rc::kOk) {
        uncertain_ = true;
        ExplainFailedProgram(addresses, committing,
                             committing && ReplyRefused(rules::kProgram, responseText));
        return result;
    }
    stored_ = true;
    if (verify_) {
        result = Verify(addresses, responseText);
        if (result != rc::kOk) {
            uncertain_ = true;
            return result;
        }
    }
    held_ = working.Clone();
    programmed_ = true;
    unverified_ = false;
    uncertain_ = false;
    storedOtherwise_.clear();
    return rc::kOk;
}

// Reads the bytes at `addresses` (configuration addresses: the extension follows the main
// block). Each read may wait as long as any single read: a late reply must not pass for a
// difference or a failure, and a prompt one ends the wait at once.
int ModemProgramming::ReadAddresses(const std::vector<int>& addresses, const char* title,
                                    const char* what, std::string& responseText,
                                    std::vector<uint8_t>& bytes) {
    bytes.assign(addresses.size(), 0);
    std::unique_ptr<ProgressWindow> window = Ui().OpenProgress(title, {what}, false);
    if (window) window->ShowBar(true);
    HundredthSteps steps(window.get(), static_cast<int>(addresses.size()));
    CModemBase& modem = *session_.GetModem();
    for (size_t i = 0; i < addresses.size(); ++i) {
        int result =
            modem.ReadMemoryLocation(responseText, bytes[i], addresses[i], polls::kSingleRead);
        if (result != rc::kOk) return result;
        steps.Done(static_cast<int>(i + 1));
    }
    return rc::kOk;
}

int ModemProgramming::ReadBack(const ModemMemoryImage& written, const std::vector<int>& addresses,
                               std::string& responseText, int& differing, int& firstAddress) {
    differing = 0;
    firstAddress = 0;
    std::vector<uint8_t> held;
    int result = ReadAddresses(addresses, "Verifying Modem",
                               "Reading the settings back from the modem", responseText, held);
    if (result != rc::kOk) return result;
    for (size_t i = 0; i < addresses.size(); ++i) {
        uint8_t expected = 0;
        written.ReadBytes(addresses[i], 1, &expected);
        if (held[i] != expected && differing++ == 0) firstAddress = addresses[i];
    }
    return rc::kOk;
}

int ModemProgramming::Verify(const std::vector<int>& addresses, std::string& responseText) {
    int differing = 0;
    int first = 0;
    int result = ReadBack(*settings_.Image(), addresses, responseText, differing, first);
    if (result != rc::kOk) {
        unverified_ = true;
        programNote_ =
            "The modem stored the new settings, but reading them back to verify them failed. "
            "Load the modem again to check them.";
        return result;
    }
    if (differing == 0) return rc::kOk;
    unverified_ = true;
    programNote_ = Format(
        "Verification failed: %d bytes differ, first at 0x%04X\nThe modem does not hold the new "
        "settings. Program it again.",
        differing, first);
    return rc::kVerifyFailed;
}

// A write or commit whose reply was lost may still have reached the modem: reading the settings
// back before reporting tells the operator where the modem stands. Reads show the modem's
// memory, stored or not: when it holds the new settings, only the answer to the command that
// stores them tells whether it did; a modem that did not returns to its previous settings when
// it restarts. The changes stay pending in every case, and programming again is always safe.
void ModemProgramming::ExplainFailedProgram(const std::vector<int>& addresses, bool committing,
                                            bool commitRefused) {
    int differing = 0;
    int first = 0;
    std::string status;
    if (ReadBack(*settings_.Image(), addresses, status, differing, first) != rc::kOk) {
        programNote_ =
            "The settings could not be read back from the modem: whether it holds the new "
            "settings is unknown. Load it again to check.";
    } else if (differing > 0) {
        programNote_ = Format(
            "Reading the settings back shows that the modem does not hold the new settings (%d "
            "bytes differ, first at 0x%04X). Program it again.",
            differing, first);
    } else if (!committing) {
        programNote_ =
            "The modem holds the new settings in its memory, but the command that stores them "
            "was not sent: it returns to its previous settings when it restarts. Program it "
            "again.";
    } else if (commitRefused) {
        programNote_ =
            "The modem holds the new settings in its memory but refused to store them: it "
            "returns to its previous settings when it restarts. Program it again.";
    } else {
        programNote_ =
            "The modem holds the new settings in its memory, but its answer to the command that "
            "stores them was lost or damaged: whether it stored them is unknown. Load the modem "
            "again to find out, or program it again.";
    }
}

}  // namespace vxl
