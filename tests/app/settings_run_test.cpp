// The headless settings run against a fake modem in simulated time: what a failed or partly
// applied run tells the operator on standard error, and its exit status.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/config_app.h"
#include "support/fake_clock.h"
#include "support/fake_modem.h"
#include "support/fake_serial_link.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/format.h"

namespace vxl {
namespace {

using test::FakeModem;
using test::TempDir;

std::string ReadAll(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
    return text;
}

TEST(SettingsRun, FailuresAndRefusalsAreReportedOnStandardError) {
    const struct {
        const char* name;
        std::function<void(FakeModem&)> fault;
        bool backupRootIsAFile;
        int exitStatus;
        const char* errors;  // %s: the temporary folder
    } cases[] = {
        {"applied", [](FakeModem&) {}, false, kExitEntriesRefused,
         "vxlconf: profile entry refused: Bogus=1: this is not a setting this program knows\n"},
        {"a byte stored wrongly", [](FakeModem& m) { m.wrongStoreAddress = 0x16B; }, false,
         kExitRunFailed,
         "vxlconf: profile entry refused: Bogus=1: this is not a setting this program knows\n"
         "vxlconf: profile run failed: code 131: Verification failed: 1 bytes differ, first at "
         "0x016B. The modem does not hold the new settings. Program it again.\n"},
        {"the commit's answer lost", [](FakeModem& m) { m.replyFor[0x1E] = {}; }, false,
         kExitRunFailed,
         "vxlconf: profile entry refused: Bogus=1: this is not a setting this program knows\n"
         "vxlconf: profile run failed: code 77: Modem command timed out. Reading the settings "
         "back shows that the modem holds the new settings; only its answer to the commit was "
         "lost. Program it again to be sure they are stored. response: Program->\n"},
        {"no backup", [](FakeModem&) {}, true, kExitRunFailed,
         "vxlconf: profile entry refused: Bogus=1: this is not a setting this program knows\n"
         "vxlconf: profile run failed: code 132: The modem's settings could not be backed up to "
         "%s/plain/backups/01427259: Not a directory. Nothing was written to the modem. Free "
         "some disk space or make the folder writable, then program again.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        test::FakeClock clock;
        test::RecordingOperator ui;
        ScopedClock scopedClock(clock);
        ScopedUi scopedUi(ui);
        FakeModem modem(clock);
        modem.SetIdentity(0xD2, 22, 0);
        modem.Poke(0x106, {0x00, 0x15, 0xC7, 0x3B});
        modem.Poke(0x10B, {0x02, 0x7C, 0x68});  // channel 0 on 455.0 MHz
        modem.Poke(0x1A0, {4});
        c.fault(modem);
        std::filesystem::copy(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini",
                              dir.File("vxlconf.ini"));
        PreferenceStore(dir.File("prefs.conf")).SetText(kPrefInstallDir, dir.path());
        const std::string profile = dir.Write("p.ini", "[VXL]\nOwner=Quarry\nBogus=1\n");

        CConfigApp app;
        app.SetPreferencePath(dir.File("prefs.conf"));
        std::FILE* err = std::tmpfile();
        app.SetErrorStream(err);
        app.Coordinator().SetBackupRoot(c.backupRootIsAFile ? dir.Write("plain", "") + "/backups"
                                                            : dir.File("backups"));
        app.Coordinator().SetLinkFactory([&modem](int, int&) -> std::unique_ptr<ISerialLink> {
            auto link = std::make_unique<test::FakeSerialLink>(3);
            modem.Connect(*link);
            return link;
        });
        EXPECT_EQ(app.Run({"loadprofile", profile, "port", "3", "softbreak"}), c.exitStatus);
        EXPECT_EQ(ReadAll(err), Format(c.errors, dir.path().c_str()));
        std::fclose(err);
    }
}

}  // namespace
}  // namespace vxl
