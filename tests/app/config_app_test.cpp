#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "app/config_app.h"
#include "modem/firmware_file.h"
#include "support/fake_clock.h"
#include "support/fake_modem.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/keystream.h"
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
    Run({"nologo"});
    EXPECT_EQ(app.VendorName(), "") << "no installation file";
    EXPECT_EQ(app.VendorLogoPath(), installDir + "/");
    dir.Write("install/vxlconf.ini",
              "[General]\nVendorName = Acme Radio Sales \nVendorLogo=acme.bmp\n");
    CConfigApp second;
    second.SetPreferencePath(prefsPath);
    second.SetInteractiveRun([](CConfigApp&) { return 0; });
    ScopedUi scope(ui);
    second.Run({"nologo"});
    EXPECT_EQ(second.InstallDir(), installDir);
    EXPECT_EQ(second.InstallIniPath(), installDir + "/vxlconf.ini");
    EXPECT_EQ(second.VendorName(), "Acme Radio Sales");
    EXPECT_EQ(second.VendorLogoPath(), installDir + "/acme.bmp");
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

// A switch without its value ends the program before anything is done; a word that is no switch
// is named and the run goes on.
TEST_F(StartUp, MissingValuesStopAndUnknownWordsAreNamed) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* line;
    } cases[] = {
        {{"upgrade"}, kExitBadCommandLine, "'upgrade' needs a value: upgrade FILE"},
        {{"stealth"}, kExitBadCommandLine, "'stealth' needs a value: stealth NAME"},
        {{"port", "nologo"}, kExitBadCommandLine, "'port' needs a value: port N"},
        {{"import", "export", "t.upg"}, kExitBadCommandLine, "'import' needs a value"},
        {{"device=", "stealth", "x"}, kExitBadCommandLine, "'device' needs a value: device PATH"},
        {{"nologo", "Frobnicate", "x"}, kExitOk, "ignored, not a switch: 'Frobnicate' 'x'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        interactivePort = -100;
        std::freopen(nullptr, "w+", err);
        EXPECT_EQ(Run(c.args), c.status);
        const std::string text = ErrText();
        EXPECT_NE(text.find(c.line), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << "one line";
        EXPECT_EQ(interactivePort != -100, c.status == kExitOk) << "nothing runs after a mistake";
    }
}

// Upgrade and channel-table files are read and checked first: with no device at all, each
// refusal is about the file, not the port.
TEST_F(StartUp, InputFilesAreRefusedBeforeThePortIsOpened) {
    CFirmwareFile damaged;
    damaged.SetText("S00600004844521B\r\nS1130000285F245F2212226A000424290008237C2B\r\n");
    ASSERT_EQ(damaged.WriteUpgradeFile(dir.File("damaged.fw")), 0);
    uint8_t table[111] = {};
    table[110] = 0xFF;  // the checksum of 110 zero bytes
    ApplyKeystream(table, sizeof table);
    table[40] ^= 0x01;
    dir.Write("damaged.upg", std::string(reinterpret_cast<char*>(table), sizeof table));
    dir.Write("empty.fw", "");
    dir.Write("damaged.img", "[Backup]\nSerialNumber=1\n");
    ASSERT_EQ(::mkfifo(dir.File("pipe.upg").c_str(), 0600), 0);
    const struct {
        const char* run;
        std::string file;
        const char* problem;
    } cases[] = {
        {"upgrade", "absent.fw", "code 902: The file was not found."},
        {"upgrade", "empty.fw", "is empty"},
        {"upgrade", "damaged.fw", "line 2: checksum"},
        {"import", "pipe.upg", "is a pipe"},
        {"import", "damaged.upg", "code 78: Channel table import failed"},
        {"restore", "damaged.img",
         "code 134: The file is damaged or is not a backup of a modem's settings."},
        {"loadprofile", "absent.ini", "code 902: The file was not found."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::freopen(nullptr, "w+", err);
        EXPECT_EQ(Run({c.run, dir.File(c.file), "device", dir.File("no-such-device")}),
                  kExitRunFailed);
        const std::string text = ErrText();
        EXPECT_NE(text.find(c.problem), std::string::npos) << text;
        EXPECT_NE(text.find(dir.File(c.file)), std::string::npos) << text;
        EXPECT_NE(text.find("the modem was not touched\n"), std::string::npos) << text;
        EXPECT_EQ(text.find("Coordinator:239"), std::string::npos) << "the port was not opened";
    }
}

// A byte that reads wrong every time: settings that fail their checksum are programmed back
// only with 'force'; a run that does not program them only warns.
TEST_F(StartUp, DamagedSettingsAreProgrammedOnlyWithForce) {
    test::FakeClock clock;
    ScopedClock scopedClock(clock);
    std::filesystem::copy_file(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini",
                               installDir + "/vxlconf.ini");
    test::FakeModem modem(clock);
    modem.SetIdentity(0xD2, 22, 0);
    modem.Poke(0x1A0, {4});  // synthesizer type
    modem.damagedReadAddress = 0x150;
    app.Coordinator().SetLinkFactory([&modem](int, int&) -> std::unique_ptr<ISerialLink> {
        auto link = std::make_unique<test::FakeSerialLink>(3);
        modem.Connect(*link);
        return link;
    });
    const std::string table = dir.File("table.upg");
    const struct {
        std::vector<std::string> args;
        int status;
        const char* line;
        bool programmed;
    } cases[] = {
        // clang-format off
        {{"defaults"}, kExitRunFailed, "or add 'force' to program them anyway", false},
        {{"export", table}, kExitOk, "warning: the settings read from the modem do not match", false},
        // The read-back after programming would meet the damaged byte too.
        {{"defaults", "force", "noverify"}, kExitOk,
         "warning: the settings read from the modem do not match", true},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::freopen(nullptr, "w+", err);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"port", "3", "softbreak"});
        const int writesBefore = modem.Count(0x20);
        EXPECT_EQ(Run(args), c.status);
        const std::string text = ErrText();
        EXPECT_NE(text.find(c.line), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << "one line: " << text;
        EXPECT_EQ(modem.Count(0x20) > writesBefore, c.programmed);
    }
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
