// The vxlsim program itself: its ready line, power cycles on request, clean exit.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "line_harness.h"
#include "pty_host.h"
#include "sim/lib/modem_memory.h"
#include "support/temp_dir.h"

extern char** environ;

namespace vxl::sim::test {
namespace {

const std::string kProgram = std::string(VXL_BINARY_DIR) + "/src/sim/vxlsim";
const Bytes kCapture = {0x01, 0x22, 0x00, 0xDD};

// vxlsim with its standard input and output on pipes.
class Program {
  public:
    explicit Program(std::vector<std::string> args) {
        int in[2], out[2], err[2];
        if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            posix_spawn_file_actions_addclose(&actions, fd);
        args.insert(args.begin(), kProgram);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, kProgram.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        close(err[1]);
        stdin_ = in[1];
        stdout_ = out[0];
        stderr_ = err[0];
    }
    ~Program() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
        for (int fd : {stdin_, stdout_, stderr_})
            if (fd >= 0) close(fd);
    }

    // The first line of standard output.
    std::string ReadLine() {
        std::string line;
        char c;
        while (read(stdout_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }
    std::string ReadAll(int fd) {
        std::string text;
        char buffer[512];
        ssize_t n;
        while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, n);
        return text;
    }
    std::string Stdout() { return ReadAll(stdout_); }
    std::string Stderr() { return ReadAll(stderr_); }
    void WriteLine() { ASSERT_EQ(write(stdin_, "\n", 1), 1); }
    void Signal(int signal) { kill(pid_, signal); }
    int Wait() {
        int status = 0;
        if (pid_ > 0 && waitpid(pid_, &status, 0) == pid_) pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int stdin_ = -1, stdout_ = -1, stderr_ = -1;
};

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// Keeps sending the capture command until the modem answers, then resets it to data mode.
void CaptureThenReset(PtyHost& host, const char* after) {
    Bytes reply;
    for (int attempt = 0; attempt < 30 && reply.empty(); ++attempt) {
        ASSERT_TRUE(host.Write(kCapture));
        reply = host.Read(4, 50);
    }
    ASSERT_EQ(reply, Reply(0x22, 0)) << after;
    ASSERT_TRUE(host.Write(Frame(0x1D, {0})));
    ASSERT_EQ(host.Read(4, 1000), Reply(0x1D, 0)) << after;
    ASSERT_TRUE(host.Write(kCapture));
    ASSERT_TRUE(host.Read(4, 50).empty()) << "data mode after the reset, " << after;
}

TEST(VxlsimProgram, PowerCyclesOnTimerSignalAndInputThenStopsCleanly) {
    vxl::test::TempDir dir;
    const std::string link = dir.File("m0");
    Program program({"--link", link, "--power-cycle-after", "0.2", "--capture-window", "1"});
    ASSERT_EQ(program.ReadLine(), "ready " + link);
    PtyHost host(link);
    ASSERT_TRUE(host.ok());
    CaptureThenReset(host, "the timed power cycle");
    program.Signal(SIGUSR1);
    CaptureThenReset(host, "SIGUSR1");
    program.WriteLine();
    CaptureThenReset(host, "a line on standard input");
    host.Close();
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(), 0);
    EXPECT_FALSE(Exists(link));
}

TEST(VxlsimProgram, HelpBadOptionsAndImageExport) {
    {
        Program program({"--help"});
        const std::string help = program.Stdout();
        EXPECT_EQ(program.Wait(), 0);
        EXPECT_NE(help.find("--hang-up-after"), std::string::npos);
    }
    {
        Program program({"--baud", "12345"});
        const std::string error = program.Stderr();
        EXPECT_EQ(program.Wait(), 2);
        EXPECT_NE(error.find("--baud"), std::string::npos) << error;
    }
    vxl::test::TempDir dir;
    {
        Program program(
            {"--export-image", dir.File("qmx.bin"), "--qmx-row", "24", "--firmware", "3.40"});
        EXPECT_EQ(program.Wait(), 0);
    }
    MemoryBytes memory;
    std::string error;
    ASSERT_TRUE(LoadMemoryFile(dir.File("qmx.bin"), &memory, &error)) << error;
    EXPECT_EQ(memory[kModelByteAddress], 24);
    EXPECT_EQ(DescribeMemory(memory).modemType, 1);
}

}  // namespace
}  // namespace vxl::sim::test
