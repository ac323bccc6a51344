#include "coordinator/firmware_upgrade.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "coordinator/coordinator.h"
#include "modem/firmware_file.h"
#include "modem/modem.h"
#include "params/modem_parameter.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/preferences.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr const char* kCaption = "Upgrade Modem Firmware";
constexpr const char* kCannotUpgrade =
    "Your modem's firmware cannot be upgraded by VXL Configuration Software.\n"
    "Please contact your dealer for further assistance.";
constexpr const char* kPowerCycle =
    "Modem must be power-cycled after firmware download.\n\n"
    "Remove power from your modem and / or turn it off,\n"
    " then reload the modem and check the settings";

// The loader is the one of the program's own modem family, from firmware 1.00 on.
constexpr int kLoaderModemType = 4;
constexpr int kFirstUpgradableRevision = 100;  // hundredths

// Serial number: four bytes, high byte first.
constexpr int kSerialNumberAddress = 0x106;
constexpr int kSerialNumberBytes = 4;

void ShowFailure(int code, const std::string& response) {
    Ui().MessageBox(ErrorBoxMessage(code, response), ErrorBoxCaption(rc::kUpgradeFailed),
                    MsgIcon::Stop, MsgButtons::Ok);
}

// The next load of this modem adjusts its settings to the new firmware when it finds the
// serial number and the old revision stored here.
void RememberModem(CCoordinator& coordinator, CModemBase& modem) {
    int serial = -1;
    std::string revision;
    if (ModemParameterSet* parameters = coordinator.GetParameterSet()) {
        if (parameters->GetInt(pid::kSerialNumber, serial) != rc::kOk) serial = -1;
        if (parameters->GetText(pid::kFirmwareRevision, revision) != rc::kOk) revision.clear();
    } else {
        // Attached without a load: ask the modem itself.
        std::string status;
        uint32_t number = 0;
        if (modem.ReadMemoryNumber(status, kSerialNumberAddress, kSerialNumberBytes, number) ==
            rc::kOk) {
            serial = static_cast<int>(number);
        }
        revision = Format("%3.2f", modem.GetFirmwareRevision());
    }
    Prefs().SetInt(kPrefLastSerialNumber, serial);
    Prefs().SetText(kPrefLastFWRev, revision);
}

}  // namespace

int UpgradeModemFirmware(CCoordinator& coordinator, const std::string& path, bool askConfirmation,
                         std::string& response) {
    response.clear();
    CModemBase* attached = coordinator.GetModem();
    if (attached == nullptr) {
        ShowFailure(rc::kNoPort, response);
        return rc::kNoPort;
    }
    // The demo modem has no loader.
    CModem* modem = dynamic_cast<CModem*>(attached);
    if (modem == nullptr || modem->GetModemType() != kLoaderModemType ||
        !RevisionAtLeast(modem->GetFirmwareRevision(), kFirstUpgradableRevision)) {
        Ui().MessageBox(kCannotUpgrade, kCaption, MsgIcon::Exclamation, MsgButtons::Ok);
        return rc::kNotSupported;
    }
    if (askConfirmation &&
        Ui().MessageBox(Format("Copy new firmware from file %s to modem?", path.c_str()), kCaption,
                        MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes) {
        return kUpgradeDeclined;
    }

    CFirmwareFile file(path);
    int result = rc::kOk;
    {
        WaitCursor wait;
        // New firmware may read the settings differently; the backup is the way back. A file
        // that cannot be used is refused first, without the time a backup may take.
        result = file.ReadUpgradeFile();
        if (result == rc::kOk && !file.DownloadProblem().empty()) {
            response = file.DownloadProblem();
            result = rc::kCorruptFirmware;
        }
        if (result != rc::kOk) {
            ShowFailure(result, response);
            return result;
        }
        result = coordinator.BackUpModem(response);
        if (result != rc::kOk) {
            Ui().MessageBox(coordinator.GetProgramNote(), kCaption, MsgIcon::Stop, MsgButtons::Ok);
            return result;
        }
        RememberModem(coordinator, *modem);
        result = modem->UpgradeFirmware(response, file, std::vector<std::string>());
        if (result == rc::kOk) {
            std::string detachResponse;
            coordinator.Detach(detachResponse, false);
        }
    }
    if (result != rc::kOk) {
        // The unlock hands back a failed read's code negated.
        result = std::abs(result);
        ShowFailure(result, response);
        return result;
    }
    Ui().MessageBox(Format("Firmware revision %3.2f written to modem.", file.GetRevision()),
                    "Firmware Upgrade Complete", MsgIcon::None, MsgButtons::Ok);
    Ui().MessageBox(kPowerCycle, "Power-Cycle Your Modem", MsgIcon::Exclamation, MsgButtons::Ok);
    return rc::kOk;
}

}  // namespace vxl
