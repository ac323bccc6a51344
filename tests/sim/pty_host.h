// The program's end of the simulated line, opened directly (no CComPort): enough to check the
// simulator's terminal handling.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vxl::sim::test {

class PtyHost {
  public:
    explicit PtyHost(const std::string& path, speed_t speed = B9600) {
        fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0) return;
        termios t{};
        tcgetattr(fd_, &t);
        cfmakeraw(&t);
        t.c_lflag |= EXTPROC;
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
        tcsetattr(fd_, TCSANOW, &t);
    }
    ~PtyHost() { Close(); }
    PtyHost(const PtyHost&) = delete;
    PtyHost& operator=(const PtyHost&) = delete;

    bool ok() const { return fd_ >= 0; }
    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
    void SetSpeed(speed_t speed) {
        termios t{};
        tcgetattr(fd_, &t);
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
        tcsetattr(fd_, TCSANOW, &t);
    }
    bool Write(const std::vector<uint8_t>& bytes) {
        return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // Reads until `count` bytes came or `ms` passed. `hungUp` tells whether the line died.
    std::vector<uint8_t> Read(size_t count, int ms, bool* hungUp = nullptr) {
        std::vector<uint8_t> got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            uint8_t buffer[256];
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n <= 0 || (p.revents & POLLHUP)) {
                if (hungUp != nullptr) *hungUp = true;
                break;
            }
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

  private:
    int fd_ = -1;
};

}  // namespace vxl::sim::test
