#include "app/config_app.h"

#include "app/attach_failure.h"
#include "app/diagnostic_trace.h"
#include "app/install_dir.h"
#include "app/switch_table.h"
#include "coordinator/firmware_upgrade.h"
#include "coordinator/safety_commands.h"
#include "link/port_table.h"
#include "params/definitions.h"
#include "reports/xml_export.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/ini_file.h"
#include "util/interrupt.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace vxl {

namespace {
constexpr int kLogoMs = 3000;

// The text of a headless run's result: what the operator would read in the window, on one line.
// The system's own errors (codes below 50) of opening the port say why, naming the device.
std::string RunFailureText(int code, int port, const std::vector<int>& softBreakRates) {
    if (!softBreakRates.empty()) return SoftBreakNoAnswerText(port, softBreakRates);
    if (code == rc::kNothingReceived)
        return "Unable to connect to modem. Please check your connection, power-cycle your "
               "modem, and retry.";
    if (IsSystemError(code) && code != rc::kInterrupted) return PortFailureText(code, port);
    return ErrorText(code);
}

// A message of several lines as one: each line ends as a sentence.
std::string OneSentenceLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != '\n') {
            out += c;
        } else if (!out.empty() && out.back() != ' ') {
            if (out.back() != '.' && out.back() != ':') out += '.';
            out += ' ';
        }
    }
    return out;
}

// Modem replies can hold any byte; the report line shows printable characters only.
std::string Printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
    return out;
}
}  // namespace

std::string NoDisplayText(const std::string& why) {
    return "vxlconf: cannot open the window (" + why +
           "); without a display use the headless switches: stealth NAME, upgrade FILE, "
           "export FILE, import FILE, defaults, ports ('vxlconf help' explains them)";
}

CConfigApp::CConfigApp() : version_(ProgramVersion()), coordinator_(new CCoordinator) {}

CConfigApp::~CConfigApp() {
    // The coordinator releases whatever modem and port it still holds while the preferences
    // it may write are still installed.
    coordinator_.reset();
}

void CConfigApp::ReadVendorIdentity() {
    installDir_ = ResolveInstallDir(Prefs().GetText(kPrefInstallDir, ""), ExecutablePath());
    installIniPath_ = installDir_ + "/" + kInstallIniName;
    vendorName_ = ReadProfileString(installIniPath_, "General", "VendorName", "", 64);
    vendorLogoPath_ =
        installDir_ + "/" + ReadProfileString(installIniPath_, "General", "VendorLogo", "", 64);
    SetDefinitionsPath(installIniPath_);
}

int CConfigApp::Run(const std::vector<std::string>& args) {
    helpFileName_ = "VXL.hlp";

    // A second Run replaces the store: its scope goes first, so the old store is not put back.
    prefsScope_.reset();
    prefs_ = std::make_unique<PreferenceStore>(
        preferencePath_.empty() ? PreferenceStore::DefaultPath(version_.companyName, kProgramName)
                                : preferencePath_);
    prefsScope_ = std::make_unique<ScopedPrefs>(*prefs_);
    // Pinned port numbers must not come from a damaged file.
    preferencesNote_ = prefs_->SetAsideIfUnusable();
    PortTable::Instance().Build(*prefs_);

    ReadVendorIdentity();

    options_ = ParseCommandLine(args);
    const bool headless = IsHeadless();
    if (!options_.error.empty()) {
        ShowPreferencesNote();
        std::fprintf(err_, "vxlconf: %s\n", Printable(options_.error).c_str());
        return kExitBadCommandLine;
    }
    if (!options_.unknown.empty()) {
        std::string words;
        for (const std::string& word : options_.unknown) words += " '" + word + "'";
        std::fprintf(err_, "vxlconf: ignored, not a switch:%s ('vxlconf help' lists them)\n",
                     Printable(words).c_str());
    }
    if (!options_.device.empty())
        options_.port = PortTable::Instance().AssignDevice(options_.device);
    if (!headless && interactiveOpen_) {
        if (int status = interactiveOpen_(*this); status != kExitOk) {
            ShowPreferencesNote();
            return status;
        }
    }
    ShowPreferencesNote();
    if (options_.echoWanted) {
        if (headless) {
            std::fprintf(err_, "%s\n", Printable(options_.echo).c_str());
        } else {
            Ui().MessageBox(options_.echo, "CMD LINE ARGS", MsgIcon::None, MsgButtons::Ok);
        }
    }
    if (options_.help) {
        std::fprintf(out_, "%s", CommandLineUsage().c_str());
        return kExitOk;
    }
    if (options_.version) {
        std::fprintf(out_, "vxlconf (%s) %s %s\n%s %s\n", version_.productName.c_str(),
                     version_.versionText.c_str(), version_.buildText.c_str(),
                     version_.companyName.c_str(), version_.legalNotice.c_str());
        return kExitOk;
    }

    coordinator_->Init(options_.port, options_.captureMethod);
    if (options_.noverify) coordinator_->Programming().SetVerifyAfterProgramming(false, false);
    if (options_.fullwrite) coordinator_->Programming().SetFullWrite(true);

    if (int status = StartTrace(); status != kExitOk) return status;
    if (!options_.nologo && !headless) Ui().ShowLogo(vendorLogoPath_, kLogoMs);

    const int status = RunPaths();
    EndTrace();
    return status;
}

