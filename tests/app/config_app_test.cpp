#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/format.h"
#include "util/preferences.h"

namespace vxl {
namespace {

using test::RecordingOperator;
using test::TempDir;

// Notes how many messages had been shown when the logo came up, to check start-up order.
class OrderRecordingOperator : public RecordingOperator {
  public:
    void ShowLogo(const std::string& path, int ms) override {
        messagesBeforeLogo = static_cast<int>(messages.size());
        RecordingOperator::ShowLogo(path, ms);
    }
    int messagesBeforeLogo = -1;
};

class StartUp : public ::testing::Test {
  protected:
    void SetUp() override {
        prefsPath = dir.File("prefs/vxlconf.conf");
        installDir = dir.path() + "/install";
        std::filesystem::create_directories(installDir);
        err = std::tmpfile();
    }
    void TearDown() override { std::fclose(err); }

    // Runs the application with `line`; the interactive path records that it ran.
    int Run(const std::vector<std::string>& args) {
        PreferenceStore(prefsPath).SetText(kPrefInstallDir, installDir);
        app.SetPreferencePath(prefsPath);
        app.SetErrorStream(err);
        app.SetInteractiveRun([this](CConfigApp& a) {
            interactivePort = a.Coordinator().GetPort();
            interactiveMethod = a.Coordinator().GetCaptureMethod();
            return 0;
        });
        ScopedUi scope(ui);
        return app.Run(args);
    }
    std::string ErrText() {
        std::fflush(err);
        std::rewind(err);
        std::string text;
        for (int c; (c = std::fgetc(err)) != EOF;) text += static_cast<char>(c);
        return text;
    }

    TempDir dir;
    std::string prefsPath;
    std::string installDir;
    std::FILE* err = nullptr;
    OrderRecordingOperator ui;
    CConfigApp app;
    int interactivePort = -100;
    int interactiveMethod = -100;
};

TEST_F(StartUp, NoCommandLineTakesPortAndMethodFromPreferencesAndShowsTheLogo) {
    EXPECT_EQ(Run({}), kExitOk);
    EXPECT_EQ(interactivePort, -1);
    EXPECT_EQ(interactiveMethod, 3);
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(ui.logos.size(), 1u);
    EXPECT_EQ(ui.logoMs, 3000);
    EXPECT_EQ(app.HelpFileName(), "VXL.hlp");
}

TEST_F(StartUp, StoredPreferencesApplyAndCommandLineSwitchesAreNotStored) {
    PreferenceStore store(prefsPath);
    store.SetInt(kPrefComPortNum, 4);
    store.SetInt(kPrefCaptureMethod, 1);
    Run({"nologo"});
    EXPECT_EQ(interactivePort, 4);
    EXPECT_EQ(interactiveMethod, 1);
    EXPECT_TRUE(ui.logos.empty());

    CConfigApp second;
    second.SetPreferencePath(prefsPath);
    second.SetInteractiveRun([](CConfigApp& a) {
        EXPECT_EQ(a.Coordinator().GetPort(), 7);
        EXPECT_EQ(a.Coordinator().GetCaptureMethod(), 3);
        return 0;
    });
    ScopedUi scope(ui);
    second.Run({"port", "7", "poweroncapture", "nologo"});
    EXPECT_EQ(store.GetInt(kPrefComPortNum, -1), 4);
    EXPECT_EQ(store.GetInt(kPrefCaptureMethod, 3), 1);
}

TEST_F(StartUp, EchoBoxComesAfterParsingAndBeforeTheLogo) {
    Run({"PORT=2", "SoftBreak", "dbgargs"});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, " [port] [2] [softbreak] [dbgargs]");
    EXPECT_EQ(ui.messages[0].caption, "CMD LINE ARGS");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(ui.messagesBeforeLogo, 1);
    EXPECT_EQ(interactivePort, 2);
    EXPECT_EQ(interactiveMethod, 1);
}

TEST_F(StartUp, BadPortValueStopsParsingWithoutAnEchoBox) {
    EXPECT_EQ(Run({"dbgargs", "port", "x3", "nologo"}), kExitBadCommandLine);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.logos.size(), 1u);  // nologo came after the bad value
    EXPECT_EQ(interactivePort, -1);
    EXPECT_NE(ErrText().find("not a number"), std::string::npos);
}

TEST_F(StartUp, VendorIdentityComesFromTheInstallationFile) {
    dir.Write("install/vxlconf.ini",
              "[General]\nVendorName = Acme Radio Sales \nVendorLogo=acme.bmp\n");
    Run({"nologo"});
    EXPECT_EQ(app.InstallDir(), installDir);
    EXPECT_EQ(app.InstallIniPath(), installDir + "/vxlconf.ini");
    EXPECT_EQ(app.VendorName(), "Acme Radio Sales");
    EXPECT_EQ(app.VendorLogoPath(), installDir + "/acme.bmp");
}

TEST_F(StartUp, MissingInstallationFileLeavesVendorEmpty) {
    Run({"nologo"});
    EXPECT_EQ(app.VendorName(), "");
    EXPECT_EQ(app.VendorLogoPath(), installDir + "/");
}

TEST_F(StartUp, StealthRunWithoutAPortFailsWithOneLineAndNoWindow) {
    EXPECT_EQ(Run({"dbgargs", "stealth", "x", "nologo"}), kExitRunFailed);
    EXPECT_EQ(app.LastResult(), 98);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.logos.empty());
    EXPECT_EQ(interactivePort, -100);  // the interactive path did not run
    EXPECT_EQ(ErrText(),
              " [dbgargs] [stealth] [x] [nologo]\n"
              "vxlconf: stealth run failed: code 98: no serial port (give 'port N' or 'device "
              "PATH')\n");
}

TEST_F(StartUp, StealthRunOnAPortWithNoDeviceFailsAtTheOpen) {
    EXPECT_EQ(Run({"stealth", "out", "port", "250"}), kExitRunFailed);
    EXPECT_EQ(app.LastResult(), 2);  // no such device
    std::string line = ErrText();
    EXPECT_NE(line.find("code 2:"), std::string::npos) << line;
    EXPECT_NE(line.find("(Coordinator:239)"), std::string::npos) << line;
}

// Backup and profile files are read before the modem is touched: a file that cannot be used
// ends the run at once, naming the file and what is wrong with it.
TEST_F(StartUp, SettingsFilesThatCannotBeUsedEndTheRunBeforeTheCapture) {
    const struct {
        const char* name;
        std::string switchName;
        std::string content;
        const char* line;
    } cases[] = {
        {"damaged backup", "restore", "[Backup]\nSerialNumber=1\n",
         "vxlconf: restore failed: code 134: The file is damaged or is not a backup of a modem's "
         "settings. (%s: Model is missing)\n"},
        {"missing profile", "loadprofile", "",
         "vxlconf: profile run failed: code 902: The file was not found. (%s: No such file or "
         "directory)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path =
            c.content.empty() ? dir.File("absent.ini") : dir.Write("file", c.content);
        std::FILE* out = std::tmpfile();
        CConfigApp fresh;
        fresh.SetPreferencePath(prefsPath);
        fresh.SetErrorStream(out);
        EXPECT_EQ(fresh.Run({c.switchName, path, "port", "250"}), kExitRunFailed);
        std::rewind(out);
        char line[512] = {};
        EXPECT_NE(std::fgets(line, sizeof line, out), nullptr);
        std::fclose(out);
        EXPECT_EQ(line, Format(c.line, path.c_str()));
    }
}

}  // namespace
}  // namespace vxl
