#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "app/config_app.h"
#include "link/port_table.h"
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
        app->SetPreferencePath(prefsPath);
        app->SetErrorStream(err);
        app->SetInteractiveRun([this](CConfigApp& a) {
            interactivePort = a.Coordinator().Session().GetPort();
            interactiveMethod = a.Coordinator().Session().GetCaptureMethod();
            return 0;
        });
        ScopedUi scope(ui);
        return app->Run(args);
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
    std::unique_ptr<CConfigApp> app = std::make_unique<CConfigApp>();
    int interactivePort = -100;
    int interactiveMethod = -100;
};

// Port and method come from the command line, else from the preferences; the switches are not
// stored. The echo box comes after parsing and before the logo; a bad port value ends the program
// with the usage line before anything else happens.
TEST_F(StartUp, PortMethodEchoBoxAndLogoFollowTheCommandLineAndThePreferences) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        bool stored;  // port 4 and soft break in the preferences
        int status, port, method;
        std::vector<std::string> messages;
        size_t logos;
    } cases[] = {
        // clang-format off
        {"nothing given", {}, false, kExitOk, -1, 3, {}, 1},
        {"echo box", {"PORT=2", "SoftBreak", "dbgargs"}, false, kExitOk, 2, 1,
         {" [port] [2] [softbreak] [dbgargs]"}, 1},
        {"bad port value", {"dbgargs", "port", "x3"}, false, kExitBadCommandLine, -100, -100, {},
         0},
        {"stored", {"nologo"}, true, kExitOk, 4, 1, {}, 0},
        {"switches win", {"port", "7", "poweroncapture", "nologo"}, true, kExitOk, 7, 3, {}, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PreferenceStore store(prefsPath);
        store.SetInt(kPrefComPortNum, c.stored ? 4 : -1);
        store.SetInt(kPrefCaptureMethod, c.stored ? 1 : 3);
        ui = OrderRecordingOperator();
        interactivePort = interactiveMethod = -100;
        std::freopen(nullptr, "w+", err);
        app = std::make_unique<CConfigApp>();
        EXPECT_EQ(Run(c.args), c.status);
        EXPECT_EQ(interactivePort, c.port);
        EXPECT_EQ(interactiveMethod, c.method);
        std::vector<std::string> texts;
        for (const auto& m : ui.messages) {
            texts.push_back(m.text);
            EXPECT_EQ(m.caption, "CMD LINE ARGS");
            EXPECT_EQ(m.icon, MsgIcon::None);
        }
        EXPECT_EQ(texts, c.messages);
        ASSERT_EQ(ui.logos.size(), c.logos);
        EXPECT_EQ(ui.messagesBeforeLogo, c.logos ? static_cast<int>(c.messages.size()) : -1);
        EXPECT_EQ(ui.logoMs, c.logos ? 3000 : 0);
        EXPECT_EQ(store.GetInt(kPrefComPortNum, 0), c.stored ? 4 : -1);
        EXPECT_EQ(store.GetInt(kPrefCaptureMethod, 0), c.stored ? 1 : 3);
        EXPECT_EQ(ErrText().find("'port' needs a number, not 'x3': port N") != std::string::npos,
                  c.status == kExitBadCommandLine);
    }
    EXPECT_EQ(app->HelpFileName(), "VXL.hlp");
}

TEST_F(StartUp, VendorIdentityComesFromTheInstallationFile) {
    Run({"nologo"});
    EXPECT_EQ(app->VendorName(), "") << "no installation file";
    EXPECT_EQ(app->VendorLogoPath(), installDir + "/");
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

// A switch without its value ends the program before anything is done; a word that is no switch
// is named and the run goes on; a stealth run without a window fails with one line.
TEST_F(StartUp, MissingValuesStopUnknownWordsAreNamedAndStealthRunsFailInOneLine) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* line;
    } cases[] = {
        {{"import", "export", "t.upg"}, kExitBadCommandLine, "'import' needs a value: import FILE"},
        {{"nologo", "Frobnicate", "x"}, kExitOk, "ignored, not a switch: 'Frobnicate' 'x'"},
        {{"stealth", "x", "nologo"},
         kExitRunFailed,
         "vxlconf: stealth run failed: code 98: no serial port (give 'port N' or 'device PATH')\n"},
        {{"stealth", "out", "port", "250"},
         kExitRunFailed,
         "code 2: Serial port 250 is not known on this machine; 'vxlconf ports' lists the serial "
         "ports. (Coordinator:239)\n"},
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
        EXPECT_TRUE(ui.messages.empty());
    }
}