int CConfigApp::StartTrace() {
    if (options_.traceFile.empty()) return kExitOk;
    const FileResult started =
        GetWireTrace().Start(options_.traceFile, DiagnosticTraceFields(version_, *coordinator_));
    if (started.ok()) return kExitOk;
    return FailFile("diagnostic trace", started.code, options_.traceFile, started.reason);
}

void CConfigApp::EndTrace() {
    // A trace started here or from the window's Help menu ends with the program.
    WireTrace& trace = GetWireTrace();
    if (!trace.IsRecording()) return;
    const std::string path = trace.Path();
    const FileResult written = trace.Stop();
    if (!written.ok())
        std::fprintf(err_, "vxlconf: the diagnostic trace could not be written: %s\n",
                     Printable(FileErrorText(written, path)).c_str());
    else if (IsHeadless())
        std::fprintf(out_, "Diagnostic trace written to %s\n", path.c_str());
}

void CConfigApp::ShowPreferencesNote() {
    if (preferencesNote_.empty()) return;
    Ui().MessageBox(preferencesNote_, "Preferences", MsgIcon::Exclamation, MsgButtons::Ok);
    preferencesNote_.clear();
}

bool CConfigApp::HasReadOutWork() const {
    return options_.stealth || !options_.reportFile.empty() || !options_.memoryMapFile.empty();
}

bool CConfigApp::IsHeadless() const {
    return options_.headless;
}

bool CConfigApp::HasChannelWork() const {
    return options_.defaults || !options_.importFile.empty() || !options_.exportFile.empty() ||
           !options_.restoreFile.empty() || !options_.saveProfileFile.empty() ||
           !options_.loadProfileFile.empty() || !options_.exportCsvFile.empty() ||
           !options_.importCsvFile.empty();
}

int CConfigApp::RunPaths() {
    if (options_.listPorts) return ListPorts();
    if (HasReadOutWork() || !options_.upgradeFile.empty() || HasChannelWork()) {
        // Ctrl-C and its kin stop the protocol at its next exchange; the modem is released.
        InterruptHandlers handlers;
        // Headless runs go in this order; each needs the one before it to have succeeded. No
        // modem is touched while a file to be written cannot be.
        int status = CheckOutputTargets();
        if (status == kExitOk && !options_.upgradeFile.empty()) status = UpgradeRun();
        if (status == kExitOk && HasChannelWork()) status = ReportInterrupt("run");
        if (status == kExitOk && HasChannelWork()) status = ChannelRun();
        if (status == kExitOk && HasReadOutWork()) status = ReportInterrupt("run");
        if (status == kExitOk && HasReadOutWork()) status = StealthRun();
        if (status == kExitOk) status = ReportInterrupt("run");
        return status;
    }
    if (interactiveRun_) return interactiveRun_(*this);
    std::fprintf(err_,
                 "vxlconf: this build has no window front end; 'vxlconf help' lists the "
                 "headless switches\n");
    return kExitOk;
}

void CConfigApp::Release() {
    if (interrupted_ == 0) interrupted_ = TakeInterrupt(&interruptedInLoader_);
    // The reset's own reply must not replace the response of the step that failed.
    std::string ignored;
    released_ = coordinator_->IsAttached();
    if (released_) coordinator_->Detach(ignored, options_.keepopen);
}

