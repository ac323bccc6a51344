// Attaching to a modem, reading its settings, the checks after a load, and detaching.
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "coordinator/coordinator.h"
#include "link/serial_link.h"
#include "modem/modem_base.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/interrupt.h"
#include "util/preferences.h"
#include "util/result_codes.h"

using vxl::Prefs;
namespace pid = vxl::pid;
namespace rc = vxl::rc;

namespace {

constexpr const char* kUnitName = "Coordinator";
constexpr int kLocationOpenFailed = 239;
constexpr int kLocationNoModem = 277;
constexpr int kLocationReadFailed = 316;

constexpr const char* kDamagedCaption = "Settings May Be Damaged";
constexpr const char* kDamagedText =
    "The settings read from the modem do not match their checksum, even when read a second "
    "time: a byte may have been damaged on the line.\n\nProgramming them back would store the "
    "damaged byte for good. Cancel, check the connection and load the modem again, unless you "
    "know these settings are right.\n\nContinue with these settings?";

std::string Location(int number) {
    return vxl::Format("%s:%d", kUnitName, number);
}

// Revisions have two decimals; comparing them as whole hundredths keeps 1.04 computed from the
// modem's identity bytes equal to 1.04 read back from a preference text.
long Hundredths(double revision) {
    return std::lround(revision * 100.0);
}

// The previous revision stored by a firmware upgrade; `current` when none (or none readable)
// was stored.
double PreviousRevision(double current) {
    std::string text = Prefs().GetText(vxl::kPrefLastFWRev, "");
    if (text.empty()) return current;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    return end == text.c_str() ? current : value;
}

}  // namespace

void CCoordinator::DropLoadedState() {
    parameters_.reset();
    working_.reset();
    programmedImage_.reset();
    unverified_ = false;
}

void CCoordinator::CloseLink() {
    modem_.reset();
    link_.reset();
}

int CCoordinator::ExplainFailure(int result, std::string& responseText) {
    if (result == rc::kOk) return result;
    if (vxl::PendingInterrupt() != 0) return rc::kInterrupted;
    const int lost = link_ != nullptr ? link_->LostError() : 0;
    if (lost == 0) return result;
    lostDevice_ = link_->DevicePath();
    responseText = vxl::Format("the serial device %s went away", lostDevice_.c_str());
    return lost;
}

int CCoordinator::Attach(std::string& responseText, bool interactive) {
    if (port_ < 0) return rc::kNoPort;
    lostDevice_.clear();
    DropLoadedState();
    CloseLink();

    int lastError = 0;
    link_ = linkFactory_ ? linkFactory_(port_, lastError) : nullptr;
    if (link_ == nullptr) {
        location_ = Location(kLocationOpenFailed);
        return lastError != 0 ? lastError : EIO;
    }
    link_->StartMonitor();

    responseText.clear();
    std::unique_ptr<CModemBase> modem;
    int result = modemFactory_ ? modemFactory_(responseText, link_.get(), modem, captureMethod_,
                                               location_, interactive)
                               : rc::kBadParameters;
    if ((result == rc::kOk || result == rc::kModelIdMissing) && modem != nullptr) {
        modem_ = std::move(modem);
        return result;
    }
    modem.reset();
    result = ExplainFailure(result, responseText);
    link_.reset();
    if (result == rc::kOk) {
        location_ = Location(kLocationNoModem);
        return rc::kNothingReceived;
    }
    return result;
}

int CCoordinator::BuildParameterSet(std::string* definitionsLocation) {
    working_ = programmedImage_->Clone();
    std::string location;
    int status = rc::kOk;
    parameters_ = std::make_unique<ModemParameterSet>(location, status, working_.get());
    if (definitionsLocation != nullptr) *definitionsLocation = location;
    return status;
}

