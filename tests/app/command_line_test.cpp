#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/version.h"

namespace vxl {
namespace {

// Each argument is one word, as the shell passed it; a value keeps its exact bytes.
TEST(CommandLine, ArgumentsAreTakenAsTheShellPassedThem) {
    const struct {
        std::vector<std::string> args;
        std::string echo;
        std::string error;  // a part of it; empty: none
        std::vector<std::string> unknown;
    } cases[] = {
        // clang-format off
        {{}, "", "", {}},
        {{"PORT=2", "SoftBreak", "dbgargs"}, " [port] [2] [softbreak] [dbgargs]", "", {}},
        {{"stealth", "/data/site a/st"}, " [stealth] [/data/site a/st]", "", {}},
        {{"Stealth=/data/Site/Station7"}, " [stealth] [/data/Site/Station7]", "", {}},
        {{"EXPORT", "/data/a=b/Grüße.upg"}, " [export] [/data/a=b/Grüße.upg]", "", {}},
        {{"report=x=y.pdf", "device", "/dev/ttyUSB0"},
         " [report] [x=y.pdf] [device] [/dev/ttyUSB0]", "", {}},
        {{"port", "2", "5"}, " [port] [2]", "", {"5"}},
        {{"Frobnicate", "x", ""}, "", "", {"Frobnicate", "x", ""}},
        {{"port", "x3", "nologo"}, " [nologo]", "'port' needs a number, not 'x3': port N", {}},
        {{"port=abc", "stealth", "x"}, " [stealth] [x]", "needs a number, not 'abc'", {}},
        {{"port", "99999999999"}, "", "needs a number", {}},
        // A switch word is never taken as a value.
        {{"stealth", "dbgargs"}, " [dbgargs]", "'stealth' needs a value: stealth NAME", {}},
        {{"import", "export", "t.upg"}, " [export] [t.upg]", "'import' needs a value", {}},
        {{"device=", "nologo"}, " [nologo]", "'device' needs a value: device PATH", {}},
        {{"nologo=1"}, "", "'nologo' takes no value: nologo", {}},
        {{"--HELP", "-h", "--version"}, " [--help] [-h] [--version]", "", {}},
        // A dry run needs something whose changes it shows.
        {{"dryrun", "exportcsv", "p.csv"}, " [dryrun] [exportcsv] [p.csv]",
         "'dryrun' shows what loadprofile, import, importcsv, restore or defaults would change", {}},
        {{"DryRun", "importcsv=p.csv"}, " [dryrun] [importcsv] [p.csv]", "", {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        std::ostringstream line;
        for (const std::string& arg : c.args) line << " '" << arg << "'";
        SCOPED_TRACE(line.str());
        const StartupOptions o = ParseCommandLine(c.args);
        EXPECT_EQ(o.echo, c.echo);
        EXPECT_EQ(o.error.empty(), c.error.empty()) << o.error;
        EXPECT_NE(o.error.find(c.error), std::string::npos) << o.error;
        EXPECT_EQ(o.unknown, c.unknown);
    }
}

TEST(CommandLine, SwitchesSetTheirOptionsAndTheLaterOneWins) {
    StartupOptions o = ParseCommandLine({"port=7", "softbreak", "poweroncapture", "dealer",
                                         "FACTORY", "stealth", "/data/site a/st"});
    EXPECT_EQ(o.port, 7);
    EXPECT_EQ(o.captureMethod, 3);
    EXPECT_EQ(o.level, PrivilegeLevel::Factory);
    EXPECT_TRUE(o.stealth && o.headless);
    o = ParseCommandLine({"poweroncapture", "softbreak", "factory", "Dealer", "nologo"});
    EXPECT_EQ(o.captureMethod, 1);
    EXPECT_EQ(o.level, PrivilegeLevel::Dealer);
    EXPECT_FALSE(o.headless) << "window switches only";
}

TEST(Version, ProductVersionSplitsIntoVersionAndBuildTexts) {
    const std::array<const char*, 3> cases[] = {{"2, 42, B, 69", "Version 2.42B", "Build 69"},
                                                {" 1 ,00,, 7 ", "Version 1.00", "Build 7"},
                                                {"3", "Version 3.", "Build "}};
    for (const auto& [product, expectedVersion, expectedBuild] : cases) {
        std::string version, build;
        SplitProductVersion(product, &version, &build);
        EXPECT_EQ(version + "|" + build, std::string(expectedVersion) + "|" + expectedBuild);
    }
    EXPECT_EQ(ProgramVersion().companyName, "Norvale Corporation");
    EXPECT_EQ(ProgramVersion().versionText.rfind("Version ", 0), 0u);
}

}  // namespace
}  // namespace vxl
