// The vxlsim program itself: its ready line, power cycles on request, clean exit, options;
// and the simulator's link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "e2e_fixture.h"
#include "modem/command_exchange.h"

namespace vxl::sim::test {
namespace {

const std::string kProgram = std::string(VXL_BINARY_DIR) + "/src/sim/vxlsim";

// vxlsim with its standard input on a named pipe and its output read here; killed if the test
// ends early. The shell prints its process number, which exec hands on to vxlsim.
class Program {
  public:
    Program(const std::string& fifo, const std::string& args) {
        EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        out_ = popen(("echo $$; exec " + kProgram + " " + args + " <" + fifo).c_str(), "r");
        in_ = open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
        pid_ = std::atoi(ReadLine().c_str());
    }
    ~Program() {
        if (out_) kill(pid_, SIGKILL);
        Wait();
        close(in_);
    }
    std::string ReadLine() {
        char line[256] = {};
        if (!std::fgets(line, sizeof line, out_)) return "";
        return std::string(line, std::strcspn(line, "\n"));
    }
    void WriteLine() { ASSERT_EQ(write(in_, "\n", 1), 1); }
    void Signal(int signal) { kill(pid_, signal); }
    int Wait() {
        const int status = out_ ? pclose(out_) : -1;
        out_ = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    std::FILE* out_ = nullptr;
    int in_ = -1;
    pid_t pid_ = -1;
};

TEST_F(EndToEnd, VxlsimPowerCyclesOnTimerSignalAndInputThenStopsCleanly) {
    const std::string link = dir.File("m0");
    Program program(dir.File("input"),
                    "--link " + link + " --power-cycle-after 0.2 --capture-window 1");
    ASSERT_EQ(program.ReadLine(), "ready " + link);
    portNumber = vxl::PortTable::Instance().AssignDevice(link);
    OpenPort();
    // After the reset only a power cycle lets the next capture in.
    const struct {
        const char* name;
        std::function<void()> powerCycle;
    } cycles[] = {{"the timer", [] {}},
                  {"SIGUSR1", [&] { program.Signal(SIGUSR1); }},
                  {"a line on standard input", [&] { program.WriteLine(); }}};
    for (const auto& cycle : cycles) {
        cycle.powerCycle();
        EXPECT_EQ(modem->Capture(status, 3, false), vxl::rc::kOk) << cycle.name << ": " << status;
        // The reset itself, without the second the program then gives the modem.
        uint8_t reply[5];
        EXPECT_EQ(vxl::ExchangeCommand(&port, vxl::rules::kReset, {0x01, 0x1D, 0x00, 0xE2},
                                       vxl::rules::kReset.pollLimit, status, reply),
                  vxl::rc::kOk)
            << cycle.name << ": " << status;
    }
    port.Close();
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(), 0);
    struct stat info {};
    EXPECT_NE(lstat(link.c_str(), &info), 0) << "the link outlived the program";
}

// The in-process simulator links its terminal the same way (its link going with it is checked
// where an adapter is unplugged), and replaces no file.
TEST_F(EndToEnd, SimulatorLinksItsTerminalAndReplacesNoFile) {
    StartModem();
    char target[256] = {};
    ASSERT_GT(readlink(sim->LinkPath().c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), sim->SlavePath());
    sim->Stop();
    sim->Stop();  // twice is harmless

    SimOptions options;
    options.linkPath = dir.Write("modem", "precious");
    Simulator other(options);
    std::string error;
    EXPECT_FALSE(other.Start(&error));
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
