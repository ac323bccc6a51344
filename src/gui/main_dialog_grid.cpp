// The main window's side of its pages: every page's buttons go to the model, the grid pages'
// edits to the coordinator.
#include "app/config_app.h"
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
#include "window/channel_table_commands.h"
#include "window/level_page_actions.h"

namespace vxl::gui {

void MainDialog::BindPages() {
    for (SheetPage index : kSheetPages) {
        connect(sheet_->page(index), &Page::buttonClicked, this, [this, index](int id) {
            Run([this, index, id] { model_->PageButton(index, id); });
        });
    }
    model_->SetChannelTableExportDialog(
        [this](const std::string& start, ChannelTableExportChoice& choice) {
            return ChooseChannelTableExport(this, start, choice);
        });
    auto* memoryMap = static_cast<MemoryMapPage*>(sheet_->page(SheetPage::MemoryMap));
    connect(memoryMap, &MemoryMapPage::byteEdited, this, [this](int offset, int value) {
        model_->Coordinator().Settings().WriteByte(offset, static_cast<uint8_t>(value));
    });
    connect(frequenciesPage(), &FrequenciesPage::frequencyEdited, this,
            [this](int id, double mhz) { EditChannelFrequency(model_->Coordinator(), id, mhz); });
}

FrequenciesPage* MainDialog::frequenciesPage() const {
    return static_cast<FrequenciesPage*>(sheet_->page(SheetPage::Frequencies));
}

}  // namespace vxl::gui
