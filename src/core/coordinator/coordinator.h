// The Configuration Coordinator: the one object that ties the serial port, the modem, the
// modem's memory image and the parameter set together. Pages, the main dialog and the headless
// run never touch the modem or the port themselves; they call the coordinator, which returns a
// result code (0 = success) and, when a load step fails, records a diagnostic location.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "coordinator/coordinator_view.h"

class CModemBase;
class ISerialLink;
namespace vxl {
struct BackupImage;
}
class ModemMemoryImage;
class ModemParameterSet;

namespace vxl {

// Opens serial port `port` for a modem (9600 baud, 8 data bits, no parity, one stop bit) with
// its monitor not yet started. On failure returns nullptr and the port's error code.
using LinkFactory = std::function<std::unique_ptr<ISerialLink>(int port, int& lastError)>;

// Creates the modem object on an open link, captures it by `captureMethod` and identifies it.
// On failure `location` names the failing step. Result 90 delivers a modem all the same.
using ModemFactory =
    std::function<int(std::string& status, ISerialLink* link, std::unique_ptr<CModemBase>& modem,
                      int captureMethod, std::string& location, bool interactive)>;

// The demo modem (no hardware).
using DemoModemFactory = std::function<std::unique_ptr<CModemBase>()>;

// The factories the program uses: a CComPort, CModem::CreateModem and CDemoModem.
LinkFactory DefaultLinkFactory();
ModemFactory DefaultModemFactory();
DemoModemFactory DefaultDemoModemFactory();

}  // namespace vxl

class CCoordinator {
  public:
    CCoordinator();
    ~CCoordinator();
    CCoordinator(const CCoordinator&) = delete;
    CCoordinator& operator=(const CCoordinator&) = delete;

    // Start-up: port and capture method, each taken from the preferences when not given (< 0).
    // Returns 99 for a capture method other than 1 or 3 (the method then stays unset).
    int Init(int port, int captureMethod);
    // n >= 0: port := n and the preference ComPortNum := n.
    void SetPort(int n);
    // n >= 0: capture method := n and the preference CaptureMethod := n.
    void SetCaptureMethod(int n);
    int GetPort() const { return port_; }
    int GetCaptureMethod() const { return captureMethod_; }

    // The pages to keep up to date (not owned); nullptr for a run without windows.
    void SetView(vxl::CoordinatorView* view) { view_ = view; }
    vxl::CoordinatorView* GetView() const { return view_; }

    // Replace how ports are opened and modems captured (tests attach without hardware).
    void SetLinkFactory(vxl::LinkFactory factory);
    void SetModemFactory(vxl::ModemFactory factory);
    void SetDemoModemFactory(vxl::DemoModemFactory factory);

    // ---- Load and close ----
    // Opens the port and captures the modem. 0, or 90 (model ID missing; the modem stays
    // attached), or the failing step's code: 75 no port configured, the port's error, 74 no
    // modem delivered, or the capture's code.
    int Attach(std::string& responseText, bool interactive);
    // Reads the modem's memory and builds the parameter set over a copy of it. Settings that do
    // not match their checksum even when read twice are offered to the operator (Continue or
    // Cancel) when `interactive`; Cancel fails the read with 73. Without a window they are
    // loaded and IsChecksumMismatch tells; the caller decides.
    int Read(std::string& responseText, bool interactive);
    // Releases the modem (Reset unless keepOpen) and forgets everything about it. Always 0.
    int Detach(std::string& responseText, bool keepOpen = false);
    // Loads the demo modem; 103 while a modem is attached.
    int StartDemo();
    // The post-load adjustment of a modem whose firmware changed since it was last seen.
    int FirmwareFixUp(std::string& responseText);

