// Backups of the demo modem, which Program does not back up (it is no modem): the settings
// shown now, saved as a backup taken at `time` into the coordinator's backup folder.
#pragma once

#include <ctime>
#include <string>

#include "backup/backup_store.h"
#include "coordinator/coordinator.h"
#include "params/modem_memory_image.h"

namespace vxl::gui::test {

inline std::string SaveDemoBackup(CCoordinator& coordinator, std::time_t time) {
    const ModemMemoryImage& image = *coordinator.GetWorkingImage();
    BackupImage backup;
    const int main = image.GetMainSize(), extension = image.GetExtensionSize();
    backup.bytes.resize(static_cast<size_t>(main + extension));
    image.ReadBytes(image.GetBaseAddress(), main, backup.bytes.data());
    if (extension > 0)
        image.ReadBytes(ModemMemoryImage::kExtensionAddress, extension, backup.bytes.data() + main);
    backup.header = {coordinator.GetSerialNumberText(),
                     "VXL",
                     image.GetFirmwareRevisionText(),
                     main,
                     extension,
                     image.GetModemType(),
                     time};
    std::string path;
    return SaveBackup(coordinator.GetBackupRoot(), backup, path) == 0 ? path : std::string();
}

}  // namespace vxl::gui::test
