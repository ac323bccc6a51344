// Start-up: port and capture method from the command line or the preferences, the echo box and
// the logo, the vendor identity, mistakes on the command line, files refused before the port is
// opened, an unusable preferences file, damaged settings, and when the window is opened.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fake_modem_run.h"
#include "link/port_table.h"
#include "modem/firmware_file.h"
#include "util/keystream.h"

namespace vxl::test {
namespace {

// True for one line ended by a line feed.
bool OneLine(const std::string& text) {
    return !text.empty() && text.find('\n') == text.size() - 1;
}

// Port and method come from the command line, else from the preferences; the switches are not
// stored. The echo box comes after parsing and before the logo; a bad port value ends the program
// with the usage line before anything else happens.
TEST(StartUp, PortMethodEchoBoxAndLogoFollowTheCommandLineAndThePreferences) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        bool stored;  // port 4 and soft break in the preferences
        int status, port, method;
        std::vector<std::string> messages;
        bool logo;
    } cases[] = {
        // clang-format off
        {"nothing given", {}, false, kExitOk, -1, 3, {}, true},
        {"echo box", {"PORT=2", "SoftBreak", "dbgargs"}, false, kExitOk, 2, 1,
         {" [port] [2] [softbreak] [dbgargs]"}, true},
        {"bad port value", {"dbgargs", "port", "x3"}, false, kExitBadCommandLine, -100, -100, {},
         false},
        {"stored", {"nologo"}, true, kExitOk, 4, 1, {}, false},
        {"switches win", {"port", "7", "poweroncapture", "nologo"}, true, kExitOk, 7, 3, {}, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeModemRun run;
        PreferenceStore store(run.prefsPath);
        store.SetInt(kPrefComPortNum, c.stored ? 4 : -1);
        store.SetInt(kPrefCaptureMethod, c.stored ? 1 : 3);
        int port = -100, method = -100;
        run.interactiveRun = [&](CConfigApp& a) {
            port = a.Coordinator().Session().GetPort();
            method = a.Coordinator().Session().GetCaptureMethod();
            return 0;
        };
        EXPECT_EQ(run.Run(c.args, false), c.status);
        EXPECT_EQ(std::make_pair(port, method), std::make_pair(c.port, c.method));
        EXPECT_EQ(Captions(run.ui), std::vector<std::string>(c.messages.size(), "CMD LINE ARGS"));
        for (size_t i = 0; i < run.ui.messages.size(); ++i)
            EXPECT_EQ(run.ui.messages[i].text, c.messages[i]);
        EXPECT_EQ(run.ui.logos.size(), c.logo ? 1u : 0u);
        EXPECT_EQ(run.ui.messagesBeforeLogo, c.logo ? static_cast<int>(c.messages.size()) : -1);
        EXPECT_EQ(run.ui.logoMs, c.logo ? 3000 : 0);
        EXPECT_EQ(store.GetInt(kPrefComPortNum, 0), c.stored ? 4 : -1);
        EXPECT_EQ(store.GetInt(kPrefCaptureMethod, 0), c.stored ? 1 : 3);
        EXPECT_EQ(run.errors.find("'port' needs a number, not 'x3': port N") != std::string::npos,
                  c.status == kExitBadCommandLine);
    }
}

TEST(StartUp, VendorIdentityComesFromTheInstallationFile) {
    FakeModemRun run;
    run.interactiveRun = [](CConfigApp&) { return 0; };
    run.dir.Write("vxlconf.ini",
                  "[General]\nVendorName = Acme Radio Sales \nVendorLogo=acme.bmp\n");
    run.Run({"nologo"}, false);
    EXPECT_EQ(run.app->InstallIniPath(), run.dir.path() + "/vxlconf.ini");
    EXPECT_EQ(run.app->VendorName(), "Acme Radio Sales");
    EXPECT_EQ(run.app->VendorLogoPath(), run.dir.path() + "/acme.bmp");
    EXPECT_EQ(run.app->HelpFileName(), "VXL.hlp");
    std::filesystem::remove(run.dir.File("vxlconf.ini"));
    run.Run({"nologo"}, false);
    EXPECT_EQ(run.app->VendorName(), "");
    EXPECT_EQ(run.app->VendorLogoPath(), run.dir.path() + "/");
}

// Files to read and files to write are checked first: with no device at all, each refusal is
// about the file, naming it and the reason, not about the port.
TEST(StartUp, InputAndOutputFilesAreRefusedBeforeThePortIsOpened) {
    FakeModemRun run;
    TempDir& dir = run.dir;
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
        EXPECT_EQ(run.Run({c.run, dir.File(c.file), "device", dir.File("no-such-device")}, false),
                  kExitRunFailed);
        EXPECT_NE(run.errors.find(c.problem), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(dir.File(c.file)), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find("the modem was not touched\n"), std::string::npos) << run.errors;
        EXPECT_EQ(run.errors.find("Coordinator:239"), std::string::npos) << "the port was opened";
    }
}

