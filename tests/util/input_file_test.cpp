#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/temp_dir.h"
#include "util/input_file.h"
#include "util/result_codes.h"

namespace {

using vxl::ReadInputFile;

TEST(InputFile, ReadsRegularFilesAndRefusesEverythingElseWithoutBlocking) {
    vxl::test::TempDir dir;
    std::string good = dir.Write("good.fw", "S0\r\n");
    std::string empty = dir.Write("empty.fw", "");
    std::string big = dir.Write("big.fw", std::string(11, 'x'));
    std::string fifo = dir.File("pipe.fw");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    struct Case {
        std::string path;
        int code;
        std::string reason;
    } cases[] = {
        {good, 0, ""},
        {dir.File("missing.fw"), vxl::rc::kFileNotFound, "No such file or directory"},
        {dir.path(), vxl::rc::kFileAccessDenied, "is a directory"},
        {fifo, vxl::rc::kFileBadPath, "is a pipe (FIFO), not a file"},
        {empty, vxl::rc::kFileEndOfFile, "is empty"},
        {big, vxl::rc::kTooManyBytes, "is larger than 10 bytes"},
    };
    for (const Case& c : cases) {
        std::string content = "stale";
        vxl::InputFileResult r = ReadInputFile(c.path, 10, content);
        EXPECT_EQ(r.code, c.code) << c.path;
        EXPECT_EQ(r.reason, c.reason) << c.path;
        EXPECT_EQ(content, c.code == 0 ? "S0\r\n" : "") << c.path;
    }
}

}  // namespace
