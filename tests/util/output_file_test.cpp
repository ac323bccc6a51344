// The writer every file of the program goes through: whatever stops it, the earlier file is
// intact and no temporary file is left; the result says why.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "support/temp_dir.h"
#include "util/interrupt.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace vxl {
namespace {

using test::TempDir;

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// The check before any work and the writer refuse a target alike; nothing changes on disk.
TEST(OutputFile, TargetsThatCannotBeWrittenAreRefusedWithTheirReason) {
    TempDir dir;
    dir.Write("plain", "x");
    std::filesystem::create_directory(dir.File("folder"));
    const struct {
        std::string path;
        int code;
        std::string reason;
    } cases[] = {
        {dir.File("missing/t.upg"), rc::kFileBadPath,
         "the folder " + dir.File("missing") + " does not exist"},
        {dir.File("plain/t.upg"), rc::kFileBadPath, "a part of the path is not a folder"},
        {dir.File("folder"), rc::kFileAccessDenied, "is a directory"},
        {"/dev/null", rc::kFileBadPath, "is a device, not a file"},
        {"", rc::kFileBadPath, "no file name was given"},
    };
    for (const auto& c : cases) {
        for (const FileResult& r : {CheckOutputFile(c.path), WriteFileAtomically(c.path, "new")}) {
            EXPECT_EQ(r.code, c.code) << c.path;
            EXPECT_EQ(r.reason, c.reason) << c.path;
        }
    }
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"plain", "folder"}));
}

// A replaced file keeps its permissions and a symbolic link stays a link; the program's own files
// get their missing folders.
TEST(OutputFile, ReplacesTheFileALinkNamesAndKeepsItsPermissions) {
    TempDir dir;
    const std::string file = dir.Write("t.xml", "old");
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    std::filesystem::create_symlink("t.xml", dir.File("link.xml"));
    ASSERT_TRUE(WriteFileAtomically(dir.File("link.xml"), "new").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.xml")));
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(TempDir::Read(file), "new");
    EXPECT_TRUE(WriteFileAtomically(dir.File("a/b/c.conf"), "k=v\n", Folders::Create).ok());
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"t.xml", "link.xml", "a"}));
}

// A full disk and a file system that turned read-only leave the earlier file as it was.
TEST(OutputFile, AFullOrReadOnlyFileSystemLeavesTheEarlierFile) {
    TempDir dir;
    const char* at = dir.path().c_str();
    if (::mount("tmpfs", at, "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "mounting a small tmpfs was refused (needs root): not checked here";
    const struct Unmount {
        const char* at;
        ~Unmount() { ::umount(at); }
    } unmount{at};
    const std::string target = dir.File("t.pdf");
    ASSERT_TRUE(WriteFileAtomically(target, "earlier").ok());
    const FileResult full = WriteFileAtomically(target, std::string(64 * 1024, 'x'));
    EXPECT_EQ(full.code, rc::kFileDiskFull);
    EXPECT_EQ(full.reason, "No space left on device");
    ASSERT_EQ(::mount("tmpfs", at, "tmpfs", MS_REMOUNT | MS_RDONLY, "size=16k"), 0);
    const FileResult readOnly = WriteFileAtomically(target, "new");
    EXPECT_EQ(readOnly.code, rc::kFileAccessDenied);
    EXPECT_EQ(readOnly.reason, "is on a read-only file system");
    EXPECT_EQ(CheckOutputFile(dir.File("other.pdf")).reason,
              "cannot create files in the folder " + dir.path() + ": Read-only file system");
    EXPECT_EQ(TempDir::Read(target), "earlier");
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"t.pdf"});
}

// A signal while the file is written discards the new contents, then reaches the program as it
// would have: its default action ends the program, a headless run's handler notes it.
TEST(OutputFile, ASignalMidWriteLeavesTheEarlierFileAndStillReachesTheProgram) {
    TempDir dir;
    const std::string target = dir.Write("t.upg", "earlier");
    auto writeWithSignal = [&target]() {
        OutputFile file(target);
        file.Write("half", 4);
        std::raise(SIGTERM);
        file.Write(" and the rest", 13);
        return file.Commit();
    };
    EXPECT_EXIT((writeWithSignal(), std::exit(0)), ::testing::KilledBySignal(SIGTERM), "");
    InterruptHandlers handlers;
    const FileResult interrupted = writeWithSignal();
    EXPECT_EQ(interrupted.code, rc::kInterrupted);
    EXPECT_EQ(interrupted.reason, "interrupted by SIGTERM");
    EXPECT_EQ(TakeInterrupt(), SIGTERM);
    EXPECT_EQ(TempDir::Read(target), "earlier");
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"t.upg"});
}

}  // namespace
}  // namespace vxl
