// A fresh pseudo-terminal for one test: the test holds the master (the far end of the line);
// the slave is registered in the port table so a CComPort can open it by number.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include "link/port_table.h"

namespace vxl::test {

inline int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

class TestPty {
  public:
    // `listed`: the slave is added to the port table at once (else a rescan finds it).
    explicit TestPty(bool listed = true) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        char name[128] = {0};
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0 ||
            ptsname_r(master_, name, sizeof name) != 0) {
            CloseMaster();
            return;
        }
        slavePath_ = name;
        if (listed) portNumber_ = PortTable::Instance().AssignDevice(slavePath_);
    }
    ~TestPty() { CloseMaster(); }
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    bool ok() const { return master_ >= 0; }
    int portNumber() const { return portNumber_; }
    const std::string& slavePath() const { return slavePath_; }

    // Sends bytes towards the port.
    bool Send(const std::vector<uint8_t>& bytes) {
        return ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // What the port sent: reads until `count` bytes came or `timeoutMs` passed.
    std::vector<uint8_t> Receive(size_t count, int timeoutMs) {
        std::vector<uint8_t> got;
        const int64_t deadline = NowMs() + timeoutMs;
        for (int64_t left; got.size() < count && (left = deadline - NowMs()) > 0;) {
            pollfd fd = {master_, POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(left)) <= 0) continue;
            if (!(fd.revents & POLLIN)) break;  // the port's end is closed
            uint8_t chunk[4096];
            const ssize_t n = ::read(master_, chunk, std::min(sizeof chunk, count - got.size()));
            if (n > 0) got.insert(got.end(), chunk, chunk + n);
        }
        return got;
    }
    // The output speed the port set on its end of the line.
    speed_t PortSpeed() const {
        termios t{};
        return tcgetattr(master_, &t) == 0 ? cfgetospeed(&t) : B0;
    }
    // Hangs up the line, as an unplugged adapter does.
    void CloseMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

  private:
    int master_ = -1;
    std::string slavePath_;
    int portNumber_ = -1;
};

// Checks `condition` every millisecond until it holds or `timeoutMs` passed.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 2000) {
    for (const int64_t deadline = NowMs() + timeoutMs; !condition();) {
        if (NowMs() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// `count` bytes 0, 1, 2, ... (mod 256).
inline std::vector<uint8_t> CountingBytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

}  // namespace vxl::test
