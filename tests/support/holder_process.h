// Another program for tests: a child process with a chosen name that holds a device open and
// locked (or just runs, for lock files), until the object is destroyed.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace vxl::test {

class HolderProcess {
  public:
    explicit HolderProcess(const std::string& name, const std::string& device = std::string()) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_NAME, name.c_str(), 0, 0, 0);
            if (!device.empty()) {
                const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
                if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) _exit(1);
            }
            if (::write(ready[1], "x", 1) != 1) _exit(1);
            for (;;) pause();
        }
        ::close(ready[1]);
        char c = 0;
        if (pid_ < 0 || ::read(ready[0], &c, 1) != 1) Stop();
        ::close(ready[0]);
    }
    ~HolderProcess() { Stop(); }
    HolderProcess(const HolderProcess&) = delete;
    HolderProcess& operator=(const HolderProcess&) = delete;

    // The child's PID; -1 when it could not start or has been stopped.
    int pid() const { return pid_; }
    void Stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    int pid_ = -1;
};

}  // namespace vxl::test
