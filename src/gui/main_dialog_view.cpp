// The main window as the coordinator's view, as the sink of the pages' edits, and the
// workflows it supplies to the model (help, About, port choice, printing, the watch on the
// modem's device).
#include <QApplication>
#include <QTimer>

#include "app/config_app.h"
#include "app/report_jobs.h"
#include "coordinator/coordinator.h"
#include "gui/about_box.h"
#include "gui/event_pump.h"
#include "gui/help_window.h"
#include "gui/main_dialog.h"
#include "gui/pages.h"
#include "gui/port_dialog.h"
#include "gui/property_sheet.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "ui/operator.h"
#include "util/result_codes.h"

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
    SetMemoryMapPrinter([this] {
        ReportJob job;
        if (MakeMemoryMapJob(model_->Coordinator(), app_.Version(), job) == rc::kOk)
            PrintReport(job);
    });
    deviceTimer_ = new QTimer(this);
    connect(deviceTimer_, &QTimer::timeout, this, &MainDialog::WatchDevice);
    deviceTimer_->start(kDeviceWatchMs);
}

// ---- CoordinatorView ----

int MainDialog::FillPage(CoordinatorPage page, ModemParameterSet& parameters) {
    // A page that is not among the tabs is filled when it is added.
    if (!sheet_->Shows(page)) return rc::kOk;
    return sheet_->page(page)->Fill(parameters);
}

void MainDialog::ShowInt(int id, int value) {
    sheet_->ShowInt(id, value);
}

void MainDialog::ShowReal(int id, double value) {
    sheet_->ShowReal(id, value);
}

void MainDialog::ShowBool(int id, bool value) {
    sheet_->ShowBool(id, value);
}

void MainDialog::ShowText(int id, const std::string& text) {
    sheet_->ShowText(id, QString::fromStdString(text));
}

void MainDialog::SetRealRange(int id, double minimum, double maximum, int decimals) {
    sheet_->SetRealRange(id, minimum, maximum, decimals);
}

void MainDialog::EnablePages(bool enable) {
    sheet_->EnablePages(enable);
}

void MainDialog::ClearModifiedMarks() {
    sheet_->ClearChangedFlags();
}

void MainDialog::ClearIdentificationTexts() {
    sheet_->page(CoordinatorPage::Identification)->ClearTexts();
}

// ---- MainDialogView ----

void MainDialog::MarkPageChanged(CoordinatorPage page) {
    sheet_->page(page)->SetChanged(true);
}

void MainDialog::ShowMemoryMapPage() {
    CCoordinator& coordinator = model_->Coordinator();
    const bool loaded = coordinator.IsAttached() && coordinator.GetParameterSet() != nullptr;
    if (!sheet_->ShowMemoryMapPage(loaded) || !loaded) return;
    Page* page = sheet_->page(CoordinatorPage::MemoryMap);
    if (QWidget* print = page->Control(kMemoryMapPrintButton))
        print->setToolTip(QString::fromLatin1(kMemoryMapPrintTip));
    page->Fill(*coordinator.GetParameterSet());
}

// ---- EditSink: every edit goes to the coordinator at once; a refused one is put back by the
// refresh that follows ----

void MainDialog::EditInt(int id, int value) {
    model_->Coordinator().SetIntParameter(id, value);
}

void MainDialog::EditBool(int id, bool value) {
    model_->Coordinator().SetBoolParameter(id, value);
}

void MainDialog::EditReal(int id, double value) {
    model_->Coordinator().SetRealParameter(id, value);
}

void MainDialog::EditText(int id, const std::string& text) {
    model_->Coordinator().SetTextParameter(id, text);
}

void MainDialog::RefreshLinkPage() {
    model_->Coordinator().RefreshLinkPage();
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
    if (!printerName_ && !askPdfPath_) {
        report::PrintReportFromWindow(this, job);
        return;
    }
    report::PrintOrSave(job, printerName_ ? printerName_() : std::string(),
                        askPdfPath_ ? askPdfPath_ : report::PdfFileDialog(this));
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

void MainDialog::PrintMemoryMap() {
    if (model_->Busy() || !model_->Coordinator().IsAttached()) return;
    if (printMemoryMap_) {
        WaitCursor wait;
        printMemoryMap_();
        return;
    }
    Ui().MessageBox(kListingUnavailable, "Print", MsgIcon::Exclamation, MsgButtons::Ok);
}

}  // namespace vxl::gui