    bool IsModified() const;
    bool IsAttached() const { return modem_ != nullptr; }
    bool IsLoaded() const { return parameters_ != nullptr; }
    bool IsProgrammed() const { return programmed_; }
    // The Model value; -1 when nothing is loaded or it cannot be read.
    int GetModel() const;
    // Only this program's own model family (Model 5) is kept for editing.
    bool IsSupportedModel() const;
    // The attached modem's type (0 without a modem): 4 is the family whose loader this program
    // drives, so only such a modem is offered the firmware upgrade.
    int GetAttachedModemType() const;
    // Program may be offered: there are changes, and a modem whose model identification is
    // missing or whose current channel is not one of the 16 is never written.
    bool MayProgram() const;
    // "Unit:number" of the last failing load step.
    const std::string& GetDiagnosticLocation() const { return location_; }
    // The settings of the last Read did not match their checksum (a byte damaged on the line).
    bool IsChecksumMismatch() const { return checksumMismatch_; }
    // The device that went away during the last failing step (empty when none did). Such a
    // step returns the device's system error instead of its own code, and one interrupted by
    // a signal returns rc::kInterrupted.
    const std::string& GetLostDevice() const { return lostDevice_; }
    // A failed step's result as the operator should see it: rc::kInterrupted for an
    // interrupted run, the system error for a device that went away (naming the device in
    // `responseText`), else `result` unchanged. For workflows that drive the modem themselves.
    int ExplainFailure(int result, std::string& responseText);
    // Asked now and then while the window is idle: when the attached modem's device has gone
    // away (an adapter unplugged while nothing was sent), releases the modem without sending
    // anything, drops the port's own warning (the caller reports the loss in its words),
    // records the device for GetLostDevice and returns its system error. 0 while the device is
    // there or no port is open.
    int ReleaseLostDevice();

    // Fills every page from the parameter set (first failure stops and is returned).
    int RefreshPages();
    int RefreshLinkPage();

    // ---- Program, undo, defaults ----
    // Writes the working image into the modem and commits it. Before writing, the settings the
    // modem holds are saved as a backup (a real modem only); a backup that cannot be written
    // stops the Program with 132 and nothing is sent. After the commit the settings are read
    // back and compared unless verification is off: a difference gives 131 and the changes stay
    // pending. A failed write or commit is followed by a read-back that tells whether the modem
    // holds the new settings (GetProgramNote).
    int Program(std::string& responseText);
    int Undo();
    int ApplyDefaults();
    int ClearUserFields();
    int ApplyFactoryTestSettings();
    // 96 when there is no factory channel table for the modem's model and frequency range.
    int SetFactoryFrequencies();

    // ---- Backups, verification, restore ----
    // The folder that holds the backups of every modem (default: vxl::DefaultBackupRoot()).
    void SetBackupRoot(std::string root) { backupRoot_ = std::move(root); }
    const std::string& GetBackupRoot() const { return backupRoot_; }
    // Verification after Program: from the preference VerifyAfterProgramming at Init; with
    // `remember` the choice is stored there too (the menu item), without it only for this run
    // (the command line).
    void SetVerifyAfterProgramming(bool on, bool remember);
    bool VerifiesAfterProgramming() const { return verify_; }
    // What the last Program found out beyond its result code: why no backup was written, the
    // verification's difference, or whether the modem holds the new settings after a failed
    // write or commit. Empty after a Program that went well.
    const std::string& GetProgramNote() const { return programNote_; }
    // The backup file written by the last Program or BackUpModem (empty when none).
    const std::string& GetLastBackupPath() const { return lastBackupPath_; }
    // Saves the settings the modem is known to hold as a backup (read from the modem first
    // when nothing is loaded). 0, or 132 with the reason in GetProgramNote().
    int BackUpModem(std::string& responseText);
    // The settings the modem is known to hold, as a backup taken now; false without a load.
    bool MakeBackup(vxl::BackupImage& backup) const;
    // Puts a backup into the working image and refreshes the pages; Program is left to the
    // caller. Refused with 133 and a reason when the backup is of another modem type or memory
    // size, or (unless `force`) of another serial number. A forced restore keeps this modem's
    // identity bytes (power and bandwidth, serial number, model and band).
    int RestoreBackup(const vxl::BackupImage& backup, bool force, std::string& reason);
    // The serial number as the Identification page shows it (empty without a load).
    std::string GetSerialNumberText() const;

    // ---- Edits from the pages ----
    int SetIntParameter(int id, int value);
    int SetBoolParameter(int id, bool value);
    int SetRealParameter(int id, double value);
    int SetTextParameter(int id, const std::string& text);
    // Writes one byte at the working image's base address + offset.
    int WriteMemoryByte(int offset, uint8_t value);

