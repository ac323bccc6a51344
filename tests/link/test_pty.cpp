#include "test_pty.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "link/port_table.h"

namespace vxl::test {

namespace {
int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

TestPty::TestPty() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    char name[128] = {0};
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0 ||
        ptsname_r(master_, name, sizeof name) != 0) {
        CloseMaster();
        return;
    }
    slavePath_ = name;
    portNumber_ = PortTable::Instance().AssignDevice(slavePath_);
}

TestPty::~TestPty() {
    CloseMaster();
}

bool TestPty::Send(const std::vector<uint8_t>& bytes) {
    size_t sent = 0;
    const int64_t deadline = NowMs() + 2000;
    while (sent < bytes.size() && NowMs() < deadline) {
        ssize_t put = ::write(master_, bytes.data() + sent, bytes.size() - sent);
        if (put > 0) {
            sent += static_cast<size_t>(put);
        } else {
            pollfd fd = {master_, POLLOUT, 0};
            poll(&fd, 1, 10);
        }
    }
    return sent == bytes.size();
}

std::vector<uint8_t> TestPty::Receive(size_t count, int timeoutMs) {
    std::vector<uint8_t> got;
    const int64_t deadline = NowMs() + timeoutMs;
    while (got.size() < count) {
        const int64_t left = deadline - NowMs();
        if (left <= 0) break;
        pollfd fd = {master_, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left)) <= 0) continue;
        if (!(fd.revents & POLLIN)) break;  // the port's end is closed
        uint8_t chunk[4096];
        ssize_t n = ::read(master_, chunk, std::min(sizeof chunk, count - got.size()));
        if (n > 0) got.insert(got.end(), chunk, chunk + n);
    }
    return got;
}

speed_t TestPty::PortSpeed() const {
    termios t{};
    if (tcgetattr(master_, &t) != 0) return B0;
    return cfgetospeed(&t);
}

void TestPty::CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const int64_t deadline = NowMs() + timeoutMs;
    while (!condition()) {
        if (NowMs() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

std::vector<uint8_t> CountingBytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

}  // namespace vxl::test
