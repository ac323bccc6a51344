// The application object: reads the preferences and the vendor identity, parses the command
// line, hands port and capture method to the coordinator, and runs the interactive or a
// headless path.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/version.h"
#include "backup/backup_file.h"
#include "coordinator/coordinator.h"
#include "coordinator/profile_apply.h"
#include "params/channel_plan_csv.h"
#include "reports/report_document.h"
#include "util/preferences.h"

namespace vxl {

// Exit statuses of the program.
constexpr int kExitOk = 0;
constexpr int kExitRunFailed = 1;  // a headless run failed; one line on stderr says why
constexpr int kExitBadCommandLine = 2;
constexpr int kExitNoDisplay = 3;  // the window was wanted but there is no display to show it
// The modem was programmed, but entries of a settings profile were refused (listed on standard
// error).
constexpr int kExitEntriesRefused = 4;
// A dry run found settings that would change (listed on standard output); nothing was
// programmed. A dry run that finds none ends with kExitOk.
constexpr int kExitWouldChange = 5;

// The line printed when the window cannot be shown: what to run instead.
std::string NoDisplayText(const std::string& why);

class CConfigApp {
  public:
    CConfigApp();
    ~CConfigApp();
    CConfigApp(const CConfigApp&) = delete;
    CConfigApp& operator=(const CConfigApp&) = delete;

    // Runs start-up with the arguments after the program name; returns the exit status.
    int Run(const std::vector<std::string>& args);

    // The interactive path (the main window). Without one the program says so and ends.
    using InteractiveRun = std::function<int(CConfigApp&)>;
    void SetInteractiveRun(InteractiveRun run) { interactiveRun_ = std::move(run); }
    // What draws the printed reports of the headless runs (the core itself draws nothing).
    void SetReportRenderer(ReportRenderer renderer) { reportRenderer_ = std::move(renderer); }
    // Prepares the interactive path once the command line is parsed, before its echo box and
    // the logo: a window front end opens the display and installs its operator interface
    // there. A status other than kExitOk ends the program with that status. Headless runs never
    // call it.
    void SetInteractiveOpen(InteractiveRun open) { interactiveOpen_ = std::move(open); }
    // True when the command line asks for a run without windows.
    bool IsHeadless() const;
    // Where preferences live; by default the per-user store of the company and program.
    void SetPreferencePath(const std::string& path) { preferencePath_ = path; }
    // Where messages of the headless runs go (standard error by default).
    void SetErrorStream(std::FILE* err) { err_ = err; }
    // Where their results go (standard output by default).
    void SetOutputStream(std::FILE* out) { out_ = out; }

    CCoordinator& Coordinator() { return *coordinator_; }
    const StartupOptions& Options() const { return options_; }
    bool KeepOpen() const { return options_.keepopen; }
    const std::string& HelpFileName() const { return helpFileName_; }
    const std::string& VendorName() const { return vendorName_; }
    const std::string& VendorLogoPath() const { return vendorLogoPath_; }
    const std::string& InstallIniPath() const { return installIniPath_; }
    const std::string& InstallDir() const { return installDir_; }
    const VersionTexts& Version() const { return version_; }
    const std::string& BuildText() const { return version_.buildText; }
    // The last modem response of a headless run (never shown to the operator).
    const std::string& LastResponse() const { return response_; }
    // The result code of the last headless run (0 = success).
    int LastResult() const { return lastResult_; }

  private:
    void ReadVendorIdentity();
    int RunPaths();
    bool HasChannelWork() const;
    bool HasReadOutWork() const;
    int StealthRun();
    // Writes one report of the loaded modem as a PDF file; false after reporting a failure.
    bool WriteReport(const char* what, const ReportJob& job, int jobResult,
                     const std::string& path);
    int UpgradeRun();
    int ChannelRun();
    int ListPorts();
    // A headless run's start: a usable port, capture, read. kExitOk with the modem loaded, or
    // the exit status after reporting the failure with the modem released.
    int CaptureAndRead(const char* what, bool acceptMissingModelId, bool acceptBadOffset);
    // Releases the modem as a normal end does (its reset unless keepopen). A signal noted
    // before is taken first, so that the reset still goes out.
    void Release();
    // Reports a failed headless run as one line and returns the exit status (128 + the signal
    // for a run that was interrupted). `detail` says more than the code's text; what the
    // coordinator found out about a failed Program is added.
    int Fail(const char* what, int code, const std::string& detail = std::string());
    // Files the runs will write that cannot be written: reported before any modem is touched.
    int CheckOutputTargets();
    // Tells once that the preferences file was unusable and set aside.
    void ShowPreferencesNote();
    // A file named on the command line that cannot be used: reported before the modem is
    // touched.
    int FailFile(const char* what, int code, const std::string& path, const std::string& problem);
    // The settings just read did not match their checksum: one warning line.
    void WarnChecksumMismatch();
    // The line and exit status of an interrupted run; kExitOk when none was interrupted.
    int ReportInterrupt(const char* what);
    // The input files of the settings run, read before the modem is touched.
    int ReadSettingsFiles(const char* what);
    // The settings run's own steps on the loaded modem: profile saved, backup restored, profile
    // applied. 0, or the failing step's code with `detail`.
    int SaveProfileStep(std::string& detail);
    int RestoreStep(std::string& detail);
    int LoadProfileStep();
    // The settings run changes the modem's settings (defaults, an import, a restore or a
    // profile); a run that only reads them never programs.
    bool ChangesSettings() const;
    // Programs the changes once (when there are any) and says so on standard output.
    int ProgramChanges();
    // The dry run's end instead: lists what would change; kExitOk or kExitWouldChange.
    int ReportDryRun();
    // The channel-table and channel-plan files written from the modem as read.
    int ExportStep(std::string& detail);
    // The diagnostic trace of `trace FILE`: started before anything touches the modem,
    // written when the program ends.
    int StartTrace();
    void EndTrace();

    VersionTexts version_;
    std::unique_ptr<CCoordinator> coordinator_;
    std::unique_ptr<PreferenceStore> prefs_;
    std::unique_ptr<ScopedPrefs> prefsScope_;
    StartupOptions options_;
    std::string preferencePath_;
    std::string helpFileName_;
    std::string installDir_;
    std::string installIniPath_;
    std::string vendorName_;
    std::string vendorLogoPath_;
    std::string response_;
    std::string preferencesNote_;
    int lastResult_ = 0;
    // What the settings run read before the capture.
    BackupImage restoreBackup_;
    Profile loadProfile_;
    ChannelPlan importPlan_;
    size_t refusedEntries_ = 0;
    int interrupted_ = 0;               // the signal that stopped the run
    bool interruptedInLoader_ = false;  // ... while the modem ran its boot loader
    bool released_ = false;             // the modem was attached when the run ended
    InteractiveRun interactiveRun_;
    ReportRenderer reportRenderer_;
    InteractiveRun interactiveOpen_;
    std::FILE* err_ = stderr;
    std::FILE* out_ = stdout;
};

}  // namespace vxl
