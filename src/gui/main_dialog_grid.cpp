// The main window's side of the pages that the Dealer and Factory levels add (Frequencies,
// Factory) and of the Memory Map page: their commands and edits, and the grid as the
// coordinator sees it.
#include "app/channel_plan_commands.h"
#include "app/channel_table_commands.h"
#include "app/config_app.h"
#include "app/level_page_actions.h"
#include "coordinator/coordinator.h"
#include "coordinator/factory_operations.h"
#include "gui/export_channel_table_dialog.h"
#include "gui/factory_page.h"
#include "gui/frequencies_page.h"
#include "gui/main_dialog.h"
#include "gui/memory_map_page.h"
#include "gui/property_sheet.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"

namespace vxl::gui {

void MainDialog::BindLevelPages() {
    const PrivilegeLevel level = app_.Options().level;
    if (ShowsFrequenciesPage(level)) sheet_->AddPage(CoordinatorPage::Frequencies);
    if (ShowsFactoryPage(level)) sheet_->AddPage(CoordinatorPage::Factory);

    auto* memoryMap = static_cast<MemoryMapPage*>(sheet_->page(CoordinatorPage::MemoryMap));
    connect(memoryMap, &MemoryMapPage::byteEdited, this, [this](int offset, int value) {
        model_->Coordinator().Settings().WriteByte(offset, static_cast<uint8_t>(value));
    });

    auto* frequencies = static_cast<FrequenciesPage*>(sheet_->page(CoordinatorPage::Frequencies));
    connect(frequencies, &FrequenciesPage::frequencyEdited, this,
            [this](int id, double mhz) { EditChannelFrequency(model_->Coordinator(), id, mhz); });
    connect(frequencies, &Page::buttonClicked, this, [this](int id) {
        CCoordinator& coordinator = model_->Coordinator();
        std::string& folder = model_->InitialChannelTableDir();
        Run([&, id] {
            if (id == kExportChannelTableButton) {
                ExportChannelTableCommand(
                    coordinator,
                    [this](const std::string& start, ChannelTableExportChoice& choice) {
                        return ChooseChannelTableExport(this, start, choice);
                    },
                    folder);
            } else if (id == kImportChannelTableButton) {
                model_->ImportChannelTable();
            } else if (id == kClearChannelTableButton) {
                ClearChannelTableCommand(coordinator, this);
            } else if (id == kImportChannelCsvButton) {
                ImportChannelCsvCommand(coordinator, this, folder);
            } else if (id == kExportChannelCsvButton) {
                ExportChannelCsvCommand(coordinator, folder);
            }
        });
    });

    connect(sheet_->page(CoordinatorPage::Factory), &Page::buttonClicked, this, [this](int id) {
        CCoordinator& coordinator = model_->Coordinator();
        Run([&, id] {
            if (id == kClearUserFieldsButton) {
                vxl::ClearUserFields(coordinator);
            } else if (id == kFactoryTestSettingsButton) {
                vxl::ApplyFactoryTestSettings(coordinator);
            } else if (id == kSetFactoryFrequenciesButton) {
                SetFactoryFrequenciesCommand(coordinator);
            }
        });
    });
}

FrequenciesPage* MainDialog::frequenciesPage() const {
    return static_cast<FrequenciesPage*>(sheet_->page(CoordinatorPage::Frequencies));
}

}  // namespace vxl::gui
