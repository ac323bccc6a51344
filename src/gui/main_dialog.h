// The main window: a fixed-size dialog laid out in dialog units, with the workflow buttons, the
// vendor logo, the property sheet and a menu bar. It binds its widgets to MainDialogModel,
// shows the coordinator's values in the sheet, and hands the pages' edits to the coordinator.
#pragma once

#include <QDialog>
#include <QPointer>
#include <map>
#include <memory>

#include "coordinator/coordinator_view.h"
#include "gui/page.h"
#include "gui/report/window_print.h"
#include "ports/port_selection.h"
#include "window/main_dialog_model.h"
#include "window/page_plan.h"
#include "window/settings_menu_model.h"

class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QLabel;
class QTimer;

namespace vxl {
class CConfigApp;
}

namespace vxl::gui {

class PropertySheet;
class HelpWindow;
class FrequenciesPage;

class MainDialog : public QDialog, public CoordinatorView, public MainDialogView, public EditSink {
    Q_OBJECT
  public:
    explicit MainDialog(CConfigApp& app, QWidget* parent = nullptr);
    ~MainDialog() override;

    MainDialogModel& model() { return *model_; }
    PropertySheet* sheet() const { return sheet_; }
    FrequenciesPage* frequenciesPage() const;
    QPushButton* button(DialogButton id) const;
    QMenu* modemMenu() const { return modemMenu_; }
    QMenu* settingsMenu() const { return settingsMenu_; }
    SettingsMenuModel& settingsModel() { return *settings_; }
    // A further menu of the menu bar, placed before Help.
    QMenu* AddMenu(const QString& title);
    // Where Print sends the reports: the printer named (none when empty), else a PDF file at
    // the path asked for. By default the system's default printer and a file dialog.
    void SetPrintDestination(std::function<std::string()> printerName, AskPdfPath askPdfPath) {
        printerName_ = std::move(printerName);
        askPdfPath_ = std::move(askPdfPath);
    }
    // Where the port selection finds the host's serial devices besides the pinned ports.
    void SetPortDetector(PortDetector detector) { portDetector_ = std::move(detector); }

    // Runs the enabling pass now (the window runs it by itself when idle).
    void RunUpdatePass();

    // CoordinatorView: the pages read what changed from the coordinator's settings.
    void ValuesChanged(const ParameterChanges& changes) override;
    void StateChanged() override;

    // MainDialogView
    void MarkPageChanged(SheetPage page) override;
    void ClearPageMarks() override;
    void ShowMemoryMapPage() override;

    // EditSink
    void EditInt(SheetPage page, int id, int value) override;
    void EditBool(SheetPage page, int id, bool value) override;
    void EditReal(SheetPage page, int id, double value) override;
    void EditText(SheetPage page, int id, const std::string& text) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void ShowLogo();
    void BuildControls(QWidget* client);
    void BuildMenu();
    void BuildSettingsMenu();
    void BuildShortcuts();
    void InstallDefaultWorkflows();
    // Runs a command of the model and brings the window up to date after it.
    void Run(const std::function<void()>& command);
    void ApplyMenuState();
    void OpenHelp();
    void ShowAbout();
    int ChoosePort(bool firstRun);
    void PrintReport(const ReportJob& job);
    void WatchDevice();
    // The pages' buttons and the grid pages' edits.
    void BindPages();
    void TryExit();
    // Hands an edit to the coordinator; while it runs, the control it came from is kept as the
    // operator left it.
    void Edit(SheetPage page, int id, const std::function<void()>& edit);

    CConfigApp& app_;
    std::unique_ptr<MainDialogModel> model_;
    std::unique_ptr<SettingsMenuModel> settings_;
    QMenuBar* menuBar_ = nullptr;
    QMenu* modemMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QMenu* settingsMenu_ = nullptr;
    QAction* verifyAction_ = nullptr;
    QAction* restoreAction_ = nullptr;
    QAction* saveProfileAction_ = nullptr;
    QAction* loadProfileAction_ = nullptr;
    QAction* selectPortAction_ = nullptr;
    QAction* upgradeAction_ = nullptr;
    QAction* powerOnAction_ = nullptr;
    QAction* softBreakAction_ = nullptr;
    PropertySheet* sheet_ = nullptr;
    QLabel* logo_ = nullptr;
    std::map<DialogButton, QPushButton*> buttons_;
    QTimer* idleTimer_ = nullptr;
    QPointer<HelpWindow> help_;
    std::function<std::string()> printerName_;
    AskPdfPath askPdfPath_;
    PortDetector portDetector_ = DetectSerialPorts;
    QTimer* deviceTimer_ = nullptr;
    bool firstShow_ = true;
    // The page and parameter of the edit being handed on (-1: none).
    SheetPage editPage_ = SheetPage::Identification;
    int editId_ = -1;
};

}  // namespace vxl::gui
