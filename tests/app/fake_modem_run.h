// vxlconf run in this process: preferences and installation folder (with the shipped definitions
// file) in a temporary folder, standard output and error kept, and on port 3 a fake modem on a
// fake line in simulated time (a "VXL" of firmware 2.20, serial number 1427259, channel 0 on
// 455.0 MHz both ways).
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "coordinator/coordinator_harness.h"
#include "support/fake_clock.h"
#include "support/fake_modem.h"
#include "support/fake_serial_link.h"
#include "support/golden.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/result_codes.h"

namespace vxl::test {

// Notes how many messages had been shown when the logo came up.
class LogoOrderOperator : public RecordingOperator {
  public:
    void ShowLogo(const std::string& path, int ms) override {
        messagesBeforeLogo = static_cast<int>(messages.size());
        RecordingOperator::ShowLogo(path, ms);
    }
    int messagesBeforeLogo = -1;
};

struct FakeModemRun {
    FakeModemRun() : scopedClock(clock), scopedUi(ui), modem(clock) {
        SetUpModem(modem);
        modem.Poke(0x10E, {0x02, 0x38, 0x60});  // channel 0 transmits on 455.0 MHz too
        modem.SetConfigChecksum();
        std::filesystem::copy(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini",
                              dir.File("vxlconf.ini"));
        PreferenceStore(prefsPath).SetText(kPrefInstallDir, dir.path());
    }
    // Runs vxlconf with `args`, on the fake modem (port 3, soft break) when `onModem`; otherwise
    // the ports are the machine's.
    int Run(std::vector<std::string> args, bool onModem = true) {
        if (onModem) args.insert(args.end(), {"port", "3", "softbreak"});
        app = std::make_unique<CConfigApp>();
        app->SetPreferencePath(prefsPath);
        std::FILE* err = std::tmpfile();
        std::FILE* out = std::tmpfile();
        app->SetErrorStream(err);
        app->SetOutputStream(out);
        if (renderer) app->SetReportRenderer(renderer);
        if (interactiveRun) app->SetInteractiveRun(interactiveRun);
        if (interactiveOpen) app->SetInteractiveOpen(interactiveOpen);
        app->Coordinator().Programming().SetBackupRoot(dir.File("backups"));
        if (onModem)
            app->Coordinator().Session().SetLinkFactory([this](int, int&) {
                auto link = std::make_unique<FakeSerialLink>(3);
                modem.Connect(*link);
                return std::unique_ptr<ISerialLink>(std::move(link));
            });
        const int status = app->Run(args);
        errors = Contents(err);
        output = Contents(out);
        return status;
    }
    static std::string Contents(std::FILE* file) {
        std::string text;
        std::rewind(file);
        for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
        std::fclose(file);
        return text;
    }

    TempDir dir;
    std::string prefsPath = dir.File("prefs/vxlconf.conf");
    FakeClock clock;
    LogoOrderOperator ui;
    ScopedClock scopedClock;
    ScopedUi scopedUi;
    FakeModem modem;
    ReportRenderer renderer;  // none: the runs say they cannot draw reports
    CConfigApp::InteractiveRun interactiveRun, interactiveOpen;
    std::unique_ptr<CConfigApp> app;  // the last run's
    std::string errors, output;
};

}  // namespace vxl::test
