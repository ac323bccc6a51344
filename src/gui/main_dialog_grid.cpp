// The main window's side of the pages that the Dealer and Factory levels add (Frequencies,
// Factory) and of the Memory Map page: their commands and edits, and the grid as the
// coordinator sees it.
#include "app/channel_table_commands.h"
#include "app/config_app.h"
#include "app/level_page_actions.h"
#include "coordinator/coordinator.h"
#include "gui/export_channel_table_dialog.h"
#include "gui/factory_page.h"
#include "gui/frequencies_page.h"
#include "gui/main_dialog.h"
#include "gui/memory_map_page.h"
#include "gui/property_sheet.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"

namespace vxl::gui {

namespace {
constexpr int kFrequencyRows = kGridChannels;
constexpr int kTxColumn = 1;
constexpr int kRxColumn = 2;
}  // namespace

void MainDialog::BindLevelPages() {
    const PrivilegeLevel level = app_.Options().level;
    if (ShowsFrequenciesPage(level)) sheet_->AddPage(CoordinatorPage::Frequencies);
    if (ShowsFactoryPage(level)) sheet_->AddPage(CoordinatorPage::Factory);

    auto* memoryMap = static_cast<MemoryMapPage*>(sheet_->page(CoordinatorPage::MemoryMap));
    connect(memoryMap, &MemoryMapPage::byteEdited, this, [this](int offset, int value) {
        model_->Coordinator().WriteMemoryByte(offset, static_cast<uint8_t>(value));
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
            }
        });
    });

    connect(sheet_->page(CoordinatorPage::Factory), &Page::buttonClicked, this, [this](int id) {
        CCoordinator& coordinator = model_->Coordinator();
        Run([&, id] {
            if (id == kClearUserFieldsButton) {
                coordinator.ClearUserFields();
            } else if (id == kFactoryTestSettingsButton) {
                coordinator.ApplyFactoryTestSettings();
            } else if (id == kSetFactoryFrequenciesButton) {
                SetFactoryFrequenciesCommand(coordinator);
            }
        });
    });
}

// ---- The Frequencies grid as the coordinator sees it ----

void MainDialog::GetGridFrequencies(double rx[kGridChannels], double tx[kGridChannels]) {
    auto* page = static_cast<FrequenciesPage*>(sheet_->page(CoordinatorPage::Frequencies));
    ModemParameterSet* parameters = model_->Coordinator().GetParameterSet();
    const bool shown = sheet_->Shows(CoordinatorPage::Frequencies);
    for (int n = 0; n < kFrequencyRows; ++n) {
        rx[n] = tx[n] = 0.0;
        if (shown) {
            rx[n] = page->CellFrequency(n + 1, kRxColumn);
            tx[n] = page->CellFrequency(n + 1, kTxColumn);
        } else if (parameters != nullptr) {
            // Without the page the channels are those loaded.
            parameters->GetReal(pid::RxChannelId(n), rx[n]);
            parameters->GetReal(pid::TxChannelId(n), tx[n]);
        }
    }
}

void MainDialog::ClearGridFrequencies() {
    static_cast<FrequenciesPage*>(sheet_->page(CoordinatorPage::Frequencies))->ClearFrequencies();
}

void MainDialog::ResetFrequenciesPage() {
    auto* page = static_cast<FrequenciesPage*>(sheet_->page(CoordinatorPage::Frequencies));
    page->ClearFrequencies();
    page->SetChanged(false);
    // The next modem starts with both columns editable until its model says otherwise.
    page->SetTransmitEditable(true);
}

void MainDialog::SetTransmitColumnEditable(bool editable) {
    static_cast<FrequenciesPage*>(sheet_->page(CoordinatorPage::Frequencies))
        ->SetTransmitEditable(editable);
}

}  // namespace vxl::gui
