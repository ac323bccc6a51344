#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/version.h"

namespace vxl {
namespace {

std::vector<std::string> Args(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> args;
    for (std::string word; in >> word;) args.push_back(word);
    return args;
}

struct CommandLineCase {
    const char* line;
    int port;
    int method;
    bool nologo;
    bool stealth;
    const char* stealthName;
    bool echoWanted;
    const char* echo;
    int result;
};

class CommandLineCases : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineCases, ParsesAsTheOperatorExpects) {
    const CommandLineCase& c = GetParam();
    StartupOptions o = ParseCommandLine(Args(c.line));
    EXPECT_EQ(o.port, c.port);
    EXPECT_EQ(o.captureMethod, c.method);
    EXPECT_EQ(o.nologo, c.nologo);
    EXPECT_EQ(o.stealth, c.stealth);
    EXPECT_EQ(o.stealthName, c.stealthName);
    EXPECT_EQ(o.echoWanted, c.echoWanted);
    EXPECT_EQ(o.echo, c.echo);
    EXPECT_EQ(o.result, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineCases,
    ::testing::Values(
        CommandLineCase{"", -1, -1, false, false, "", false, "", 0},
        // A switch ends a pending port value, so dbgargs is not taken as a port.
        CommandLineCase{"PORT=2 SoftBreak dbgargs", 2, 1, false, false, "", true,
                        " [port] [2] [softbreak] [dbgargs]", 0},
        CommandLineCase{"dbgargs stealth x PORT=2 SoftBreak nologo", 2, 1, true, true, "x", true,
                        " [dbgargs] [stealth] [x] [port] [2] [softbreak] [nologo]", 0},
        // Parsing stops at a port value that is not a number; what follows is not applied.
        CommandLineCase{"dbgargs port x3 nologo", -1, -1, false, false, "", true,
                        " [dbgargs] [port]", 100},
        CommandLineCase{"port 2 5", 5, -1, false, false, "", false, " [port] [2] [5]", 0},
        CommandLineCase{"port dbgargs", -1, -1, false, false, "", true, " [port] [dbgargs]", 100},
        CommandLineCase{"stealth dbgargs", -1, -1, false, true, "dbgargs", true,
                        " [stealth] [dbgargs] [dbgargs]", 0},
        CommandLineCase{"stealth", -1, -1, false, true, "", false, " [stealth]", 0},
        CommandLineCase{"Stealth Station7 port=3", 3, -1, false, true, "station7", false,
                        " [stealth] [station7] [port] [3]", 0},
        // The later capture switch wins.
        CommandLineCase{"softbreak poweroncapture", -1, 3, false, false, "", false,
                        " [softbreak] [poweroncapture]", 0},
        CommandLineCase{"poweroncapture softbreak", -1, 1, false, false, "", false,
                        " [poweroncapture] [softbreak]", 0},
        CommandLineCase{"port=3", 3, -1, false, false, "", false, " [port] [3]", 0},
        CommandLineCase{"port\t4", 4, -1, false, false, "", false, " [port] [4]", 0},
        // A pending stealth name is not ended by a plain switch.
        CommandLineCase{"stealth nologo out", -1, -1, true, true, "out", false,
                        " [stealth] [nologo] [out]", 0},
        CommandLineCase{"port 99999999999", -1, -1, false, false, "", false, " [port]", 100},
        CommandLineCase{"unknown words here", -1, -1, false, false, "", false, "", 0}));

TEST(CommandLine, PlatformSwitchesKeepTheLetterCaseOfTheirValues) {
    StartupOptions o = ParseCommandLine(
        {"DEVICE=/tmp/Modem0", "Upgrade", "New.FW", "keepopen", "ports", "Import", "A.upg",
         "export=B.UPG", "Defaults", "REPORT=Out/Modem7.pdf", "MemoryMap", "Map.PDF", "Restore",
         "Old.IMG", "saveprofile=P.ini", "LoadProfile", "Q.ini", "Force", "noverify"});
    EXPECT_EQ(o.device, "/tmp/Modem0");
    EXPECT_EQ(o.upgradeFile, "New.FW");
    EXPECT_EQ(o.importFile, "A.upg");
    EXPECT_EQ(o.exportFile, "B.UPG");
    EXPECT_EQ(o.reportFile, "Out/Modem7.pdf");
    EXPECT_EQ(o.memoryMapFile, "Map.PDF");
    EXPECT_TRUE(o.keepopen);
    EXPECT_TRUE(o.listPorts);
    EXPECT_TRUE(o.defaults);
    EXPECT_EQ(o.restoreFile, "Old.IMG");
    EXPECT_EQ(o.saveProfileFile, "P.ini");
    EXPECT_EQ(o.loadProfileFile, "Q.ini");
    EXPECT_TRUE(o.force && o.noverify);
    EXPECT_EQ(o.echo,
              " [device] [/tmp/Modem0] [upgrade] [New.FW] [keepopen] [ports] [import] [A.upg] "
              "[export] [B.UPG] [defaults] [report] [Out/Modem7.pdf] [memorymap] [Map.PDF] "
              "[restore] [Old.IMG] [saveprofile] [P.ini] [loadprofile] [Q.ini] [force] "
              "[noverify]");
}

TEST(CommandLine, LevelSwitchesNameTheLevelAndTheLaterOneWins) {
    const struct {
        const char* line;
        PrivilegeLevel level;
        const char* name;
        bool frequencies;
        bool factory;
    } cases[] = {
        {"nologo", PrivilegeLevel::EndUser, "End User", false, false},
        {"Dealer port 3", PrivilegeLevel::Dealer, "Dealer", true, false},
        {"dealer FACTORY", PrivilegeLevel::Factory, "Factory", true, true},
        {"factory dealer", PrivilegeLevel::Dealer, "Dealer", true, false},
    };
    for (const auto& c : cases) {
        const StartupOptions o = ParseCommandLine(Args(c.line));
        EXPECT_EQ(o.level, c.level) << c.line;
        EXPECT_STREQ(LevelName(o.level), c.name) << c.line;
        EXPECT_EQ(ShowsFrequenciesPage(o.level), c.frequencies) << c.line;
        EXPECT_EQ(ShowsFactoryPage(o.level), c.factory) << c.line;
        EXPECT_TRUE(o.unknown.empty()) << c.line;
    }
    // A level switch ends a pending port value like any plain switch.
    EXPECT_EQ(ParseCommandLine(Args("port 3 factory")).port, 3);
}

TEST(Version, ProductVersionSplitsIntoVersionAndBuildTexts) {
    std::string version, build;
    SplitProductVersion("2, 42, B, 69", &version, &build);
    EXPECT_EQ(version, "Version 2.42B");
    EXPECT_EQ(build, "Build 69");
    SplitProductVersion(" 1 ,00,, 7 ", &version, &build);
    EXPECT_EQ(version, "Version 1.00");
    EXPECT_EQ(build, "Build 7");
    SplitProductVersion("3", &version, &build);
    EXPECT_EQ(version, "Version 3.");
    EXPECT_EQ(build, "Build ");
    VersionTexts v = ProgramVersion();
    EXPECT_EQ(v.companyName, "Norvale Corporation");
    EXPECT_EQ(v.versionText.rfind("Version ", 0), 0u);
}

}  // namespace
}  // namespace vxl
