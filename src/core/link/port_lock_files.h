// The lock-file convention of serial programs (minicom, cu, ...): a program that uses
// /dev/ttyUSB0 writes its PID into /run/lock/LCK..ttyUSB0 (ten characters and a newline, or
// an old binary int) and removes the file when done. A lock whose process is gone is stale.
#pragma once

#include <string>
#include <vector>

namespace vxl {

struct PortLock {
    std::string file;  // the lock file's path
    int pid = 0;       // the process that holds it
};

// Folders searched for lock files (by default /run/lock and /var/lock).
std::vector<std::string> PortLockFolders();

// Replaces the lock folders for the lifetime of this object (tests).
class ScopedPortLockFolders {
  public:
    explicit ScopedPortLockFolders(std::vector<std::string> folders);
    ~ScopedPortLockFolders();
    ScopedPortLockFolders(const ScopedPortLockFolders&) = delete;
    ScopedPortLockFolders& operator=(const ScopedPortLockFolders&) = delete;

  private:
    std::vector<std::string> previous_;
};

// The names a lock file for `device` may carry: "LCK..ttyUSB0" for /dev/ttyUSB0 (also when it
// is reached through a link), and "LCK..pts_3" for a device in a sub-folder of /dev.
std::vector<std::string> PortLockNames(const std::string& device);

// A lock on `device` held by a running process other than this one. Stale locks, unreadable
// files and locks of this process do not count.
bool FindLivePortLock(const std::string& device, PortLock* lock);

}  // namespace vxl
