// The vxlsim program itself: its ready line, power cycles on request, clean exit, options;
// and the simulator's link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "e2e_fixture.h"
#include "modem/command_exchange.h"

namespace vxl::sim::test {
namespace {

const std::string kProgram = std::string(VXL_BINARY_DIR) + "/src/sim/vxlsim";

// vxlsim with its standard input and output on pipes; killed if the test ends early.
class Program {
  public:
    explicit Program(std::vector<std::string> args) {
        int in[2], out[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
        args.insert(args.begin(), kProgram);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            execv(kProgram.c_str(), argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        stdin_ = in[1];
        stdout_ = out[0];
    }
    ~Program() {
        if (pid_ > 0) kill(pid_, SIGKILL);
        Wait();
        close(stdin_);
        close(stdout_);
    }

    std::string ReadLine() {
        std::string line;
        char c;
        while (read(stdout_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }
    void WriteLine() { ASSERT_EQ(write(stdin_, "\n", 1), 1); }
    void Signal(int signal) { kill(pid_, signal); }
    int Wait() {
        int status = 0;
        if (pid_ > 0 && waitpid(pid_, &status, 0) == pid_) pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int stdin_ = -1, stdout_ = -1;
};

TEST_F(EndToEnd, VxlsimPowerCyclesOnTimerSignalAndInputThenStopsCleanly) {
    const std::string link = dir.File("m0");
    Program program({"--link", link, "--power-cycle-after", "0.2", "--capture-window", "1"});
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

// The in-process simulator makes and removes its link the same way, and replaces no file.
TEST_F(EndToEnd, SimulatorLinksItsTerminalAndReplacesNoFile) {
    StartModem();
    char target[256] = {};
    ASSERT_GT(readlink(sim->LinkPath().c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), sim->SlavePath());
    sim->Stop();
    sim->Stop();  // twice is harmless
    struct stat info {};
    EXPECT_NE(lstat(sim->LinkPath().c_str(), &info), 0) << "the link outlived the simulator";

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
