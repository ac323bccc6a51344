// What the benchmarks on a simulated modem need: vxlsim in a process of its own (so this
// process's CPU time is the reading side's alone), the real serial port on its link, and a
// captured, identified modem. The simulator ends with the benchmark on every path: a normal
// end, a failure, a signal, even SIGKILL (the kernel sends it SIGTERM when its parent goes).
#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "link/com_port.h"
#include "link/port_table.h"
#include "modem/modem.h"
#include "params/modem_memory_image.h"
#include "scratch_folder.h"

extern char** environ;

namespace vxl::bench {

inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline double WallMs() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline void StopSimulator() {
    const pid_t pid = SimulatorPid();
    SimulatorPid() = -1;
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

[[noreturn]] inline void Die(const std::string& why) {
    std::fprintf(stderr, "benchmark failed: %s\n", why.c_str());
    StopSimulator();
    std::exit(1);
}

// "--short": a quick run for the test suite (a small modem, few exchanges), which only shows
// that the benchmark still works; its figures mean little.
inline bool ShortMode(int argc, char** argv) {
    return argc > 1 && std::string(argv[1]) == "--short";
}

class SimProcess {
  public:
    // Starts vxlsim with `args` on a link in the scratch folder and waits for its ready line.
    SimProcess(const ScratchFolder& scratch, std::vector<std::string> args) {
        link_ = scratch.File("modem");
        // The benchmark's own operator power-cycles the modem during the capture.
        args.insert(args.begin(), {VXL_SIM_PROGRAM, "--link", link_, "--no-operator"});
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) Die("no pipe");
        const pid_t parent = getpid();
        const pid_t pid = fork();
        if (pid < 0) Die("cannot start " VXL_SIM_PROGRAM);
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != parent) _exit(1);  // the benchmark is already gone
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execve(VXL_SIM_PROGRAM, argv.data(), environ);
            _exit(127);
        }
        SimulatorPid() = pid;
        close(out[1]);
        std::string line;
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
        close(out[0]);
        if (line != "ready " + link_) Die("vxlsim did not start: " + line);
    }
    ~SimProcess() { StopSimulator(); }
    const std::string& link() const { return link_; }
    void PowerCycle() {
        if (SimulatorPid() > 0) kill(SimulatorPid(), SIGUSR1);
    }

  private:
    std::string link_;
};

class Session {
  public:
    // At 9600 baud the modem is captured at power-on; at another rate (the modem's own) by a
    // soft break at that rate.
    explicit Session(SimProcess& sim, int baud = 9600) : sim_(sim) {
        const int number = vxl::PortTable::Instance().AssignDevice(sim.link());
        if (!port_.Open(true, number, baud, 0, 8, 0, 9, 100000) || !port_.StartMonitor())
            Die("cannot open the port");
        modem_ = std::make_unique<CModem>(&port_);
        std::string status;
        int captured;
        if (baud == 9600) {
            // The modem is switched off and on while the capture runs.
            std::thread cycle([&sim] {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                sim.PowerCycle();
            });
            captured = modem_->Capture(status, 3, false);
            cycle.join();
        } else {
            captured = modem_->Capture(status, 1, false);
        }
        if (captured != 0) Die("capture failed: " + std::to_string(captured) + " " + status);
        if (modem_->Identify(status) != 0) Die("identification failed: " + status);
    }
    ~Session() {
        modem_.reset();
        port_.Close();
    }
    CModem& modem() { return *modem_; }

  private:
    SimProcess& sim_;
    CComPort port_;
    std::unique_ptr<CModem> modem_;
};

// The protocol's own wait for a command of `length` bytes at `baud`: the 10 ms write pause and
// the line time the sender sleeps (truncated, plus 1 ms), as the protocol layer computes it.
inline int SendWaitMs(int baud, int length) {
    const float seconds = (1.0f / (static_cast<float>(baud) * 0.1f)) * static_cast<float>(length);
    return 10 + static_cast<int>(seconds * 1000.0f) + 1;
}

}  // namespace vxl::bench
