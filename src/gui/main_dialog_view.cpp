// The main window as the coordinator's view, as the sink of the pages' edits, the binding of
// its pages, and the workflows it supplies to the model (help, About, port choice, printing,
// the watch on the modem's device).
#include <QApplication>
#include <QTimer>

#include "app/config_app.h"
#include "app/report_jobs.h"
#include "coordinator/coordinator.h"
#include "gui/about_box.h"
#include "gui/event_pump.h"
#include "gui/export_channel_table_dialog.h"
#include "gui/frequencies_page.h"
#include "gui/help_window.h"
#include "gui/main_dialog.h"
#include "gui/memory_map_page.h"
#include "gui/page_registry.h"
#include "gui/port_dialog.h"
#include "gui/property_sheet.h"
#include "gui/report/report_output.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "ui/operator.h"
#include "util/result_codes.h"
#include "window/control_ids.h"
#include "window/level_page_actions.h"

namespace vxl::gui {

namespace {
constexpr const char* kMemoryMapPrintTip = "Print the memory map";
constexpr const char* kListingUnavailable =
    "Printing the memory map is not available in this version of VXL Configuration Software.";
// How often the window asks whether the modem's device is still there while it is idle: an
// unplugged adapter is noticed well within a second.
constexpr int kDeviceWatchMs = 250;
}  // namespace

void MainDialog::InstallDefaultWorkflows() {
    model_->SetHelp([this] { OpenHelp(); });
    model_->SetAbout([this] { ShowAbout(); });
    model_->SetPortChooser([this](bool firstRun) { return ChoosePort(firstRun); });
    // The firmware upgrade is the model's own: its file dialog comes through the operator.
    model_->SetConfigurationReportPrinter([this] {
        ReportJob job;
        if (MakeConfigurationReportJob(model_->Coordinator(), app_.Version(), job,
                                       model_->LevelName()) == rc::kOk)
            PrintReport(job);
    });
    model_->SetMemoryMapPrinter([this] {
        ReportJob job;
        if (MakeMemoryMapJob(model_->Coordinator(), app_.Version(), job) == rc::kOk)
            PrintReport(job);
    });
    deviceTimer_ = new QTimer(this);
    connect(deviceTimer_, &QTimer::timeout, this, &MainDialog::WatchDevice);
    deviceTimer_->start(kDeviceWatchMs);
}

// ---- CoordinatorView ----

void MainDialog::ValuesChanged(const ParameterChanges& changes) {
    CCoordinator& coordinator = model_->Coordinator();
    if (ModemParameterSet* parameters = coordinator.Settings().Parameters())
        sheet_->Refresh(changes, *parameters, editPage_, editId_);
    frequenciesPage()->SetTransmitEditable(coordinator.Settings().TransmitColumnEditable());
    RunUpdatePass();
}

void MainDialog::StateChanged() {
    CCoordinator& coordinator = model_->Coordinator();
    const bool loaded = coordinator.IsLoaded();
    if (sheet_->PagesEnabled() != loaded) sheet_->EnablePages(loaded);
    if (!coordinator.IsAttached()) {
        // Nothing to show: the marks go, the identification and the channels are emptied.
        sheet_->ClearChangedFlags();
        sheet_->page(SheetPage::Identification)->ClearTexts();
        frequenciesPage()->ClearFrequencies();
    }
    frequenciesPage()->SetTransmitEditable(coordinator.Settings().TransmitColumnEditable());
    RunUpdatePass();
}

// ---- MainDialogView ----

void MainDialog::MarkPageChanged(SheetPage page) {
    sheet_->page(page)->SetChanged(true);
}

void MainDialog::ClearPageMarks() {
    sheet_->ClearChangedFlags();
}

void MainDialog::ShowMemoryMapPage() {
    CCoordinator& coordinator = model_->Coordinator();
    const bool loaded = coordinator.IsAttached() && coordinator.Settings().Parameters() != nullptr;
    if (!sheet_->ShowMemoryMapPage(loaded) || !loaded) return;
    Page* page = sheet_->page(SheetPage::MemoryMap);
    if (QWidget* print = page->Control(control::kPrintMemoryMap))
        print->setToolTip(QString::fromLatin1(kMemoryMapPrintTip));
    page->Fill(*coordinator.Settings().Parameters());
}

// ---- EditSink: every edit goes to the coordinator at once; what it changed is shown again ----

void MainDialog::Edit(SheetPage page, int id, const std::function<void()>& edit) {
    editPage_ = page;
    editId_ = id;
    edit();
    editId_ = -1;
}

void MainDialog::EditInt(SheetPage page, int id, int value) {
    Edit(page, id, [&] { model_->Coordinator().Settings().SetInt(id, value); });
}

void MainDialog::EditBool(SheetPage page, int id, bool value) {
    Edit(page, id, [&] { model_->Coordinator().Settings().SetBool(id, value); });
}

void MainDialog::EditReal(SheetPage page, int id, double value) {
    Edit(page, id, [&] { model_->Coordinator().Settings().SetReal(id, value); });
}

void MainDialog::EditText(SheetPage page, int id, const std::string& text) {
    Edit(page, id, [&] { model_->Coordinator().Settings().SetText(id, text); });
}

// ---- The pages: their buttons go to the model, the grid pages' edits to the settings ----

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
        EditMemoryByte(model_->Coordinator(), offset, static_cast<uint8_t>(value));
    });
    connect(frequenciesPage(), &FrequenciesPage::frequencyEdited, this,
            [this](int id, double mhz) { EditChannelFrequency(model_->Coordinator(), id, mhz); });
}

FrequenciesPage* MainDialog::frequenciesPage() const {
    return static_cast<FrequenciesPage*>(sheet_->page(SheetPage::Frequencies));
}

// ---- Workflows ----

void MainDialog::OpenHelp() {
    // A window of the main window's own: a window without a parent takes no input while the
    // main window runs modally.
    if (!help_) help_ = new HelpWindow(this);
    help_->ShowTopic(QStringLiteral("contents"));
}

void MainDialog::ShowAbout() {
    AboutBox box(QString::fromStdString(app_.VendorLogoPath()), app_.Version(), this);
    box.exec();
}

int MainDialog::ChoosePort(bool firstRun) {
    return SelectSerialPort(&model_->Coordinator(), firstRun, PortDialogOver(this), portDetector_);
}

void MainDialog::PrintReport(const ReportJob& job) {
    PrintOrSave(job, printerName_ ? printerName_() : report::DefaultPrinterName(),
                askPdfPath_ ? askPdfPath_ : report::PdfFileDialog(this), report::RenderReport);
}

void MainDialog::WatchDevice() {
    // Only an idle window asks; a device lost in the middle of a command is that command's, and
    // while a window of its own is open over this one (the main window itself runs modally),
    // the question waits for it.
    if (model_->Busy() || Pumping()) return;
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != this)
        return;
    if (!model_->Coordinator().IsAttached()) return;
    Run([this] { model_->CheckDevice(); });
}

}  // namespace vxl::gui
