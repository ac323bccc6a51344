// The main window as the coordinator's view, as the sink of the pages' edits, and the
// workflows it supplies to the model (help, About, port choice, firmware upgrade).
#include <QFileDialog>
#include <QFileInfo>

#include "app/config_app.h"
#include "app/simple_port_selection.h"
#include "coordinator/coordinator.h"
#include "coordinator/firmware_upgrade.h"
#include "gui/about_box.h"
#include "gui/help_window.h"
#include "gui/main_dialog.h"
#include "gui/pages.h"
#include "gui/port_list_dialog.h"
#include "gui/property_sheet.h"
#include "link/port_probe.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "ui/operator.h"
#include "util/result_codes.h"

namespace vxl::gui {

namespace {
constexpr const char* kMemoryMapPrintTip = "Print the memory map";
constexpr const char* kListingUnavailable =
    "Printing the memory map is not available in this version of VXL Configuration Software.";
}  // namespace

void MainDialog::InstallDefaultWorkflows() {
    model_->SetHelp([this] { OpenHelp(); });
    model_->SetAbout([this] { ShowAbout(); });
    model_->SetPortChooser([this](bool firstRun) { return ChoosePort(firstRun); });
    model_->SetFirmwareUpgrade([this] { UpgradeFirmware(); });
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
    if (!help_) help_ = new HelpWindow();
    help_->ShowTopic(QStringLiteral("contents"));
}

void MainDialog::ShowAbout() {
    AboutBox box(QString::fromStdString(app_.VendorLogoPath()), app_.Version(), this);
    box.exec();
}

int MainDialog::ChoosePort(bool firstRun) {
    std::vector<ProbedPort> ports;
    {
        WaitCursor wait;
        ports = ProbeAllPorts();
    }
    const int current = model_->Coordinator().GetPort();
    return SelectSerialPort(
        current, ports, [this, firstRun](const std::vector<ProbedPort>& list, int selected) {
            PortListDialog dialog(list, selected, firstRun, this);
            return dialog.exec() == QDialog::Accepted ? dialog.chosenPort() : -1;
        });
}

void MainDialog::UpgradeFirmware() {
    std::string& folder = model_->InitialFirmwareDir();
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Upgrade Modem Firmware"), QString::fromStdString(folder),
        tr("Firmware upgrade files (*.fw);;All files (*)"));
    if (path.isEmpty()) return;
    folder = QFileInfo(path).absolutePath().toStdString();
    std::string response;
    UpgradeModemFirmware(model_->Coordinator(), path.toStdString(), true, response);
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
