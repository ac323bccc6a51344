// Upgrading the attached modem's firmware from an upgrade file (".fw"): the check that the modem
// can take new firmware, the choice of the file and the confirmation, the loader download, and
// the messages after it. The window's command asks for the file through the operator interface;
// the headless run starts from the path on its command line.
#pragma once

#include <string>

class CCoordinator;

namespace vxl {

// The operator cancelled the file dialog or answered No to the confirmation (nothing was sent
// to the modem).
constexpr int kUpgradeDeclined = 50;

// What to do when an upgrade stopped after the modem started its boot loader.
constexpr const char* kLeftInBootLoader =
    "The modem is left in its boot loader, which a soft break cannot reach: upgrade it again by "
    "power-on capture (Set Capture Method in the Modem menu, or 'poweroncapture'), switching the "
    "modem off and on while the program waits for it.";

// Whether the coordinator's modem was left running its boot loader by a failed upgrade.
bool LeftInBootLoader(const CCoordinator& coordinator);

// Whether the attached modem can take new firmware here; shows why not. 0, 61 (this modem's
// firmware cannot be upgraded here) or 75 (no modem attached).
int CheckFirmwareUpgradable(CCoordinator& coordinator);

// Upgrades the coordinator's modem from the upgrade file at `path`. Asks for confirmation
// first unless `askConfirmation` is false (a command line that names the file is the
// confirmation). Before the upgrade it stores the modem's serial number and firmware revision
// for the next load, and saves the modem's settings as a backup (132 and nothing sent when the
// backup cannot be written); after a successful upgrade it detaches from the modem with a reset.
// Every outcome is shown through the operator interface.
// Returns 0, kUpgradeDeclined, 61, 75 or the upgrade's failure code; `response` receives the
// modem's diagnostic.
int UpgradeModemFirmware(CCoordinator& coordinator, const std::string& path, bool askConfirmation,
                         std::string& response);

// The window's upgrade command offers itself while a modem of the loader's family is attached
// (the port choice is offered otherwise).
bool FirmwareUpgradeOffered(const CCoordinator& coordinator);

// What the window does after its upgrade command.
struct FirmwareUpgradeOutcome {
    int result = 0;                   // as UpgradeModemFirmware returns
    bool loadBecomesDefault = false;  // a successful upgrade makes Load the default button
    bool upgradeEnabled = false;      // the upgrade command, as FirmwareUpgradeOffered
    bool selectPortEnabled = true;    // the port choice: the other way round
};

// The window's upgrade command: the check first (nothing else happens for a modem that cannot
// be upgraded), then the open-file dialog "Upgrade Modem Firmware" for *.fw starting in
// `firmwareDir`, the confirmation, and the upgrade. Once confirmed, `firmwareDir` becomes the
// chosen file's folder.
FirmwareUpgradeOutcome UpgradeFirmwareFromWindow(CCoordinator& coordinator,
                                                 std::string& firmwareDir, std::string& response);

}  // namespace vxl
