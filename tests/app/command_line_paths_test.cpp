// Paths on the command line are used exactly as the shell passed them: blanks, letter case, '='
// and non-ASCII kept, a folder kept apart from its lower-case twin, and nothing written anywhere
// the command line did not name.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "fake_modem_run.h"
#include "support/xml_check.h"
#include "util/output_file.h"

namespace vxl {
namespace {

std::set<std::string> FilesUnder(const std::string& root) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (!entry.is_directory()) files.insert(entry.path().lexically_relative(root).string());
    return files;
}

TEST(CommandLinePaths, EveryFileIsWrittenWhereTheCommandLineSaysAndNowhereElse) {
    test::FakeModemRun run;
    run.renderer = [](const ReportJob& job, const PrintTarget& target, std::string& error) {
        const FileResult written = WriteFileAtomically(target.pdfPath, "%PDF " + job.documentName);
        error = written.reason;
        return written.code;
    };
    test::TempDir tree;
    for (const char* folder : {"site a", "Site", "site", "a=b", "Grüße"})
        std::filesystem::create_directory(tree.File(folder));
    const std::string at = tree.path() + "/";
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> written;
    } cases[] = {
        {{"stealth", at + "site a/st"}, {"site a/st.xml"}},
        {{"STEALTH=" + at + "Site/Station7"}, {"Site/Station7.xml"}},
        {{"Export", at + "a=b/T.UPG"}, {"a=b/T.UPG"}},
        {{"report=" + at + "Grüße/r.pdf", "memorymap", at + "site a/m 1.pdf"},
         {"Grüße/r.pdf", "site a/m 1.pdf"}},
        {{"saveprofile", at + "Site/P=1.ini"}, {"Site/P=1.ini"}},
        // Files that are read: nothing is written beside them.
        {{"import", at + "a=b/T.UPG", "LoadProfile=" + at + "Site/P=1.ini"}, {}},
    };
    std::set<std::string> expected;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        ASSERT_EQ(run.Run(c.args), kExitOk) << run.errors;
        expected.insert(c.written.begin(), c.written.end());
        EXPECT_EQ(FilesUnder(tree.path()), expected);
    }
    for (const char* name : {"site a/st.xml", "Site/Station7.xml"})
        EXPECT_TRUE(test::WellFormedXml(test::TempDir::Read(tree.File(name)))) << name;
    EXPECT_NE(test::TempDir::Read(tree.File("site a/st.xml")).find("site a/st</station-id>"),
              std::string::npos);
}

}  // namespace
}  // namespace vxl
