// Who may open the simulated serial port: not a second program, not a user without access.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "e2e_fixture.h"
#include "link/port_error.h"

namespace vxl::sim::test {
namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

// Runs `open` in a child process (a second program) and returns the errno it reports (0 when
// the port opened), or -1 when the child failed otherwise.
template <typename Open>
int InChildProcess(Open open) {
    const pid_t pid = fork();
    if (pid == 0) _exit(open());
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

int OpenPortInChild(int portNumber) {
    CComPort port;
    if (port.Open(true, portNumber, 9600, 0, 8, 0, 9, 100000)) return 0;
    return port.GetLastError();
}

TEST_F(EndToEnd, ASecondProgramIsRefusedWhileThePortIsInUse) {
    StartModem();
    OpenPort();
    const int error = InChildProcess([this] { return OpenPortInChild(portNumber); });
    EXPECT_TRUE(error == EWOULDBLOCK || error == EBUSY) << "errno " << error;
    port.Close();
    EXPECT_EQ(InChildProcess([this] { return OpenPortInChild(portNumber); }), 0)
        << "free again once closed";
}

TEST_F(EndToEnd, AUserWithoutAccessGetsPermissionDenied) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
    StartModem();
    // Let the other user reach the link; the terminal itself (0620, group tty) stays closed.
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    const int error = InChildProcess([this] {
        if (setgroups(0, nullptr) != 0 || setgid(kNoGroup) != 0 || setuid(kNobody) != 0) return 100;
        const int result = OpenPortInChild(portNumber);
        if (vxl::SystemErrorText(result).find("ermission denied") == std::string::npos) return 101;
        return result;
    });
    EXPECT_EQ(error, EACCES);
}

}  // namespace
}  // namespace vxl::sim::test
