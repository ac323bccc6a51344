// Why a port cannot be opened: the program holding it or its lock file, the group that may use
// it, and the adapter that is gone; each named in the text the user reads.
#include "link/port_diagnosis.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/com_port.h"
#include "link/port_lock_files.h"
#include "support/holder_process.h"
#include "support/temp_dir.h"
#include "test_pty.h"
#include "util/format.h"

namespace vxl::test {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

int OpenError(int portNumber) {
    CComPort port;
    return port.Open(true, portNumber, 9600, 0, 8, 0, 9, 100) ? 0 : port.GetLastError();
}

TEST(PortDiagnosis, AnotherProgramHoldingThePortIsNamedWithAHintForModemManager) {
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    for (const char* name : {"minicom", "ModemManager"}) {
        SCOPED_TRACE(name);
        HolderProcess holder(name, pty.slavePath());
        ASSERT_GT(holder.pid(), 0);
        const int error = OpenError(pty.portNumber());
        ASSERT_TRUE(IsPortInUseError(error)) << error;
        const PortDiagnosis d = DiagnosePortOpen(pty.portNumber(), error);
        const std::string held = Format("%s (PID %d)", name, holder.pid());
        EXPECT_EQ(d.Status(), "Unavailable: in use by " + held);
        EXPECT_TRUE(Contains(d.Advice(), pty.slavePath() + " is in use by " + held)) << d.Advice();
        const bool modemManager = std::strcmp(name, "ModemManager") == 0;
        EXPECT_EQ(Contains(d.Advice(), "sudo systemctl stop ModemManager"), modemManager);
        EXPECT_EQ(Contains(d.Advice(), "ID_MM_DEVICE_IGNORE=1"), modemManager);
    }
    EXPECT_EQ(OpenError(pty.portNumber()), 0) << "free again once the holder ended";
}

TEST(PortDiagnosis, ALiveLockFileMakesThePortBusyAStaleOneIsIgnored) {
    TestPty pty;
    TempDir locks;
    ASSERT_TRUE(pty.ok());
    ScopedPortLockFolders scope({locks.path()});
    HolderProcess cu("cu");
    int stalePid = 0;
    {
        HolderProcess gone("gone");
        stalePid = gone.pid();
    }
    const std::string base = pty.slavePath().substr(pty.slavePath().rfind('/') + 1);
    int binaryPid = cu.pid();
    const struct {
        const char* name;
        std::string file, content;
        bool busy;
    } cases[] = {
        {"live, ten digits", "LCK.." + base, Format("%10d\n", cu.pid()), true},
        {"live, sub-folder name", "LCK..pts_" + base, Format("%d\n", cu.pid()), true},
        {"live, binary", "LCK.." + base, std::string(reinterpret_cast<char*>(&binaryPid), 4), true},
        {"stale", "LCK.." + base, Format("%10d\n", stalePid), false},
        {"this program's own", "LCK.." + base, Format("%10d\n", getpid()), false},
        {"not a number", "LCK.." + base, "none\n", false},
        {"another device", "LCK..ttyUSB9", Format("%10d\n", cu.pid()), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = locks.Write(c.file, c.content);
        const int error = OpenError(pty.portNumber());
        EXPECT_EQ(error, c.busy ? EBUSY : 0);
        if (c.busy) {
            const PortDiagnosis d = DiagnosePortOpen(pty.portNumber(), error);
            EXPECT_EQ(d.Status(), Format("Unavailable: locked by cu (PID %d)", cu.pid()));
            EXPECT_TRUE(Contains(d.Advice(), "(lock file " + file + ")")) << d.Advice();
        }
        ::unlink(file.c_str());
    }
}

// Runs the open and its diagnosis as user `nobody`: the advice text, or why it could not run.
std::string AdviceAsNobody(int portNumber) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return "no pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        constexpr uid_t kNobody = 65534;
        std::string text = "could not become nobody";
        if (setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0) {
            const int error = OpenError(portNumber);
            const PortDiagnosis d = DiagnosePortOpen(portNumber, error);
            text = Format("%d|%s|%s", error, d.Status().c_str(), d.Advice().c_str());
        }
        _exit(::write(pipeFds[1], text.data(), text.size()) > 0 ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    ::close(pipeFds[0]);
    waitpid(pid, nullptr, 0);
    return text;
}

TEST(PortDiagnosis, PermissionDeniedNamesTheGroupAndTheCommandThatHelps) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    struct stat st;
    ASSERT_EQ(stat(pty.slavePath().c_str(), &st), 0);
    const group* g = getgrgid(st.st_gid);
    ASSERT_NE(g, nullptr);
    const std::string name = g->gr_name;
    // A group with read and write access is one to join; a pty's own mode gives the group
    // write access only, which joining does not help.
    ASSERT_EQ(chmod(pty.slavePath().c_str(), 0660), 0);
    std::string text = AdviceAsNobody(pty.portNumber());
    EXPECT_EQ(
        text.rfind(Format("%d|Unavailable: no permission (group %s)|", EACCES, name.c_str()), 0),
        0u)
        << text;
    EXPECT_TRUE(Contains(text, "you are not in the group '" + name + "'")) << text;
    EXPECT_TRUE(Contains(text, "'sudo usermod -aG " + name + " $USER', then log out and in again"))
        << text;
    ASSERT_EQ(chmod(pty.slavePath().c_str(), 0620), 0);
    text = AdviceAsNobody(pty.portNumber());
    EXPECT_TRUE(Contains(text, "group '" + name + "' (mode 0620), which gives the group no read"))
        << text;
}

TEST(PortDiagnosis, GoneUnknownAndOtherFailuresSayWhatHappened) {
    const struct {
        std::string device;
        int error;
        const char* status;
        const char* advice;
    } cases[] = {
        {"/dev/ttyUSB7", ENOENT, "Not present: unplugged",
         "/dev/ttyUSB7 is not there: the adapter was unplugged"},
        {"/etc/hostname", ENOTTY, "Not a serial port", "/etc/hostname is not a serial port."},
        {"", ENOENT, "Not known", "Serial port 0 is not known on this machine"},
        {"/dev/ttyS0", EINVAL, "Unavailable: Invalid argument",
         "/dev/ttyS0 cannot be opened: Invalid argument."},
    };
    for (const auto& c : cases) {
        const PortDiagnosis d = DiagnosePortError(c.device, c.error);
        EXPECT_EQ(d.Status(), c.status) << c.device << " " << c.error;
        EXPECT_TRUE(Contains(d.Advice(), c.advice)) << d.Advice();
    }
}

}  // namespace
}  // namespace vxl::test
