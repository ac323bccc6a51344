// The monitor thread of CComPort, which performs every transfer on the device, and the
// caller's side of its rendezvous: Write and Purge hand it a request and wait until it is
// served; SuspendMonitor and ResumeMonitor park it between transfers.
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>
#include <thread>

#include "link/com_port.h"
#include "util/clock.h"

using vxl::kReceiveBufferSize;

namespace {

// The device's own time-outs run in real time, whatever clock the protocol uses.
int64_t DeviceNowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// How long a caller waits for the monitor before checking that it is still there, and how
// long the monitor sleeps at most before it looks at its requests again.
constexpr int kRendezvousCheckMs = 100;
constexpr int kMonitorIdleMs = 100;
// Longest wait for a purge, for the monitor to start or park, and beyond a write's own
// time-outs before its rendezvous is given up.
constexpr int kRendezvousDeadlineMs = 2000;

// Waits for `event` until `deadlineMs` passes (real time) or `alive` turns false; true when
// the event was set.
template <typename Alive>
bool WaitUntil(const vxl::ManualResetEvent& event, int64_t deadlineMs, Alive alive) {
    for (;;) {
        const int64_t left = deadlineMs - DeviceNowMs();
        if (left <= 0) return event.IsSet();
        if (event.WaitFor(static_cast<int>(std::min<int64_t>(left, kRendezvousCheckMs))))
            return true;
        if (!alive()) return event.IsSet();
    }
}

}  // namespace

bool CComPort::StartMonitor() {
    if (!portOpen_ || wakeHandle_ < 0) return false;
    if (monitorThread_.joinable()) {
        if (monitorAlive_) return true;
        monitorThread_.join();
    }
    stopEvent_.Reset();
    monitorStarted_.Reset();
    try {
        monitorThread_ = std::thread(&CComPort::MonitorMain, this);
    } catch (const std::system_error&) {
        return false;
    }
    if (!monitorStarted_.WaitFor(kRendezvousDeadlineMs)) {
        StopMonitor();
        return false;
    }
    return true;
}

bool CComPort::SuspendMonitor() {
    std::unique_lock<std::mutex> lock(suspendMutex_);
    if (!monitorAlive_) return true;
    ++suspendCount_;
    WakeMonitor();
    if (!suspendChanged_.wait_for(lock, std::chrono::milliseconds(kRendezvousDeadlineMs),
                                  [this] { return monitorParked_ || !monitorAlive_; })) {
        --suspendCount_;
        return false;
    }
    return true;
}

bool CComPort::ResumeMonitor() {
    {
        std::lock_guard<std::mutex> lock(suspendMutex_);
        if (suspendCount_ > 0) --suspendCount_;
    }
    suspendChanged_.notify_all();
    return true;
}

void CComPort::StopMonitor() {
    if (!monitorThread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(suspendMutex_);
        suspendCount_ = 0;
    }
    suspendChanged_.notify_all();
    stopEvent_.Set();
    WakeMonitor();
    monitorThread_.join();
}

bool CComPort::MonitorServing() const {
    if (!monitorAlive_) return false;
    std::lock_guard<std::mutex> lock(suspendMutex_);
    return suspendCount_ == 0;
}

void CComPort::Write(const uint8_t* bytes, int length) {
    DeliverPendingErrors();
    if (length < 0 || length > transmitBufferSize_ || (length > 0 && !bytes)) {
        lastError_ = EMSGSIZE;
        return;
    }
    if (!portOpen_ || !MonitorServing()) return;
    writeDoneEvent_.Reset();
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (length > 0) std::memcpy(transmitBuffer_.get(), bytes, length);
        transmitLength_ = length;
    }
    writeRequestEvent_.Set();
    WakeMonitor();
    vxl::GetClock().SleepMs(10);
    // The monitor gives up a write that makes no progress within the time-outs; the caller
    // waits that long for every byte and then some, never for ever.
    const vxl::PortTimeouts timeouts = GetTimeouts();
    const int64_t writeLimitMs = static_cast<int64_t>(timeouts.writeMultiplier) * (length + 1) +
                                 timeouts.writeConstant + kRendezvousDeadlineMs;
    if (!WaitUntil(writeDoneEvent_, DeviceNowMs() + writeLimitMs,
                   [this] { return monitorAlive_.load(); }) &&
        monitorAlive_) {
        writeRequestEvent_.Reset();
        QueueError("WriteFile()", ETIMEDOUT);
    }
    DeliverPendingErrors();
}

