// The writer every file of the program goes through: whatever stops it, the earlier file is
// intact and no temporary file is left; the result says why.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
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
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) names.insert(entry->d_name);
        ::closedir(dir);
    }
    return names;
}

// A small tmpfs of its own, mounted for the test (root only).
class SmallFileSystem {
  public:
    explicit SmallFileSystem(const std::string& at) : at_(at) {
        mounted_ = ::mount("tmpfs", at.c_str(), "tmpfs", 0, "size=16k") == 0;
    }
    ~SmallFileSystem() {
        if (mounted_) ::umount(at_.c_str());
    }
    bool mounted() const { return mounted_; }
    bool MakeReadOnly() {
        return ::mount("tmpfs", at_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=16k") == 0;
    }

  private:
    std::string at_;
    bool mounted_ = false;
};

// Targets that cannot be written: the check before any work and the writer refuse them alike,
// and nothing changes on disk.
TEST(OutputFile, TargetsThatCannotBeWrittenAreRefusedAloneWithTheirReason) {
    TempDir dir;
    dir.Write("plain", "x");
    ::mkdir(dir.File("folder").c_str(), 0755);
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
    const std::set<std::string> before = Names(dir.path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const FileResult checked = CheckOutputFile(c.path);
        const FileResult written = WriteFileAtomically(c.path, "new");
        EXPECT_EQ(checked.code, c.code);
        EXPECT_EQ(checked.reason, c.reason);
        EXPECT_EQ(written.code, checked.code);
        EXPECT_EQ(written.reason, checked.reason);
    }
    EXPECT_EQ(Names(dir.path()), before);
    EXPECT_EQ(TempDir::Read(dir.File("plain")), "x");
}

// A replaced file keeps its permissions; a symbolic link stays a link to the new contents; the
// program's own files get their missing folders.
TEST(OutputFile, ReplacesTheFileALinkNamesAndKeepsPermissions) {
    TempDir dir;
    const std::string file = dir.Write("t.xml", "old");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("t.xml", dir.File("link.xml").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(dir.File("link.xml"), "new").ok());
    struct stat info {};
    ASSERT_EQ(::lstat(dir.File("link.xml").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(TempDir::Read(file), "new");
    EXPECT_TRUE(WriteFileAtomically(dir.File("a/b/c.conf"), "k=v\n", Folders::Create).ok());
    EXPECT_EQ(TempDir::Read(dir.File("a/b/c.conf")), "k=v\n");
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{".", "..", "t.xml", "link.xml", "a"}));
}

// A full disk and a folder that turned read-only leave the earlier file as it was.
TEST(OutputFile, AFullOrReadOnlyFileSystemLeavesTheEarlierFile) {
    TempDir dir;
    SmallFileSystem small(dir.path());
    if (!small.mounted())
        GTEST_SKIP() << "mounting a small tmpfs was refused (needs root): not checked here";
    const std::string target = dir.File("t.pdf");
    ASSERT_TRUE(WriteFileAtomically(target, "earlier").ok());

    FileResult full = WriteFileAtomically(target, std::string(64 * 1024, 'x'));
    EXPECT_EQ(full.code, rc::kFileDiskFull);
    EXPECT_EQ(full.reason, "No space left on device");

    ASSERT_TRUE(small.MakeReadOnly());
    const FileResult readOnly = WriteFileAtomically(target, "new");
    EXPECT_EQ(readOnly.code, rc::kFileAccessDenied);
    EXPECT_EQ(readOnly.reason, "is on a read-only file system");
    EXPECT_EQ(CheckOutputFile(dir.File("other.pdf")).reason,
              "cannot create files in the folder " + dir.path() + ": Read-only file system");

    EXPECT_EQ(TempDir::Read(target), "earlier");
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{".", "..", "t.pdf"}));
}

// A signal that comes while the file is written discards the new contents and then reaches the
// program as it would have: its default action ends the program, a headless run's handler
// notes it.
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
    EXPECT_EXIT(
        {
            writeWithSignal();
            std::exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
    {
        InterruptHandlers handlers;
        const FileResult interrupted = writeWithSignal();
        EXPECT_EQ(interrupted.code, rc::kInterrupted);
        EXPECT_EQ(interrupted.reason, "interrupted by SIGTERM");
        EXPECT_EQ(TakeInterrupt(), SIGTERM);
    }
    EXPECT_EQ(TempDir::Read(target), "earlier");
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{".", "..", "t.upg"}));
}

}  // namespace
}  // namespace vxl
