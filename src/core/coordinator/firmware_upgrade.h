// Upgrading the attached modem's firmware from an upgrade file (".fw"): the checks and
// questions before the upgrade, the loader download, and the messages after it. The file
// dialog belongs to the window that offers the command; this operation starts from its path.
#pragma once

#include <string>

class CCoordinator;

namespace vxl {

// The operator answered No to the confirmation (nothing was sent to the modem).
constexpr int kUpgradeDeclined = 50;

// Upgrades the coordinator's modem from the upgrade file at `path`. Asks for confirmation
// first unless `askConfirmation` is false (a command line that names the file is the
// confirmation). Before the upgrade it stores the modem's serial number and firmware revision
// for the next load, and saves the modem's settings as a backup (132 and nothing sent when the
// backup cannot be written); after a successful upgrade it detaches from the modem with a reset.
// Every outcome is shown through the operator interface.
// Returns 0, kUpgradeDeclined, 61 (this modem's firmware cannot be upgraded here), 75 (no
// modem attached) or the upgrade's failure code; `response` receives the modem's diagnostic.
int UpgradeModemFirmware(CCoordinator& coordinator, const std::string& path, bool askConfirmation,
                         std::string& response);

}  // namespace vxl