// A preferences file that cannot be used is named once, set aside, and the run goes on with the
// defaults (no pinned port from it).
TEST(StartUp, AnUnusablePreferencesFileIsNamedOnceAndSetAside) {
    FakeModemRun run;
    run.dir.Write("prefs/vxlconf.conf", std::string("[Ports]\nCOM1=/dev/ttyUSB7\0", 26));
    EXPECT_EQ(run.Run({"ports"}, false), kExitOk);
    EXPECT_EQ(Captions(run.ui), std::vector<std::string>{"Preferences"});
    EXPECT_NE(run.ui.messages[0].text.find(run.prefsPath + ".bad"), std::string::npos);
    EXPECT_EQ(TempDir::Read(run.prefsPath + ".bad").size(), 26u);
    EXPECT_EQ(PortTable::Instance().DevicePath(1).find("ttyUSB7"), std::string::npos);
}

// A byte that reads wrong every time: settings that fail their checksum are programmed back
// only with 'force', and then every byte, since what the modem holds is uncertain; a run that
// does not program them only warns.
TEST(StartUp, DamagedSettingsAreProgrammedOnlyWithForce) {
    FakeModemRun run;
    run.modem.damagedReadAddress = 0x150;
    const struct {
        std::vector<std::string> args;
        int status;
        const char* line;
        int writes;
    } cases[] = {
        // clang-format off
        {{"defaults"}, kExitRunFailed, "or add 'force' to program them anyway", 0},
        {{"export", run.dir.File("t.upg")}, kExitOk,
         "warning: the settings read from the modem do not match", 0},
        {{"dryrun", "defaults"}, kExitWouldChange,
         "warning: the settings read from the modem do not match", 0},
        // The read-back after programming would meet the damaged byte too.
        {{"defaults", "force", "noverify"}, kExitOk,
         "warning: the settings read from the modem do not match", 246 + 9},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const int writesBefore = run.modem.Count(0x20);
        EXPECT_EQ(run.Run(c.args), c.status);
        EXPECT_NE(run.errors.find(c.line), std::string::npos) << run.errors;
        EXPECT_TRUE(OneLine(run.errors)) << run.errors;
        EXPECT_EQ(run.modem.Count(0x20) - writesBefore, c.writes);
    }
    EXPECT_EQ(PreferenceStore(run.prefsPath).GetInt(kPrefVerifyAfterProgramming, -1), -1)
        << "'noverify' lasts the run";
}

// The window's display is opened only for the interactive path, after parsing and before the
// echo box; when it cannot be opened nothing else happens. A switch without its value ends the
// program before anything is done; a word that is no switch is named and the run goes on; a
// stealth run without a port fails in one line.
TEST(StartUp, TheWindowIsOpenedOnlyForTheInteractivePathAfterTheCommandLine) {
    const struct {
        std::vector<std::string> args;
        int openStatus, opens, exitStatus;
        size_t messages;
        const char* line;  // on standard error; "" for none
    } cases[] = {
        // clang-format off
        {{"dbgargs", "nologo"}, kExitOk, 1, kExitOk, 1, ""},
        {{"dbgargs"}, kExitNoDisplay, 1, kExitNoDisplay, 0, ""},
        {{"help"}, kExitNoDisplay, 0, kExitOk, 0, ""},
        {{"port=abc", "stealth", "x"}, kExitOk, 0, kExitBadCommandLine, 0, "needs a number, not 'abc'"},
        {{"import", "export", "t.upg"}, kExitOk, 0, kExitBadCommandLine, 0, "'import' needs a value: import FILE"},
        {{"nologo", "Frobnicate", "x"}, kExitOk, 1, kExitOk, 0, "ignored, not a switch: 'Frobnicate' 'x'"},
        {{"stealth", "x", "nologo"}, kExitNoDisplay, 0, kExitRunFailed, 0,
         "vxlconf: stealth run failed: code 98: no serial port (give 'port N' or 'device PATH')\n"},
        {{"stealth", "out", "port", "250"}, kExitOk, 0, kExitRunFailed, 0,
         "code 2: Serial port 250 is not known on this machine; 'vxlconf ports' lists the serial "
         "ports. (Coordinator:239)\n"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        FakeModemRun run;
        int opens = 0;
        size_t messagesAtOpen = 99;
        run.interactiveOpen = [&](CConfigApp&) {
            ++opens;
            messagesAtOpen = run.ui.messages.size();
            return c.openStatus;
        };
        run.interactiveRun = [](CConfigApp&) { return kExitOk; };
        EXPECT_EQ(run.Run(c.args, false), c.exitStatus);
        EXPECT_EQ(opens, c.opens);
        EXPECT_EQ(messagesAtOpen, opens > 0 ? 0u : 99u);
        EXPECT_EQ(run.ui.messages.size(), c.messages);
        EXPECT_TRUE(run.ui.logos.empty());
        EXPECT_NE(run.errors.find(c.line), std::string::npos) << run.errors;
        EXPECT_TRUE(*c.line == '\0' || OneLine(run.errors)) << run.errors;
    }
    EXPECT_NE(NoDisplayText("DISPLAY is not set").find("stealth NAME"), std::string::npos);
}

}  // namespace
}  // namespace vxl::test