void CComPort::Purge() {
    DeliverPendingErrors();
    if (MonitorServing()) {
        purgeDoneEvent_.Reset();
        purgeRequestEvent_.Set();
        WakeMonitor();
        if (!WaitUntil(purgeDoneEvent_, DeviceNowMs() + kRendezvousDeadlineMs,
                       [this] { return monitorAlive_.load(); }) &&
            monitorAlive_) {
            purgeRequestEvent_.Reset();
            QueueError("PurgeComm()", ETIMEDOUT);
        }
    } else {
        // Nobody else touches the device while the monitor is parked or absent.
        FlushLine();
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        receiveCount_ = 0;
    }
    DeliverPendingErrors();
}

void CComPort::WakeMonitor() {
    if (wakeHandle_ < 0) return;
    const uint64_t one = 1;
    ssize_t written = ::write(wakeHandle_, &one, sizeof one);
    (void)written;  // a full counter already wakes the monitor
}

void CComPort::ClearWake() {
    if (wakeHandle_ < 0) return;
    uint64_t count = 0;
    ssize_t got = ::read(wakeHandle_, &count, sizeof count);
    (void)got;  // nothing to clear is fine
}

void CComPort::MonitorMain() {
    monitorAlive_ = true;
    FlushLine();
    monitorStarted_.Set();
    for (;;) {
        ParkWhileSuspended();
        if (stopEvent_.IsSet()) break;
        const bool requestPending = writeRequestEvent_.IsSet() || purgeRequestEvent_.IsSet();
        pollfd fds[2];
        fds[0] = {wakeHandle_, POLLIN, 0};
        // The descriptor only changes while the monitor is stopped.
        fds[1] = {deviceLost_ ? -1 : portHandle_,
                  static_cast<short>((eventMask_ & vxl::kEventReceivedChar) ? POLLIN : 0), 0};
        const int ready = poll(fds, 2, requestPending ? 0 : kMonitorIdleMs);
        if (ready < 0) {
            if (errno == EINTR) continue;
            MarkDeviceLost(errno);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        if (fds[0].revents & POLLIN) ClearWake();
        // The first signalled request in the order stop, line, write, purge is served.
        if (stopEvent_.IsSet()) break;
        if (fds[1].revents != 0) {
            ServeLine(fds[1].revents);
        } else if (writeRequestEvent_.IsSet()) {
            ServeWrite();
        } else if (purgeRequestEvent_.IsSet()) {
            ServePurge();
        }
    }
    {
        std::lock_guard<std::mutex> lock(suspendMutex_);
        monitorAlive_ = false;
    }
    suspendChanged_.notify_all();
    // Whoever still waits for a rendezvous must not wait for a thread that is gone.
    writeDoneEvent_.Set();
    purgeDoneEvent_.Set();
}

void CComPort::ParkWhileSuspended() {
    std::unique_lock<std::mutex> lock(suspendMutex_);
    if (suspendCount_ == 0) return;
    monitorParked_ = true;
    suspendChanged_.notify_all();
    // Looks at the stop request now and then, in case its notification went astray.
    while (!suspendChanged_.wait_for(lock, std::chrono::milliseconds(kMonitorIdleMs),
                                     [this] { return suspendCount_ == 0; })) {
        if (stopEvent_.IsSet()) break;
    }
    monitorParked_ = false;
}

void CComPort::ServeLine(short revents) {
    if (revents & POLLIN) {
        DrainInput();
    } else if (revents & (POLLHUP | POLLERR | POLLNVAL)) {
        MarkDeviceLost(EIO);
    }
}

void CComPort::DrainInput() {
    // Reads return at once; after poll said the line is readable, a first read of nothing
    // means the other end hung up.
    bool first = true;
    while (!stopEvent_.IsSet()) {
        uint8_t chunk[512];
        ssize_t got;
        int error;
        {
            std::lock_guard<std::mutex> guard(lock_);
            got = ::read(portHandle_, chunk, sizeof chunk);
            error = errno;
            if (got > 0) {
                const int room = bufferReceivedBytes_ ? kReceiveBufferSize - receiveCount_ : 0;
                const int kept = std::min(static_cast<int>(got), room);
                std::memcpy(receiveBuffer_ + receiveCount_, chunk, kept);
                receiveCount_ += kept;
                droppedCount_ += static_cast<int>(got) - kept;
            }
        }
        if (got > 0) {
            first = false;
        } else if (got == 0) {
            if (first) MarkDeviceLost(EIO);
            return;
        } else if (error != EINTR) {
            if (error != EAGAIN) MarkDeviceLost(error);
            return;
        }
    }
}

void CComPort::ServeWrite() {
    writeRequestEvent_.Reset();
    if (transmitBuffer_ && !deviceLost_) WriteOut();
    writeDoneEvent_.Set();
}

void CComPort::WriteOut() {
    int length;
    {
        std::lock_guard<std::mutex> guard(lock_);
        tcflush(portHandle_, TCIOFLUSH);
        length = transmitLength_;
    }
    int sent = 0;
    int64_t lastProgressMs = DeviceNowMs();
    while (sent < length) {
        ssize_t put;
        int error;
        {
            std::lock_guard<std::mutex> guard(lock_);
            put = ::write(portHandle_, transmitBuffer_.get() + sent, length - sent);
            error = errno;
        }
        if (put > 0) {
            sent += static_cast<int>(put);
            lastProgressMs = DeviceNowMs();
        } else if (put < 0 && error == EINTR) {
            continue;
        } else if (put < 0 && error != EAGAIN) {
            if (IsHangUpError(error)) {
                MarkDeviceLost(error);
            } else {
                QueueError("WriteFile()", error);
            }
            return;
        } else if (!WaitWritable(lastProgressMs)) {
            return;
        }
    }
    if (tcdrain(portHandle_) != 0 && IsHangUpError(errno)) MarkDeviceLost(errno);
}

// Waits until the device takes more bytes. False (with the reason reported) when the device
// went away, the write stalled too long, or the monitor is asked to stop.
bool CComPort::WaitWritable(int64_t lastProgressMs) {
    const vxl::PortTimeouts timeouts = GetTimeouts();
    const int64_t stallLimitMs =
        static_cast<int64_t>(timeouts.writeConstant) + timeouts.writeMultiplier;
    for (;;) {
        const int64_t remaining = lastProgressMs + stallLimitMs - DeviceNowMs();
        if (remaining <= 0) {
            QueueError("WriteFile()", ETIMEDOUT);
            return false;
        }
        pollfd fds[2];
        fds[0] = {portHandle_, POLLOUT, 0};
        fds[1] = {wakeHandle_, POLLIN, 0};
        const int ready = poll(fds, 2, static_cast<int>(std::min<int64_t>(remaining, 1000)));
        if (ready < 0 && errno != EINTR) {
            QueueError("WriteFile()", errno);
            return false;
        }
        if (fds[1].revents & POLLIN) ClearWake();
        if (stopEvent_.IsSet()) return false;
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            MarkDeviceLost(EIO);
            return false;
        }
        if (fds[0].revents & POLLOUT) return true;
    }
}

void CComPort::ServePurge() {
    FlushLine();
    purgeRequestEvent_.Reset();
    purgeDoneEvent_.Set();
}

void CComPort::FlushLine() {
    std::lock_guard<std::mutex> guard(lock_);
    if (portHandle_ >= 0 && !deviceLost_) tcflush(portHandle_, TCIOFLUSH);
}
