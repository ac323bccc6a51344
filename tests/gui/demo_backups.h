// The demo modem's settings as shown now, saved as a backup taken at `time` (Program does not
// back the demo modem up: it is no modem).
#pragma once

#include <ctime>
#include <string>

#include "backup/backup_store.h"
#include "coordinator/coordinator.h"
#include "params/modem_memory_image.h"

namespace vxl::gui::test {

inline bool SaveDemoBackup(CCoordinator& coordinator, std::time_t time) {
    const ModemMemoryImage& image = *coordinator.Settings().Image();
    const int main = image.GetMainSize(), extension = image.GetExtensionSize();
    BackupImage backup{
        {coordinator.Settings().SerialNumberText(), "VXL", image.GetFirmwareRevisionText(), main,
         extension, image.GetModemType(), time},
        std::vector<uint8_t>(static_cast<size_t>(main + extension))};
    image.ReadBytes(image.GetBaseAddress(), main, backup.bytes.data());
    image.ReadBytes(ModemMemoryImage::kExtensionAddress, extension, backup.bytes.data() + main);
    std::string path;
    return SaveBackup(coordinator.Programming().GetBackupRoot(), backup, path).ok();
}

}  // namespace vxl::gui::test
