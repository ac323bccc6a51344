// What the main window does for its pages: the push buttons of the Radio Link, Frequencies,
// Memory Map and Factory pages, and the Memory Map page's arrival.
#include "coordinator/coordinator.h"
#include "coordinator/factory_operations.h"
#include "ui/operator.h"
#include "window/channel_plan_commands.h"
#include "window/control_ids.h"
#include "window/level_page_actions.h"
#include "window/main_dialog_model.h"

namespace vxl {

namespace {

constexpr const char* kListingUnavailable =
    "Printing the memory map is not available in this version of VXL Configuration Software.";

}  // namespace

void MainDialogModel::ImportChannelTable() {
    BusyScope busy(*this);
    ImportChannelTableCommand(coordinator_, view_, channelTableDir_);
}

void MainDialogModel::PrintMemoryMap() {
    if (!coordinator_.IsAttached()) return;
    BusyScope busy(*this);
    if (!printMemoryMap_) {
        Ui().MessageBox(kListingUnavailable, "Print", MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    WaitCursor wait;
    printMemoryMap_();
}

void MainDialogModel::ShowMemoryMap() {
    if (view_ != nullptr) view_->ShowMemoryMapPage();
}

void MainDialogModel::PageButton(SheetPage page, int controlId) {
    switch (page) {
        case SheetPage::RadioLink:
            if (controlId == control::kImportChannelTable) ImportChannelTable();
            if (controlId == control::kImportChannelCsv) {
                BusyScope busy(*this);
                ImportChannelCsvCommand(coordinator_, view_, channelTableDir_);
            }
            return;
        case SheetPage::MemoryMap:
            if (controlId == control::kPrintMemoryMap) PrintMemoryMap();
            return;
        case SheetPage::Frequencies:
        case SheetPage::Factory:
            break;
        default:
            return;
    }
    BusyScope busy(*this);
    if (page == SheetPage::Frequencies) {
        if (controlId == control::kExportChannelTable)
            ExportChannelTableCommand(coordinator_, exportDialog_, channelTableDir_);
        if (controlId == control::kImportChannelTable)
            ImportChannelTableCommand(coordinator_, view_, channelTableDir_);
        if (controlId == control::kClearChannelTable) ClearChannelTableCommand(coordinator_, view_);
        if (controlId == control::kImportChannelCsv)
            ImportChannelCsvCommand(coordinator_, view_, channelTableDir_);
        if (controlId == control::kExportChannelCsv)
            ExportChannelCsvCommand(coordinator_, channelTableDir_);
        return;
    }
    if (controlId == control::kClearUserFields) ClearUserFields(coordinator_);
    if (controlId == control::kFactoryTestSettings) ApplyFactoryTestSettings(coordinator_);
    if (controlId == control::kSetFactoryFrequencies) SetFactoryFrequenciesCommand(coordinator_);
}

}  // namespace vxl