int CCoordinator::Read(std::string& responseText, bool interactive) {
    DropLoadedState();
    checksumMismatch_ = false;
    lostDevice_.clear();
    if (modem_ == nullptr) return rc::kMissingArgument;
    int result = modem_->ReadMemoryImage(responseText, interactive);
    if (result == rc::kOk) {
        programmedImage_ = modem_->GetImage();
        if (programmedImage_ == nullptr) result = rc::kCannotReadImage;
    }
    if (result != rc::kOk) {
        location_ = Location(kLocationReadFailed);
        return ExplainFailure(result, responseText);
    }
    if (!programmedImage_->ChecksumMatched()) {
        checksumMismatch_ = true;
        if (interactive &&
            vxl::Ui().MessageBox(kDamagedText, kDamagedCaption, vxl::MsgIcon::Exclamation,
                                 vxl::MsgButtons::ContinueCancel) != vxl::MsgAnswer::Continue) {
            programmedImage_.reset();
            location_ = Location(kLocationReadFailed);
            return rc::kCannotReadImage;
        }
    }
    std::string definitionsLocation;
    result = BuildParameterSet(&definitionsLocation);
    // The operator learns which definitions file could not be used.
    if (result == rc::kCannotOpenIni || result == rc::kBadIni) responseText = definitionsLocation;
    if (result != rc::kOk && result != rc::kNoDefinition) return result;
    programmed_ = false;
    if (view_ != nullptr) {
        view_->EnablePages(true);
        result = RefreshPages();
        if (result != rc::kOk) return result;
    }
    UpdateDialog();
    return rc::kOk;
}

int CCoordinator::Detach(std::string& responseText, bool keepOpen) {
    if (modem_ != nullptr) {
        if (!keepOpen) modem_->Reset(responseText);
        DropLoadedState();
        CloseLink();
        if (view_ != nullptr) {
            view_->ClearModifiedMarks();
            view_->ClearIdentificationTexts();
            view_->ResetFrequenciesPage();
            view_->EnablePages(false);
        }
    }
    programmed_ = false;
    return rc::kOk;
}

int CCoordinator::StartDemo() {
    if (modem_ != nullptr) return rc::kAlreadyDemo;
    DropLoadedState();
    CloseLink();
    modem_ = demoFactory_ ? demoFactory_() : nullptr;
    if (modem_ == nullptr) return rc::kBadParameters;
    std::string response;
    int result = Read(response, true);
    if (result != rc::kOk) return result;
    programmed_ = false;
    if (view_ != nullptr) view_->EnablePages(true);
    UpdateDialog();
    return rc::kOk;
}

int CCoordinator::FirmwareFixUp(std::string& responseText) {
    if (parameters_ == nullptr || modem_ == nullptr) return rc::kOk;
    int serial = 0;
    bool serialRead = parameters_->GetInt(pid::kSerialNumber, serial) == rc::kOk;
    double current = modem_->GetFirmwareRevision();
    int lastSerial = Prefs().GetInt(vxl::kPrefLastSerialNumber, -1);
    double previous = PreviousRevision(current);

    int result = rc::kOk;
    if (serialRead && serial == lastSerial && Hundredths(previous) != Hundredths(current)) {
        bool changed = false;
        result = ApplyFirmwareChange(previous, current, changed);
        if (result != rc::kOk) return result;
        if (changed) {
            result = Program(responseText);
            RefreshPages();
        }
    }
    // Written only when set: each write of the store goes to the disk.
    if (lastSerial != -1) Prefs().SetInt(vxl::kPrefLastSerialNumber, -1);
    if (!Prefs().GetText(vxl::kPrefLastFWRev, "").empty()) Prefs().SetText(vxl::kPrefLastFWRev, "");
    return result;
}

int CCoordinator::ApplyFirmwareChange(double previous, double current, bool& changed) {
    constexpr long kSecurityRevision = 104;   // ModemEnable and DataSecurityCode appear
    constexpr long kExtensionRevision = 200;  // the extension moved by one byte
    const long p = Hundredths(previous);
    const long r = Hundredths(current);
    if (p < kSecurityRevision && r >= kSecurityRevision) {
        changed = true;
        int result =
            parameters_->SetBool(pid::kModemEnable, parameters_->GetDefaultBool(pid::kModemEnable));
        if (result != rc::kOk) return result;
        return parameters_->SetInt(pid::kDataSecurityCode,
                                   parameters_->GetDefaultInt(pid::kDataSecurityCode));
    }
    if (p < kExtensionRevision && r >= kExtensionRevision) {
        changed = true;
        working_->ShiftExtension(+1);
        const uint8_t zero = 0;
        int result = parameters_->WriteParameterBytes(pid::kModemEnable, &zero);
        if (result != rc::kOk) return result;
        return parameters_->SetBool(pid::kModemEnable,
                                    parameters_->GetDefaultBool(pid::kModemEnable));
    }
    if (p >= kExtensionRevision && r < kExtensionRevision) {
        changed = true;
        working_->ShiftExtension(-1);
    }
    return rc::kOk;
}
