// The Import Channel Table command of the main window (the Radio Link and Frequencies pages).
#include "app/channel_table_commands.h"
#include "app/main_dialog_model.h"

namespace vxl {

void MainDialogModel::ImportChannelTable() {
    ImportChannelTableCommand(coordinator_, view_, channelTableDir_);
}

}  // namespace vxl
