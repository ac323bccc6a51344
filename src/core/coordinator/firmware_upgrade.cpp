#include "coordinator/firmware_upgrade.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "coordinator/coordinator.h"
#include "link/wire_trace.h"
#include "modem/command_frame.h"
#include "modem/firmware_file.h"
#include "modem/modem.h"
#include "params/modem_parameter.h"
#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/path_text.h"
#include "util/preferences.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr const char* kCaption = "Upgrade Modem Firmware";
constexpr const char* kFirmwareFilter = "Firmware Upgrades (*.fw);;All Files (*)";
constexpr const char* kCannotUpgrade =
    "Your modem's firmware cannot be upgraded by VXL Configuration Software.\n"
    "Please contact your dealer for further assistance.";
constexpr const char* kPowerCycle =
    "Modem must be power-cycled after firmware download.\n\n"
    "Remove power from your modem and / or turn it off,\n"
    " then reload the modem and check the settings";

// The loader is the one of the program's own modem family, from firmware 1.00 on.
constexpr int kFirstUpgradableRevision = 100;  // hundredths

void ShowFailure(int code, const std::string& response, const std::string& path = std::string(),
                 bool inBootLoader = false) {
    std::string text = ErrorBoxMessage(code, response);
    // A file that cannot be used: the file and what is wrong with it (the line of a damaged one).
    const bool fileProblem = code == rc::kCorruptFirmware || (code > 900 && code <= 914);
    if (fileProblem && !path.empty() && !response.empty()) text += "\n\n" + path + ": " + response;
    if (inBootLoader) text += std::string("\n\n") + kLeftInBootLoader;
    Ui().MessageBox(text, ErrorBoxCaption(rc::kUpgradeFailed), MsgIcon::Stop, MsgButtons::Ok);
}

// The next load of this modem adjusts its settings to the new firmware when it finds the
// serial number and the old revision stored here.
void RememberModem(CCoordinator& coordinator, CModemBase& modem) {
    int serial = -1;
    std::string revision;
    if (ModemParameterSet* parameters = coordinator.Settings().Parameters()) {
        if (parameters->GetInt(pid::kSerialNumber, serial) != rc::kOk) serial = -1;
        if (parameters->GetText(pid::kFirmwareRevision, revision) != rc::kOk) revision.clear();
    } else {
        // Attached without a load: ask the modem itself.
        std::string status;
        uint32_t number = 0;
        if (modem.ReadMemoryNumber(status, addr::kSerialNumber, addr::kSerialNumberLength,
                                   number) == rc::kOk) {
            serial = static_cast<int>(number);
        }
        revision = Format("%3.2f", modem.GetFirmwareRevision());
    }
    Prefs().SetInt(kPrefLastSerialNumber, serial);
    Prefs().SetText(kPrefLastFWRev, revision);
}

bool ConfirmUpgrade(const std::string& path) {
    return Ui().MessageBox(Format("Copy new firmware from file %s to modem?", path.c_str()),
                           kCaption, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

// The download itself, once the modem is known to take it; the messages after it.
int Download(CCoordinator& coordinator, const std::string& path, std::string& response) {
    CModem* modem = dynamic_cast<CModem*>(coordinator.Session().GetModem());
    CFirmwareFile file(path);
    int result = rc::kOk;
    bool inBootLoader = false;
    {
        WaitCursor wait;
        // New firmware may read the settings differently; the backup is the way back. A file
        // that cannot be used is refused first, without the time a backup may take.
        result = file.ReadUpgradeFile();
        if (result != rc::kOk) {
            response = file.GetProblem();
        } else if (!file.DownloadProblem().empty()) {
            response = file.DownloadProblem();
            result = rc::kCorruptFirmware;
        }
        if (result != rc::kOk) {
            ShowFailure(result, response, path);
            return result;
        }
        result = coordinator.Programming().BackUpModem(response);
        if (result != rc::kOk) {
            Ui().MessageBox(coordinator.Programming().GetProgramNote(), kCaption, MsgIcon::Stop,
                            MsgButtons::Ok);
            return result;
        }
        RememberModem(coordinator, *modem);
        result = modem->UpgradeFirmware(response, file, std::vector<std::string>());
        inBootLoader = result != rc::kOk && modem->InBootLoader();
        if (result == rc::kOk) {
            std::string detachResponse;
            coordinator.Detach(detachResponse, false);
        }
    }
    if (result != rc::kOk) {
        // The unlock hands back a failed read's code negated.
        result = coordinator.Session().ExplainFailure(std::abs(result), response);
        ShowFailure(result, response, path, inBootLoader);
        return result;
    }
    Ui().MessageBox(Format("Firmware revision %3.2f written to modem.", file.GetRevision()),
                    "Firmware Upgrade Complete", MsgIcon::None, MsgButtons::Ok);
    Ui().MessageBox(kPowerCycle, "Power-Cycle Your Modem", MsgIcon::Exclamation, MsgButtons::Ok);
    return rc::kOk;
}

}  // namespace

bool LeftInBootLoader(const CCoordinator& coordinator) {
    const CModem* modem = dynamic_cast<const CModem*>(coordinator.Session().GetModem());
    return modem != nullptr && modem->InBootLoader();
}

int CheckFirmwareUpgradable(CCoordinator& coordinator) {
    CModemBase* attached = coordinator.Session().GetModem();
    if (attached == nullptr) {
        ShowFailure(rc::kNoPort, std::string());
        return rc::kNoPort;
    }
    // The demo modem has no loader.
    CModem* modem = dynamic_cast<CModem*>(attached);
    if (modem == nullptr || modem->GetModemType() != kModemTypeVxl ||
        !RevisionAtLeast(modem->GetFirmwareRevision(), kFirstUpgradableRevision)) {
        Ui().MessageBox(kCannotUpgrade, kCaption, MsgIcon::Exclamation, MsgButtons::Ok);
        return rc::kNotSupported;
    }
    return rc::kOk;
}

int UpgradeModemFirmware(CCoordinator& coordinator, const std::string& path, bool askConfirmation,
                         std::string& response) {
    response.clear();
    if (int result = CheckFirmwareUpgradable(coordinator); result != rc::kOk) return result;
    if (askConfirmation && !ConfirmUpgrade(path)) return kUpgradeDeclined;
    return TraceResult("Upgrade", Download(coordinator, path, response));
}

bool FirmwareUpgradeOffered(const CCoordinator& coordinator) {
    const CModemBase* modem = coordinator.Session().GetModem();
    return modem != nullptr && modem->GetModemType() == kModemTypeVxl;
}

FirmwareUpgradeOutcome UpgradeFirmwareFromWindow(CCoordinator& coordinator,
                                                 std::string& firmwareDir, std::string& response) {
    response.clear();
    FirmwareUpgradeOutcome outcome;
    outcome.result = CheckFirmwareUpgradable(coordinator);
    std::string path;
    if (outcome.result == rc::kOk &&
        (!Ui().ChooseOpenFile(kCaption, kFirmwareFilter, firmwareDir, path) ||
         !ConfirmUpgrade(path))) {
        outcome.result = kUpgradeDeclined;
    }
    if (outcome.result == rc::kOk) {
        const std::string folder = FolderOf(path);
        if (!folder.empty()) firmwareDir = folder;
        outcome.result = Download(coordinator, path, response);
        outcome.loadBecomesDefault = outcome.result == rc::kOk;
    }
    outcome.upgradeEnabled = FirmwareUpgradeOffered(coordinator);
    outcome.selectPortEnabled = !outcome.upgradeEnabled;
    return outcome;
}

}  // namespace vxl
