#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
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

// The window's display is opened only for the interactive path, after parsing and before the
// echo box; when it cannot be opened nothing else happens.
TEST_F(StartUp, TheWindowIsOpenedOnlyForTheInteractivePathBeforeTheEchoBox) {
    const struct {
        std::vector<std::string> args;
        int openStatus;
        int opens;
        int exitStatus;
        size_t messages;
    } cases[] = {
        {{"dbgargs", "nologo"}, kExitOk, 1, kExitOk, 1},
        {{"dbgargs"}, kExitNoDisplay, 1, kExitNoDisplay, 0},
        {{"help"}, kExitNoDisplay, 0, kExitOk, 0},
        {{"stealth", "x"}, kExitNoDisplay, 0, kExitRunFailed, 0},
    };
    for (const auto& c : cases) {
        CConfigApp run;
        RecordingOperator recorded;
        int opens = 0;
        size_t messagesAtOpen = 99;
        run.SetPreferencePath(prefsPath);
        run.SetErrorStream(err);
        run.SetInteractiveOpen([&](CConfigApp&) {
            ++opens;
            messagesAtOpen = recorded.messages.size();
            return c.openStatus;
        });
        run.SetInteractiveRun([](CConfigApp&) { return kExitOk; });
        ScopedUi scope(recorded);
        EXPECT_EQ(run.Run(c.args), c.exitStatus);
        EXPECT_EQ(opens, c.opens);
        if (opens > 0) {
            EXPECT_EQ(messagesAtOpen, 0u);
        }
        EXPECT_EQ(recorded.messages.size(), c.messages);
        EXPECT_EQ(recorded.logos.size(), 0u);
    }
    EXPECT_NE(NoDisplayText("DISPLAY is not set").find("stealth NAME"), std::string::npos);
}

}  // namespace
}  // namespace vxl
