#include "sim/lib/pty_endpoint.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "util/format.h"

namespace vxl::sim {

namespace {

struct SpeedEntry {
    speed_t speed;
    int baud;
};

constexpr SpeedEntry kSpeeds[] = {
    {B50, 50},       {B75, 75},         {B110, 110},       {B134, 134},     {B150, 150},
    {B200, 200},     {B300, 300},       {B600, 600},       {B1200, 1200},   {B1800, 1800},
    {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200}, {B38400, 38400},
    {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
};

int BaudOf(speed_t speed) {
    for (const SpeedEntry& entry : kSpeeds)
        if (entry.speed == speed) return entry.baud;
    return 0;
}

std::string ReadLink(const std::string& path) {
    char buffer[4096];
    const ssize_t n = readlink(path.c_str(), buffer, sizeof buffer - 1);
    if (n < 0) return std::string();
    return std::string(buffer, static_cast<size_t>(n));
}

}  // namespace

PtyEndpoint::~PtyEndpoint() {
    Close();
}

bool PtyEndpoint::Open(const std::string& linkPath, std::string* error) {
    Close();
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        *error = Format("cannot open a pseudo-terminal: %s", std::strerror(errno));
        return false;
    }
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    char name[256];
    if (grantpt(fd) != 0 || unlockpt(fd) != 0 || ptsname_r(fd, name, sizeof name) != 0) {
        *error = Format("cannot prepare the pseudo-terminal: %s", std::strerror(errno));
        close(fd);
        return false;
    }
    // A raw line (no echo of what the modem sends) at 9600 baud until the program sets its own;
    // EXTPROC plus packet mode report the program's changes of settings to this side.
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    settings.c_lflag |= EXTPROC;
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    int on = 1;
    if (tcsetattr(fd, TCSANOW, &settings) != 0 || ioctl(fd, TIOCPKT, &on) != 0) {
        *error = Format("cannot configure the pseudo-terminal: %s", std::strerror(errno));
        close(fd);
        return false;
    }
    if (!linkPath.empty()) {
        struct stat info {};
        if (lstat(linkPath.c_str(), &info) == 0) {
            if (!S_ISLNK(info.st_mode)) {
                *error = Format("%s exists and is not a symbolic link", linkPath.c_str());
                close(fd);
                return false;
            }
            unlink(linkPath.c_str());
        }
        if (symlink(name, linkPath.c_str()) != 0) {
            *error =
                Format("cannot create the link %s: %s", linkPath.c_str(), std::strerror(errno));
            close(fd);
            return false;
        }
    }
    master_ = fd;
    slavePath_ = name;
    linkPath_ = linkPath;
    openWatch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (openWatch_ >= 0 && inotify_add_watch(openWatch_, name, IN_OPEN) < 0) {
        close(openWatch_);
        openWatch_ = -1;
    }
    return true;
}

void PtyEndpoint::Close() {
    if (master_ < 0) return;
    close(master_);
    master_ = -1;
    if (openWatch_ >= 0) close(openWatch_);
    openWatch_ = -1;
    // Remove the link only while it still points at this terminal.
    if (!linkPath_.empty() && ReadLink(linkPath_) == slavePath_) unlink(linkPath_.c_str());
    linkPath_.clear();
}

PtyEndpoint::ReadResult PtyEndpoint::Read(std::vector<uint8_t>* data, bool* settingsChanged) {
    ReadResult result = ReadResult::kNothing;
    uint8_t buffer[4097];
    for (;;) {
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN) return result;
            return ReadResult::kHostGone;  // EIO: the program closed its end
        }
        if (n == 0) return ReadResult::kHostGone;
        if (buffer[0] == TIOCPKT_DATA) {
            data->insert(data->end(), buffer + 1, buffer + n);
            result = ReadResult::kData;
        } else if (buffer[0] & TIOCPKT_IOCTL) {
            *settingsChanged = true;
        }
    }
}

size_t PtyEndpoint::Write(const uint8_t* data, size_t length) {
    size_t written = 0;
    while (master_ >= 0 && written < length) {
        const ssize_t n = write(master_, data + written, length - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;  // full (the program is not reading) or gone: the rest is lost on the line
        }
        written += static_cast<size_t>(n);
    }
    return written;
}

int PtyEndpoint::HostBaud() const {
    termios settings{};
    if (master_ < 0 || tcgetattr(master_, &settings) != 0) return 0;
    return BaudOf(cfgetospeed(&settings));
}

void PtyEndpoint::DrainOpenWatch() {
    char buffer[1024];
    while (openWatch_ >= 0 && read(openWatch_, buffer, sizeof buffer) > 0) {
    }
}

bool PtyEndpoint::HostPresent() const {
    if (master_ < 0) return false;
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, 0) < 0) return false;
    return (p.revents & POLLHUP) == 0;
}

}  // namespace vxl::sim
