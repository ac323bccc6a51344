// Programming the modem, undo, defaults and the Factory page's operations.
#include <cmath>

#include "backup/backup_file.h"
#include "coordinator/coordinator.h"
#include "coordinator/factory_tables.h"
#include "modem/modem_base.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "ui/operator.h"
#include "util/result_codes.h"

namespace pid = vxl::pid;
namespace rc = vxl::rc;

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

bool CCoordinator::AsksEtsQuestion() const {
    const int frequency = IntOf(pid::kFrequency);
    return IntOf(pid::kPower) == kEtsPower && frequency >= kEtsFirstRange &&
           frequency <= kEtsLastRange && IntOf(pid::kModel) == kEtsModel;
}

int CCoordinator::Program(std::string& responseText) {
    int result = EnsureLoaded();
    if (result != rc::kOk || modem_ == nullptr) return rc::kMissingArgument;
    if (AsksEtsQuestion()) {
        vxl::MsgAnswer answer = vxl::Ui().MessageBox(
            kEtsText, kEtsCaption, vxl::MsgIcon::Exclamation, vxl::MsgButtons::ContinueCancel);
        if (answer != vxl::MsgAnswer::Continue) return rc::kOk;
    }
    lostDevice_.clear();
    return ExplainFailure(ProgramImage(responseText), responseText);
}

// The modem holds the new settings only once the commit has succeeded (and, with verification
// on, once they have been read back): until then the changes still count as not programmed, and
// a retry writes the whole image again.
int CCoordinator::ProgramImage(std::string& responseText) {
    programNote_.clear();
    lastBackupPath_.clear();
    // The demo modem is no modem: it has nothing worth a backup.
    if (link_ != nullptr) {
        vxl::BackupImage backup;
        int result = MakeBackup(backup) ? WriteBackup(backup)
                                        : NoBackup("This modem has no settings to back up.");
        if (result != rc::kOk) return result;
    }
    bool committing = false;
    int result = modem_->WriteMemoryImage(responseText, *working_);
    if (result == rc::kOk) {
        committing = true;
        result = modem_->Program(responseText);
    }
    if (result != rc::kOk) {
        ExplainFailedProgram(result, committing);
        return result;
    }
    if (verify_) {
        result = Verify(responseText);
        if (result != rc::kOk) return result;
    }
    programmedImage_ = working_->Clone();
    programmed_ = true;
    unverified_ = false;
    return rc::kOk;
}

int CCoordinator::Undo() {
    int result = EnsureLoaded();
    if (result != rc::kOk) return result;
    parameters_.reset();
    result = BuildParameterSet();
    (void)result;  // a definitions problem was reported when the modem was loaded
    RefreshPages();
    return rc::kOk;
}

int CCoordinator::ApplyDefaults() {
    int result = EnsureLoaded();
    if (result != rc::kOk) return result;
    result = parameters_->ApplyDefaults();
    RefreshPages();
    UpdateDialog();
    return result;
}

int CCoordinator::ClearUserFields() {
    int result = EnsureLoaded();
    if (result != rc::kOk) return result;
    result = SetTextParameter(pid::kOwner, std::string());
    // A modem without a call sign has nothing to clear.
    if (result == rc::kOk && parameters_->IsAvailable(pid::kCallSign)) {
        result = SetTextParameter(pid::kCallSign, std::string());
    }
    RefreshPages();
    return result;
}

// Parameters the modem does not have are left out of the factory settings.
int CCoordinator::SetIfAvailable(int id, int value) {
    if (!parameters_->IsAvailable(id)) return rc::kOk;
    return SetIntParameter(id, value);
}

int CCoordinator::ApplyFactoryTestSettings() {
    int result = EnsureLoaded();
    if (result != rc::kOk || modem_ == nullptr) return rc::kMissingArgument;
    // ModemEnable and DataSecurityCode exist from firmware 1.04 on (compared in hundredths).
    const bool hasSecurity = std::lround(modem_->GetFirmwareRevision() * 100.0) >= 104;

    struct Setting {
        int id;
        int value;
    };
    if (ModemType() == vxl::kModemTypeVxl) {
        const Setting type4[] = {
            {pid::kSynthesizerType, 4},
            {pid::kBitPolarity, 49},
            {pid::kRXDelay, 7},
            {pid::kTXDelay, 0},
            {pid::kFrequencyError, 0},
            {pid::kPowerControl, parameters_->GetDefaultInt(pid::kPowerControl)},
            {pid::kChannelSelectType, 0},
        };
        for (const Setting& setting : type4) {
            result = SetIfAvailable(setting.id, setting.value);
            if (result != rc::kOk) return result;
        }
        if (hasSecurity) {
            if (parameters_->IsAvailable(pid::kModemEnable)) {
                result = SetBoolParameter(pid::kModemEnable,
                                          parameters_->GetDefaultBool(pid::kModemEnable));
                if (result != rc::kOk) return result;
            }
            result = SetIfAvailable(pid::kDataSecurityCode,
                                    parameters_->GetDefaultInt(pid::kDataSecurityCode));
            if (result != rc::kOk) return result;
        }
    }

    result = ApplyDefaults();
    if (result != rc::kOk) return result;

    const Setting common[] = {
        {pid::kLinkRate, IntOf(pid::kChannelBandwidth) == 1 ? 2 : 3},
        {pid::kModulationType, 0},
        {pid::kDigipeaterDelay, 0},  // 0.0 s
        {pid::kDigisquelch, 0},
        {pid::kBaudRate, 1},
        {pid::kProtocolMode, 2},
        {pid::kCrystal, 7},
        {pid::kSystemClock, 0},
        {pid::kLastFailure, 0},
    };
    for (const Setting& setting : common) {
        if (setting.id == pid::kDigipeaterDelay) {
            if (!parameters_->IsAvailable(setting.id)) continue;
            result = SetRealParameter(setting.id, setting.value);
        } else {
            result = SetIfAvailable(setting.id, setting.value);
        }
        if (result != rc::kOk) return result;
    }
    RefreshPages();
    return rc::kOk;
}

int CCoordinator::SetFactoryFrequencies() {
    int result = EnsureLoaded();
    if (result != rc::kOk) return result;
    int frequency = -1;
    result = parameters_->GetInt(pid::kFrequency, frequency);
    if (result != rc::kOk) return result;
    const vxl::ModelRule* rule = vxl::FindModelRule(IntOf(pid::kModel));
    if (rule == nullptr || frequency < 0 || frequency > rule->highestFactoryRange) {
        return rc::kBadModelRow;
    }
    for (int k = 0; k < vxl::kFactoryChannels; ++k) {
        const double mhz = vxl::FactoryFrequency(frequency, k);
        for (int id : {pid::RxChannelId(k), pid::TxChannelId(k)}) {
            if (!parameters_->IsAvailable(id)) continue;
            result = parameters_->SetReal(id, mhz);
            // The current channel keeps its frequency rather than losing it.
            if (result == rc::kZeroCurrentChannel) continue;
            if (result != rc::kOk) return result;
        }
    }
    RefreshPages();
    return rc::kOk;
}
