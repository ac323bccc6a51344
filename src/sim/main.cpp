// vxlsim: a radio modem on a pseudo-terminal, for trying and testing the configuration program
// without hardware.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sim/lib/simulator.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "vxlsim: %s\n", message.c_str());
    return 2;
}

// Reads what standard input has; false at its end. Each complete line asks for a power cycle.
bool ReadStandardInput(std::string* pending, int* lines) {
    char buffer[256];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) return false;
    pending->append(buffer, static_cast<size_t>(n));
    size_t newline;
    while ((newline = pending->find('\n')) != std::string::npos) {
        pending->erase(0, newline + 1);
        ++*lines;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vxl::sim;
    SimOptions options = ProgramDefaults();
    std::string error;
    switch (ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        case ParseOutcome::kHelp:
            std::fputs(HelpText().c_str(), stdout);
            return 0;
        case ParseOutcome::kError:
            return Fail(error);
        case ParseOutcome::kRun:
            break;
    }
    if (!options.exportImagePath.empty()) {
        MemoryBytes memory;
        if (!InitialMemory(options, &memory, &error) ||
            !SaveMemoryFile(options.exportImagePath, memory, &error))
            return Fail(error);
        return 0;
    }

    // The signals are taken from a descriptor; blocked before the modem's thread starts, so
    // they reach no other thread.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1);
    sigaddset(&signals, SIGHUP);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    const int signalFd = signalfd(-1, &signals, SFD_CLOEXEC);
    if (signalFd < 0) return Fail("cannot take signals");

    Simulator simulator(options);
    if (!simulator.Start(&error)) return Fail(error);
    std::printf("ready %s\n", simulator.LinkPath().c_str());
    std::fflush(stdout);

    bool stdinOpen = true;
    std::string pending;
    for (;;) {
        pollfd fds[2] = {{signalFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(fds, stdinOpen ? 2 : 1, -1) < 0) continue;
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            if (read(signalFd, &info, sizeof info) != sizeof info) continue;
            if (info.ssi_signo == SIGUSR1) {
                simulator.PowerCycle();
                continue;
            }
            break;  // SIGINT, SIGTERM, SIGHUP
        }
        if (stdinOpen && (fds[1].revents & (POLLIN | POLLHUP))) {
            int lines = 0;
            stdinOpen = ReadStandardInput(&pending, &lines);
            for (int i = 0; i < lines; ++i) simulator.PowerCycle();
        }
    }
    simulator.Stop();
    const std::string lastError = simulator.Status().lastError;
    if (!lastError.empty()) std::fprintf(stderr, "vxlsim: %s\n", lastError.c_str());
    return 0;
}