// Files to read and files to write are checked first: with no device at all, each refusal is
// about the file, naming it and the reason, not about the port.
TEST_F(StartUp, InputAndOutputFilesAreRefusedBeforeThePortIsOpened) {
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
    std::filesystem::create_directories(dir.File("folder.xml"));
    const struct {
        const char* run;
        std::string file;  // as named on the command line
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
        {"stealth", "none/s", "XML export failed: code 903: The path is invalid."},
        {"stealth", "folder", "code 905: Access to the file was denied."},
        {"export", "none/t.upg", "channel table export failed: code 903"},
        {"report", "none/r.pdf", "configuration report failed: code 903"},
        {"memorymap", "none/m.pdf", "memory-map listing failed: code 903"},
        {"saveprofile", "none/p.ini", "settings profile failed: code 903"},
        {"exportcsv", "none/p.csv", "channel plan export failed: code 903"},
        {"trace", "none/t.txt", "diagnostic trace failed: code 903"},
        {"importcsv", "damaged.img", ": row 1: the first row must be the header Channel,RX MHz"},
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

// A preferences file that cannot be used is named once, set aside, and the run goes on with the
// defaults (no pinned port from it).
TEST_F(StartUp, AnUnusablePreferencesFileIsNamedOnceAndSetAside) {
    std::filesystem::create_directories(dir.File("prefs"));
    dir.Write("prefs/vxlconf.conf", std::string("[Ports]\nCOM1=/dev/ttyUSB7\0", 26));
    app->SetPreferencePath(prefsPath);
    ScopedUi scope(ui);
    EXPECT_EQ(app->Run({"ports"}), kExitOk);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Preferences");
    EXPECT_NE(ui.messages[0].text.find(prefsPath + ".bad"), std::string::npos);
    EXPECT_EQ(TempDir::Read(prefsPath + ".bad").size(), 26u);
    EXPECT_EQ(PortTable::Instance().DevicePath(1).find("ttyUSB7"), std::string::npos);
}

// A byte that reads wrong every time: settings that fail their checksum are programmed back
// only with 'force', and then every byte, since what the modem holds is uncertain; a run that
// does not program them only warns.
TEST_F(StartUp, DamagedSettingsAreProgrammedOnlyWithForce) {
    test::FakeClock clock;
    ScopedClock scopedClock(clock);
    std::filesystem::copy_file(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini",
                               installDir + "/vxlconf.ini");
    test::FakeModem modem(clock);
    modem.SetIdentity(0xD2, 22, 0);
    modem.Poke(0x1A0, {4});  // synthesizer type
    modem.damagedReadAddress = 0x150;
    app->Coordinator().Session().SetLinkFactory(
        [&modem](int, int&) -> std::unique_ptr<ISerialLink> {
            auto link = std::make_unique<test::FakeSerialLink>(3);
            modem.Connect(*link);
            return link;
        });
    const std::string table = dir.File("table.upg");
    const struct {
        std::vector<std::string> args;
        int status;
        const char* line;
        int writes;
    } cases[] = {
        // clang-format off
        {{"defaults"}, kExitRunFailed, "or add 'force' to program them anyway", 0},
        {{"export", table}, kExitOk, "warning: the settings read from the modem do not match", 0},
        {{"dryrun", "defaults"}, kExitWouldChange,
         "warning: the settings read from the modem do not match", 0},
        // The read-back after programming would meet the damaged byte too.
        {{"defaults", "force", "noverify"}, kExitOk,
         "warning: the settings read from the modem do not match", 246 + 9},
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
        EXPECT_EQ(modem.Count(0x20) - writesBefore, c.writes);
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
        // A mistake on the command line ends the program before any window.
        {{"port=abc", "stealth", "x"}, kExitOk, 0, kExitBadCommandLine, 0},
        {{"port=abc"}, kExitOk, 0, kExitBadCommandLine, 0},
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
