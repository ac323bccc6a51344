// Where a benchmark writes: a temporary folder for its preferences (never the user's: the
// window stores its folders and the coordinator the port it used), backups, PDF files and the
// simulator's link. The folder goes on every way out: a normal end, exit() after a failure,
// and SIGINT, SIGTERM or SIGHUP, which also end the simulator process if one runs.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "util/preferences.h"

namespace vxl::bench {

// The simulator process a benchmark started, for the exit paths that skip destructors.
inline pid_t& SimulatorPid() {
    static pid_t pid = -1;
    return pid;
}

// The folder's path in a fixed buffer, so that the signal handler reads no heap memory.
inline char* ScratchPath() {
    static char path[64] = {};
    return path;
}

inline void RemoveScratch() {
    if (ScratchPath()[0] == '\0') return;
    std::error_code ignored;
    std::filesystem::remove_all(ScratchPath(), ignored);
    ScratchPath()[0] = '\0';
}

// Only async-signal-safe calls: the folder is removed by a shell that takes over the process
// and leaves with the status of a run stopped by `signal`.
extern "C" inline void StopOnSignal(int signal) {
    const pid_t pid = SimulatorPid();
    if (pid > 0) kill(pid, SIGTERM);
    if (ScratchPath()[0] != '\0') {
        const int status = 128 + signal;
        char code[4] = {static_cast<char>('0' + status / 100),
                        static_cast<char>('0' + status / 10 % 10),
                        static_cast<char>('0' + status % 10), '\0'};
        execl("/bin/sh", "sh", "-c", "rm -rf -- \"$1\"; exit \"$2\"", "sh", ScratchPath(), code,
              static_cast<char*>(nullptr));
    }
    _exit(128 + signal);
}

// One per benchmark, made first in main().
class ScratchFolder {
  public:
    ScratchFolder() = default;
    ~ScratchFolder() { RemoveScratch(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    static std::string Make() {
        std::strcpy(ScratchPath(), "/tmp/vxlbench.XXXXXX");
        if (mkdtemp(ScratchPath()) == nullptr) {
            std::fprintf(stderr, "benchmark failed: no temporary folder in /tmp\n");
            std::exit(1);
        }
        std::atexit(RemoveScratch);
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::signal(signal, StopOnSignal);
        return ScratchPath();
    }

    std::string path_ = Make();
    vxl::PreferenceStore prefs_{path_ + "/prefs.conf"};
    vxl::ScopedPrefs prefsScope_{prefs_};
};

}  // namespace vxl::bench
