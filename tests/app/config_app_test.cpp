// Start-up: port and capture method from the command line or the preferences, the echo box, the
// logo and the window's display, mistakes on the command line, files refused
// before the port is opened, an unusable preferences file, and damaged settings.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fake_modem_run.h"
#include "link/port_table.h"
#include "modem/firmware_file.h"
#include "util/format.h"
#include "util/keystream.h"

namespace vxl::test {
namespace {

std::string CommandLine(const std::vector<std::string>& args) {
    std::string line = "$ vxlconf";
    for (const std::string& arg : args) line += " " + arg;
    return line + "\n";
}

// One run per command line (tests/data): port and capture method come from the command line,
// else from the preferences, which the switches never change. The window's display is opened
// only for the interactive path, after parsing and before the echo box; the logo follows the
// echo box. A command line that cannot be run ends the program in one line before anything
// else happens; a word that is no switch is named and the run goes on.
TEST(StartUp, EachCommandLineAndWhatTheProgramDoesInOrder) {
    const struct {
        std::vector<std::string> args;
        bool stored;     // port 4 and soft break in the preferences
        int openStatus;  // what opening the window's display gives
    } cases[] = {
        {{}, false, kExitOk},
        {{"PORT=2", "SoftBreak", "dbgargs"}, false, kExitOk},
        {{"dbgargs", "port", "x3"}, false, kExitOk},
        {{"port=abc", "stealth", "x"}, false, kExitOk},
        {{"nologo"}, true, kExitOk},
        {{"port", "7", "poweroncapture", "nologo"}, true, kExitOk},
        {{"dbgargs"}, false, kExitNoDisplay},
        {{"help"}, false, kExitNoDisplay},
        {{"nologo", "Frobnicate", "x"}, false, kExitOk},
        {{"stealth", "x", "nologo"}, false, kExitNoDisplay},
        {{"stealth", "out", "port", "250"}, false, kExitOk},
    };
    std::string outcomes;
    for (const auto& c : cases) {
        FakeModemRun run;
        PreferenceStore store(run.prefsPath);
        store.SetInt(kPrefComPortNum, c.stored ? 4 : -1);
        store.SetInt(kPrefCaptureMethod, c.stored ? 1 : 3);
        std::string window;
        run.interactiveOpen = [&](CConfigApp&) {
            window += Format("display opened after %zu messages; ", run.ui.messages.size());
            return c.openStatus;
        };
        run.interactiveRun = [&](CConfigApp& a) {
            window += Format("window on port %d, method %d; ", a.Coordinator().Session().GetPort(),
                             a.Coordinator().Session().GetCaptureMethod());
            return kExitOk;
        };
        const int status = run.Run(c.args, false);
        outcomes += CommandLine(c.args) + window +
                    Format(
                        "exit %d; %zu logos (%d ms) after %d messages; stored port %d, method "
                        "%d\n",
                        status, run.ui.logos.size(), run.ui.logoMs, run.ui.messagesBeforeLogo,
                        store.GetInt(kPrefComPortNum, 0), store.GetInt(kPrefCaptureMethod, 0)) +
                    run.errors + Transcript(run.ui);
    }
    EXPECT_TRUE(MatchesGolden("start_up_outcomes.txt", outcomes));
    EXPECT_NE(NoDisplayText("DISPLAY is not set").find("stealth NAME"), std::string::npos);
}

// Files to read and files to write are checked first (tests/data): with no device at all, each
// refusal is one line about the file, naming it and the reason; the modem is not touched.
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
    const std::pair<const char*, const char*> cases[] = {
        {"upgrade", "absent.fw"},      {"upgrade", "empty.fw"},   {"upgrade", "damaged.fw"},
        {"import", "pipe.upg"},        {"import", "damaged.upg"}, {"restore", "damaged.img"},
        {"loadprofile", "absent.ini"}, {"stealth", "none/s"},     {"stealth", "folder"},
        {"report", "none/r.pdf"},      {"trace", "none/t.txt"},   {"importcsv", "damaged.img"},
    };
    std::string outcomes;
    for (const auto& [switchWord, file] : cases) {
        const std::vector<std::string> args{switchWord, dir.File(file), "device",
                                            dir.File("no-such-device")};
        const int status = run.Run(args, false);
        outcomes += CommandLine(args) + Format("exit %d\n", status) + run.errors;
    }
    EXPECT_TRUE(MatchesGolden("refused_files_outcomes.txt", WithoutFolder(outcomes, dir.path())));
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

// A byte that reads wrong every time (tests/data): settings that fail their checksum are
// programmed back only with 'force', and then every byte, since what the modem holds is
// uncertain; a run that does not program them only warns. The read-back after programming would
// meet the damaged byte too, hence 'noverify', which lasts the run.
TEST(StartUp, DamagedSettingsAreProgrammedOnlyWithForce) {
    FakeModemRun run;
    run.modem.damagedReadAddress = 0x150;
    const std::vector<std::string> cases[] = {{"defaults"},
                                              {"export", run.dir.File("t.upg")},
                                              {"dryrun", "defaults"},
                                              {"defaults", "force", "noverify"}};
    std::string outcomes;
    for (const auto& args : cases) {
        const int writesBefore = run.modem.Count(0x20);
        const int status = run.Run(args);
        outcomes +=
            CommandLine(args) +
            Format("exit %d, %d bytes written\n", status, run.modem.Count(0x20) - writesBefore) +
            run.errors;
    }
    EXPECT_TRUE(
        MatchesGolden("damaged_settings_runs.txt", WithoutFolder(outcomes, run.dir.path())));
    EXPECT_EQ(PreferenceStore(run.prefsPath).GetInt(kPrefVerifyAfterProgramming, -1), -1);
}

}  // namespace
}  // namespace vxl::test
