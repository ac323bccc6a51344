// The window's channel-plan commands: "Import CSV..." (Radio Link and Frequencies pages) and
// "Export as CSV..." (Frequencies page), with their file dialogs and messages.
#pragma once

#include <string>

class CCoordinator;

namespace vxl {

class MainDialogView;

// Import: an open-file dialog, then the plan into the loaded settings; a refused file is named
// in the error box with its row and reason, and nothing changes. `folder` is the initial
// channel-table folder, updated from the chosen path. 0 also when cancelled.
int ImportChannelCsvCommand(CCoordinator& coordinator, MainDialogView* view, std::string& folder);
// Export: a save-file dialog suggesting "channels-SERIAL.csv", then the file; says where it was
// written, or why not.
int ExportChannelCsvCommand(CCoordinator& coordinator, std::string& folder);

}  // namespace vxl
