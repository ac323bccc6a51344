// What both benchmarks need: vxlsim in a process of its own (so this process's CPU time is the
// reading side's alone), the real serial port on its link, and a captured, identified modem.
#pragma once

#include <signal.h>
#include <spawn.h>
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

[[noreturn]] inline void Die(const std::string& why) {
    std::fprintf(stderr, "benchmark failed: %s\n", why.c_str());
    std::exit(1);
}

class SimProcess {
  public:
    // Starts vxlsim with `args` on a link in a fresh folder and waits for its ready line.
    explicit SimProcess(std::vector<std::string> args) {
        char folder[] = "/tmp/vxlbench.XXXXXX";
        if (mkdtemp(folder) == nullptr) Die("no temporary folder");
        folder_ = folder;
        link_ = folder_ + "/modem";
        args.insert(args.begin(), {VXL_SIM_PROGRAM, "--link", link_});
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) Die("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawn(&pid_, VXL_SIM_PROGRAM, &actions, nullptr, argv.data(), environ) != 0)
            Die("cannot start " VXL_SIM_PROGRAM);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        std::string line;
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
        close(out[0]);
        if (line != "ready " + link_) Die("vxlsim did not start: " + line);
    }
    ~SimProcess() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        rmdir(folder_.c_str());
    }
    const std::string& link() const { return link_; }
    void PowerCycle() { kill(pid_, SIGUSR1); }

  private:
    pid_t pid_ = -1;
    std::string folder_;
    std::string link_;
};

class Session {
  public:
    explicit Session(SimProcess& sim) : sim_(sim) {
        const int number = vxl::PortTable::Instance().AssignDevice(sim.link());
        if (!port_.Open(true, number, 9600, 0, 8, 0, 9, 100000) || !port_.StartMonitor())
            Die("cannot open the port");
        modem_ = std::make_unique<CModem>(&port_);
        // Power-on capture, with the modem switched off and on while the capture runs.
        std::thread cycle([&sim] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            sim.PowerCycle();
        });
        std::string status;
        const int captured = modem_->Capture(status, 3, false);
        cycle.join();
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
