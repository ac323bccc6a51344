// The vxlsim program's options and image export, and the simulator's link. Its ready line, a
// power cycle on a line of input and its exit are what the window's end-to-end runs use.
#include <gtest/gtest.h>

#include <string>

#include "e2e_fixture.h"

namespace vxl::sim::test {
namespace {

const std::string kProgram = std::string(VXL_BINARY_DIR) + "/src/sim/vxlsim";

// The link goes with the simulator where an adapter is unplugged; it never replaces a file.
TEST(VxlsimProgram, ALinkNeverReplacesAFile) {
    vxl::test::TempDir dir;
    SimOptions options;
    options.linkPath = dir.Write("modem", "precious");
    Simulator sim(options);
    std::string error;
    EXPECT_FALSE(sim.Start(&error));
    EXPECT_NE(error.find("not a symbolic link"), std::string::npos);
    EXPECT_EQ(vxl::test::TempDir::Read(options.linkPath), "precious");
}

TEST(VxlsimProgram, HelpBadOptionsAndImageExport) {
    vxl::test::TempDir dir;
    const struct {
        std::string arguments;
        int exitStatus;
        const char* shown;
    } runs[] = {
        {"--help", 0, "--hang-up-after"},
        {"--baud 12345", 2, "--baud"},
        {"--export-image " + dir.File("qmx.bin") + " --qmx-row 24 --firmware 3.40", 0, ""},
    };
    for (const auto& run : runs) {
        std::string output;
        EXPECT_EQ(RunCommand(kProgram + " " + run.arguments, &output), run.exitStatus) << output;
        EXPECT_NE(output.find(run.shown), std::string::npos) << output;
    }
    MemoryBytes memory;
    std::string error;
    ASSERT_TRUE(LoadMemoryFile(dir.File("qmx.bin"), &memory, &error)) << error;
    EXPECT_EQ(memory[kModelByteAddress], 24);
    EXPECT_EQ(DescribeMemory(memory).modemType, 1);
}

}  // namespace
}  // namespace vxl::sim::test
