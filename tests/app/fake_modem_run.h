// A modem on a fake line in simulated time, and vxlconf run against it.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "support/fake_clock.h"
#include "support/fake_modem.h"
#include "support/fake_serial_link.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"

namespace vxl::test {

struct FakeModemRun {
    FakeModemRun() : scopedClock(clock), scopedUi(ui), modem(clock) {
        modem.SetIdentity(0xD2, 22, 0);
        modem.Poke(0x106, {0x00, 0x15, 0xC7, 0x3B});
        modem.Poke(0x10B, {0x02, 0x7C, 0x68});  // channel 0 on 455.0 MHz
        modem.Poke(0x1A0, {4});
        modem.SetConfigChecksum();
        std::filesystem::copy(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini",
                              dir.File("vxlconf.ini"));
        PreferenceStore(dir.File("prefs.conf")).SetText(kPrefInstallDir, dir.path());
    }
    // Runs vxlconf with `args` on the fake modem; standard error goes to `errors`.
    int Run(std::vector<std::string> args) {
        args.insert(args.end(), {"port", "3", "softbreak"});
        CConfigApp app;
        app.SetPreferencePath(dir.File("prefs.conf"));
        std::FILE* err = std::tmpfile();
        app.SetErrorStream(err);
        if (renderer) app.SetReportRenderer(renderer);
        app.Coordinator().Programming().SetBackupRoot(dir.File("backups"));
        app.Coordinator().Session().SetLinkFactory([this](int, int&) -> std::unique_ptr<ISerialLink> {
            auto link = std::make_unique<FakeSerialLink>(3);
            modem.Connect(*link);
            return link;
        });
        const int status = app.Run(args);
        std::fflush(err);
        std::rewind(err);
        errors.clear();
        for (int c; (c = std::fgetc(err)) != EOF;) errors += static_cast<char>(c);
        std::fclose(err);
        return status;
    }

    TempDir dir;
    FakeClock clock;
    RecordingOperator ui;
    ScopedClock scopedClock;
    ScopedUi scopedUi;
    FakeModem modem;
    ReportRenderer renderer;  // none: the runs say they cannot draw reports
    std::string errors;
};

}  // namespace vxl::test
