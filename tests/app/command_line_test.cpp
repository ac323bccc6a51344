#include <gtest/gtest.h>

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
        {{"stealth", "/data/site a/st"}, " [stealth] [/data/site a/st]", "", {}},
        {{"Stealth=/data/Site/Station7"}, " [stealth] [/data/Site/Station7]", "", {}},
        {{"EXPORT", "/data/a=b/Grüße.upg"}, " [export] [/data/a=b/Grüße.upg]", "", {}},
        {{"report=x=y.pdf", "device", "/dev/ttyUSB0"},
         " [report] [x=y.pdf] [device] [/dev/ttyUSB0]", "", {}},
        {{"port", "2", "5"}, " [port] [2]", "", {"5"}},
        {{"Frobnicate", ""}, "", "", {"Frobnicate", ""}},
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

TEST(Version, ProductVersionSplitsIntoVersionAndBuildTexts) {
    std::string version, build;
    SplitProductVersion(" 2 ,42, B, 69 ", &version, &build);
    EXPECT_EQ(version + "|" + build, "Version 2.42B|Build 69");
}

}  // namespace
}  // namespace vxl