int CConfigApp::ReportInterrupt(const char* what) {
    if (interrupted_ == 0) interrupted_ = TakeInterrupt(&interruptedInLoader_);
    if (interrupted_ == 0) return kExitOk;
    lastResult_ = rc::kInterrupted;
    const std::string modem = interruptedInLoader_ ? std::string(". ") + kLeftInBootLoader
                              : !released_         ? ""
                              : options_.keepopen
                                  ? "; the modem was left in command mode (keepopen)"
                                  : "; the modem was released";
    std::fprintf(err_, "vxlconf: %s interrupted by %s%s\n", what, InterruptName(interrupted_),
                 modem.c_str());
    return 128 + interrupted_;
}

void CConfigApp::WarnChecksumMismatch() {
    std::fprintf(err_,
                 "vxlconf: warning: the settings read from the modem do not match their "
                 "checksum, even when read twice; a byte may have been damaged on the line\n");
}

int CConfigApp::FailFile(const char* what, int code, const std::string& path,
                         const std::string& problem) {
    lastResult_ = code;
    const std::string line = Format("vxlconf: %s failed: code %d: %s", what, code,
                                    FileErrorText(code, path, problem).c_str());
    std::fprintf(err_, "%s; the modem was not touched\n", Printable(line).c_str());
    return kExitRunFailed;
}

int CConfigApp::CheckOutputTargets() {
    const struct {
        const char* what;
        std::string path;
    } targets[] = {
        {"XML export", options_.stealth ? XmlFileName(options_.stealthName) : std::string()},
        {"channel table export", options_.exportFile},
        {"configuration report", options_.reportFile},
        {"memory-map listing", options_.memoryMapFile},
        {"settings profile", options_.saveProfileFile},
        {"channel plan export", options_.exportCsvFile},
    };
    for (const auto& target : targets) {
        if (target.path.empty()) continue;
        const FileResult checked = CheckOutputFile(target.path);
        if (!checked.ok()) return FailFile(target.what, checked.code, target.path, checked.reason);
    }
    return kExitOk;
}

int CConfigApp::CaptureAndRead(const char* what, bool acceptMissingModelId, bool acceptBadOffset) {
    CCoordinator& c = *coordinator_;
    if (c.Session().GetPort() < 1) {
        lastResult_ = rc::kStealthNoPort;
        std::fprintf(err_,
                     "vxlconf: %s failed: code %d: no serial port (give 'port N' or 'device "
                     "PATH')\n",
                     what, rc::kStealthNoPort);
        return kExitRunFailed;
    }
    int result = c.Attach(response_, false);
    if (result == rc::kModelIdMissing && acceptMissingModelId) result = rc::kOk;
    if (result == rc::kOk) {
        result = c.Read(response_, false);
        if (result == rc::kBadOffsetOrLength && acceptBadOffset) result = rc::kOk;
    }
    if (result == rc::kOk) return kExitOk;
    Release();
    return Fail(what, result);
}

int CConfigApp::Fail(const char* what, int code, const std::string& detail) {
    if (int status = ReportInterrupt(what); status != kExitOk) return status;
    lastResult_ = code;
    const ModemProgramming& programming = coordinator_->Programming();
    const std::string& lost = coordinator_->Session().GetLostDevice();
    if (!lost.empty()) {
        // What a failed Program found out about the modem says more than "retry".
        const std::string& note = programming.GetProgramNote();
        std::fprintf(
            err_, "vxlconf: %s failed: the serial device %s went away: %s (code %d)%s\n", what,
            Printable(lost).c_str(), ErrorText(code).c_str(), code,
            note.empty() ? "; connect it again and retry" : (". " + OneSentenceLine(note)).c_str());
        return kExitRunFailed;
    }
    const ModemSession& session = coordinator_->Session();
    std::string text = RunFailureText(code, session.GetPort(), session.GetSoftBreakRatesTried());
    if (!detail.empty()) text += (text.empty() || text.back() == '.' ? " " : ". ") + detail;
    text = ProgramFailureMessage(text, code, programming.GetProgramNote(),
                                 programming.NewSettingsStored());
    std::string line =
        Format("vxlconf: %s failed: code %d: %s", what, code, OneSentenceLine(text).c_str());
    std::string location = coordinator_->Session().GetDiagnosticLocation();
    if (!location.empty()) line += " (" + location + ")";
    if (!response_.empty()) line += " response: " + response_;
    std::fprintf(err_, "%s\n", Printable(line).c_str());
    return kExitRunFailed;
}

}  // namespace vxl
