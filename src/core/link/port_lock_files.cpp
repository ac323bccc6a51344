#include "link/port_lock_files.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

namespace vxl {

namespace {

std::mutex foldersMutex;
std::vector<std::string> folders = {"/run/lock", "/var/lock"};

std::string Canonical(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void AddOnce(std::vector<std::string>* names, const std::string& name) {
    if (name.empty()) return;
    for (const std::string& known : *names)
        if (known == name) return;
    names->push_back(name);
}

// The PID in a lock file: ASCII digits (with blanks around them), or a binary int of the
// oldest programs. 0 when the file holds neither.
int ReadLockPid(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 0;
    char text[64] = {0};
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (got <= 0) return 0;
    bool asText = true;
    for (ssize_t i = 0; i < got; ++i)
        asText =
            asText && ((text[i] >= '0' && text[i] <= '9') || text[i] == ' ' || text[i] == '\n');
    if (!asText && got == static_cast<ssize_t>(sizeof(int))) {
        int binary = 0;
        std::memcpy(&binary, text, sizeof binary);
        return binary > 0 ? binary : 0;
    }
    char* end = nullptr;
    const long pid = std::strtol(text, &end, 10);
    return end != text && pid > 0 && pid <= 0x7FFFFFFF ? static_cast<int>(pid) : 0;
}

// A process exists unless the system says there is no such process.
bool ProcessRuns(int pid) {
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

}  // namespace

std::vector<std::string> PortLockFolders() {
    std::lock_guard<std::mutex> guard(foldersMutex);
    return folders;
}

ScopedPortLockFolders::ScopedPortLockFolders(std::vector<std::string> replacement) {
    std::lock_guard<std::mutex> guard(foldersMutex);
    previous_.swap(folders);
    folders = std::move(replacement);
}

ScopedPortLockFolders::~ScopedPortLockFolders() {
    std::lock_guard<std::mutex> guard(foldersMutex);
    folders.swap(previous_);
}

std::vector<std::string> PortLockNames(const std::string& device) {
    std::vector<std::string> names;
    for (const std::string& path : {device, Canonical(device)}) {
        AddOnce(&names, "LCK.." + BaseName(path));
        if (path.rfind("/dev/", 0) == 0) {
            std::string inDev = path.substr(5);
            for (char& c : inDev)
                if (c == '/') c = '_';
            AddOnce(&names, "LCK.." + inDev);
        }
    }
    return names;
}

bool FindLivePortLock(const std::string& device, PortLock* lock) {
    if (device.empty()) return false;
    std::vector<std::string> seenFolders;
    for (const std::string& folder : PortLockFolders()) {
        // /var/lock is usually a link to /run/lock.
        const std::string real = Canonical(folder);
        bool seen = false;
        for (const std::string& known : seenFolders) seen = seen || known == real;
        if (seen) continue;
        seenFolders.push_back(real);
        for (const std::string& name : PortLockNames(device)) {
            const std::string file = folder + "/" + name;
            const int pid = ReadLockPid(file);
            if (pid <= 0 || pid == ::getpid() || !ProcessRuns(pid)) continue;
            if (lock) {
                lock->file = file;
                lock->pid = pid;
            }
            return true;
        }
    }
    return false;
}

}  // namespace vxl