    // ---- Channel tables and export ----
    // A file that cannot be read or is damaged changes nothing; `problem` (when given) says
    // what is wrong with it.
    int ImportChannelTable(const std::string& path, std::string* problem = nullptr);
    // Writes the channels shown in the Frequencies grid (the loaded ones without a view). A
    // file that cannot be written is left as it was; `problem` (when given) says why.
    int ExportChannelTable(const std::string& path, uint32_t serialNumber,
                           std::string* problem = nullptr);
    int ClearChannelTable();
    // Writes XmlFileName(name); 0, 57 with nothing loaded, or a file error code with the reason
    // in `problem`.
    int ExportXmlParameters(const std::string& name, std::string* problem = nullptr);

    // ---- What the pages, the reports and the firmware upgrade read ----
    ModemParameterSet* GetParameterSet() const { return parameters_.get(); }
    CModemBase* GetModem() const { return modem_.get(); }
    ModemMemoryImage* GetWorkingImage() const { return working_.get(); }
    ISerialLink* GetLink() const { return link_.get(); }

  private:
    // `definitionsLocation` receives where the definitions were looked up.
    int BuildParameterSet(std::string* definitionsLocation = nullptr);
    void DropLoadedState();
    void CloseLink();
    int EnsureLoaded() const;
    int ProgramImage(std::string& responseText);
    void DescribeBackup(const ModemMemoryImage& image, vxl::BackupImage& backup) const;
    int WriteBackup(const vxl::BackupImage& backup);
    int NoBackup(const char* why);
    int ReadConfiguration(const ModemMemoryImage& layout, const char* title, const char* what,
                          std::string& responseText, std::vector<uint8_t>& bytes);
    // Reads the N + E configuration bytes back; 0 and the number of bytes that differ from
    // `written` with the first such address, or the failing read's code.
    int ReadBack(const ModemMemoryImage& written, std::string& responseText, int& differing,
                 int& firstAddress);
    int Verify(std::string& responseText);
    void ExplainFailedProgram(int code, bool committing);
    bool AsksEtsQuestion() const;
    int ApplyFirmwareChange(double previous, double current, bool& changed);

    // Cross-parameter rules of SetIntParameter.
    void ApplyRules(int id, int value);
    void ApplyModelRule(int value);
    void ApplyBandwidthRule(int value);
    void ApplyProtocolModeRule(int value);
    void ApplyModulationRule(int modulation);
    void ApplyLinkRateRule(int linkRate);
    void ReloadDefinitions();
    int FinishEdit(int result);

    // Values and view helpers that tolerate a failed read (the value then stays `fallback`).
    int IntOf(int id, int fallback = -1) const;
    bool BoolOf(int id) const;
    double RealOf(int id) const;
    int ModemType() const;
    void ShowCurrentInt(int id);
    void ShowCurrentBool(int id);
    void ShowCurrentReal(int id);
    void ShowModemId();
    void FillPage(vxl::CoordinatorPage page);
    void FitLinkRateToModulation();
    void UpdateDialog();
    int SetIfAvailable(int id, int value);

    int port_ = -1;
    int captureMethod_ = -1;
    bool programmed_ = false;
    bool verify_ = true;
    // Set when a verification found the modem holding other settings than those written: the
    // changes count as pending until a Program succeeds or the modem is read again.
    bool unverified_ = false;
    std::string backupRoot_;
    std::string programNote_;
    std::string lastBackupPath_;
    bool checksumMismatch_ = false;
    std::string location_;
    std::string lostDevice_;
    vxl::CoordinatorView* view_ = nullptr;

    vxl::LinkFactory linkFactory_;
    vxl::ModemFactory modemFactory_;
    vxl::DemoModemFactory demoFactory_;

    // Destroyed in reverse order: the parameter set before the images, the modem before the
    // link it talks through.
    std::unique_ptr<ISerialLink> link_;
    std::unique_ptr<CModemBase> modem_;
    // The settings the modem is known to hold: as read, or as last programmed successfully.
    std::unique_ptr<ModemMemoryImage> programmedImage_;
    std::unique_ptr<ModemMemoryImage> working_;
    std::unique_ptr<ModemParameterSet> parameters_;
};
