#include "link/port_diagnosis.h"

#include <dirent.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "link/port_error.h"
#include "link/port_lock_files.h"
#include "link/port_table.h"
#include "util/format.h"

namespace vxl {

namespace {

constexpr const char* kModemManager = "ModemManager";

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

std::string Canonical(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

bool IsNumber(const char* text) {
    if (*text == '\0') return false;
    for (; *text; ++text)
        if (*text < '0' || *text > '9') return false;
    return true;
}

// Whether this process runs with group `gid` (its own or a supplementary group).
bool InSessionGroup(gid_t gid) {
    if (getegid() == gid) return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(count);
    const int got = getgroups(count, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[i] == gid) return true;
    return false;
}

// Whether the group database lists the user in group `gid` (from the next login on).
bool ListedInGroup(const group& g, const std::string& user) {
    if (user.empty()) return false;
    for (char** member = g.gr_mem; member && *member; ++member)
        if (user == *member) return true;
    return false;
}

std::string UserName() {
    const passwd* pw = getpwuid(geteuid());
    return pw && pw->pw_name ? pw->pw_name : "";
}

void DiagnoseAccess(PortDiagnosis* d) {
    struct stat st;
    if (stat(d->device.c_str(), &st) != 0) return;
    d->mode = st.st_mode & 07777;
    d->groupMayReadWrite = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    if (const passwd* pw = getpwuid(st.st_uid)) d->owner = pw->pw_name;
    if (const group* g = getgrgid(st.st_gid)) {
        d->group = g->gr_name;
        d->joinedGroupNotYetActive = !InSessionGroup(st.st_gid) && ListedInGroup(*g, UserName());
    } else {
        d->group = std::to_string(st.st_gid);
    }
    if (d->owner.empty()) d->owner = std::to_string(st.st_uid);
}

void DiagnoseInUse(PortDiagnosis* d) {
    PortLock lock;
    if (FindLivePortLock(d->device, &lock)) {
        d->lockFile = lock.file;
        d->holders.push_back({lock.pid, ProcessName(lock.pid)});
        return;
    }
    d->holders = ProcessesUsingDevice(d->device, &d->hiddenProcesses);
}

std::string HolderList(const std::vector<PortProcess>& holders) {
    std::string text;
    for (const PortProcess& p : holders) {
        if (!text.empty()) text += ", ";
        text += Format("%s (PID %d)", p.name.empty() ? "a program" : p.name.c_str(), p.pid);
    }
    return text;
}

bool HeldByModemManager(const std::vector<PortProcess>& holders) {
    for (const PortProcess& p : holders)
        if (p.name == kModemManager) return true;
    return false;
}

}  // namespace

bool IsPortInUseError(int error) {
    return error == EBUSY || error == EWOULDBLOCK || error == EAGAIN;
}

std::string ProcessName(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

std::vector<PortProcess> ProcessesUsingDevice(const std::string& device, bool* hidden) {
    std::vector<PortProcess> found;
    if (hidden) *hidden = false;
    struct stat target;
    if (stat(device.c_str(), &target) != 0) return found;
    const std::string real = Canonical(device);
    std::unique_ptr<DIR, DirCloser> proc(opendir("/proc"));
    if (!proc) return found;
    while (dirent* entry = readdir(proc.get())) {
        if (!IsNumber(entry->d_name)) continue;
        const std::string fdFolder = std::string("/proc/") + entry->d_name + "/fd";
        std::unique_ptr<DIR, DirCloser> fds(opendir(fdFolder.c_str()));
        if (!fds) {
            if (errno == EACCES && hidden) *hidden = true;
            continue;
        }
        while (dirent* fd = readdir(fds.get())) {
            if (!IsNumber(fd->d_name)) continue;
            char link[4096];
            const std::string fdPath = fdFolder + "/" + fd->d_name;
            const ssize_t length = readlink(fdPath.c_str(), link, sizeof link - 1);
            if (length <= 0) continue;
            link[length] = '\0';
            if (real != link) continue;
            const int pid = std::atoi(entry->d_name);
            found.push_back({pid, ProcessName(pid)});
            break;
        }
    }
    return found;
}

PortDiagnosis DiagnosePortError(const std::string& device, int error) {
    PortDiagnosis d;
    d.device = device;
    d.error = error;
    if (error == 0) return d;
    if (device.empty()) {
        d.problem = PortProblem::kUnknown;
    } else if (error == EACCES || error == EPERM) {
        d.problem = PortProblem::kNoAccess;
        DiagnoseAccess(&d);
    } else if (IsPortInUseError(error)) {
        d.problem = PortProblem::kInUse;
        DiagnoseInUse(&d);
    } else if (error == ENOENT || error == ENODEV || error == ENXIO || error == EIO) {
        d.problem = PortProblem::kGone;
    } else if (error == ENOTTY) {
        d.problem = PortProblem::kNotSerial;
    } else {
        d.problem = PortProblem::kOther;
    }
    return d;
}

PortDiagnosis DiagnosePortOpen(int portNumber, int error) {
    PortDiagnosis d = DiagnosePortError(PortTable::Instance().DevicePath(portNumber), error);
    d.portNumber = portNumber;
    return d;
}

std::string PortDiagnosis::Status() const {
    switch (problem) {
        case PortProblem::kNone:
            return "Available";
        case PortProblem::kNoAccess:
            return group.empty() ? "Unavailable: no permission"
                                 : "Unavailable: no permission (group " + group + ")";
        case PortProblem::kInUse:
            if (holders.empty()) return "Unavailable: in use by another program";
            return (lockFile.empty() ? "Unavailable: in use by " : "Unavailable: locked by ") +
                   HolderList(holders);
        case PortProblem::kGone:
            return "Not present: unplugged";
        case PortProblem::kNotSerial:
            return "Not a serial port";
        case PortProblem::kUnknown:
            return "Not known";
        case PortProblem::kOther:
            break;
    }
    return "Unavailable: " + SystemErrorText(error);
}

std::string PortDiagnosis::Advice() const {
    const char* dev = device.c_str();
    switch (problem) {
        case PortProblem::kNone:
            return std::string();
        case PortProblem::kNoAccess:
            if (joinedGroupNotYetActive)
                return Format(
                    "Permission denied for %s: you were added to the group '%s', but this "
                    "session started before that. Log out and in again.",
                    dev, group.c_str());
            if (groupMayReadWrite)
                return Format(
                    "Permission denied for %s: you are not in the group '%s' that may use it. "
                    "Add yourself with 'sudo usermod -aG %s $USER', then log out and in again.",
                    dev, group.c_str(), group.c_str());
            if (!group.empty())
                return Format(
                    "Permission denied for %s: it belongs to user '%s' and group '%s' (mode "
                    "%04o), which gives the group no read and write access. Ask your "
                    "administrator for a udev rule that gives a group such as dialout read and "
                    "write access.",
                    dev, owner.c_str(), group.c_str(), mode);
            return Format("Permission denied for %s.", dev);
        case PortProblem::kInUse: {
            std::string text;
            if (holders.empty()) {
                text = Format("%s is in use by another program", dev);
                text += hiddenProcesses
                            ? Format(" (run 'sudo fuser -v %s' to see which). Close it", dev)
                            : ". Close it";
                text += " and try again.";
                return text;
            }
            text = lockFile.empty()
                       ? Format("%s is in use by %s.", dev, HolderList(holders).c_str())
                       : Format("%s is locked by %s (lock file %s).", dev,
                                HolderList(holders).c_str(), lockFile.c_str());
            if (HeldByModemManager(holders)) {
                text +=
                    " ModemManager probes serial devices for mobile-broadband modems: stop it "
                    "with 'sudo systemctl stop ModemManager', or keep it off this adapter with a "
                    "udev rule that sets ID_MM_DEVICE_IGNORE=1.";
            } else {
                text += holders.size() == 1 ? " Close that program and try again."
                                            : " Close those programs and try again.";
            }
            return text;
        }
        case PortProblem::kGone:
            return Format(
                "%s is not there: the adapter was unplugged or the device was removed. Plug it in "
                "and try again.",
                dev);
        case PortProblem::kNotSerial:
            return Format("%s is not a serial port.", dev);
        case PortProblem::kUnknown:
            return Format(
                "Serial port %d is not known on this machine; 'vxlconf ports' lists the serial "
                "ports.",
                portNumber);
        case PortProblem::kOther:
            break;
    }
    return Format("%s cannot be opened: %s.", dev, SystemErrorText(error).c_str());
}

}  // namespace vxl
