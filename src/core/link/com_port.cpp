#include "link/com_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <new>

#include "link/low_latency.h"
#include "link/port_error.h"
#include "link/port_lock_files.h"
#include "link/port_table.h"
#include "util/clock.h"

using vxl::kReceiveBufferSize;

namespace {

// The device's own time-outs run in real time, whatever clock the protocol uses.
int64_t DeviceNowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Errors after which the device is gone for good (a USB adapter pulled out, a hung-up pty).
bool IsHangUpError(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
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

CComPort::CComPort() = default;

CComPort::~CComPort() {
    Close();
}

bool CComPort::Open(bool bufferReceived, int portNumber, int baud, uint8_t parity, uint8_t dataBits,
                    uint8_t stopBits, uint32_t eventMask, int transmitBufferSize) {
    StopMonitor();
    stopEvent_.Reset();
    writeRequestEvent_.Reset();
    writeDoneEvent_.Reset();
    purgeRequestEvent_.Reset();
    purgeDoneEvent_.Reset();
    ClearWake();

    std::unique_lock<std::mutex> guard(lock_);
    transmitBuffer_.reset();
    transmitLength_ = 0;
    portNumber_ = portNumber;
    eventMask_ = eventMask;
    transmitBufferSize_ = transmitBufferSize;
    bufferReceivedBytes_ = bufferReceived;
    receiveCount_ = 0;
    droppedCount_ = 0;
    deviceLost_ = false;
    CloseDevice();

    if (transmitBufferSize > 0) {
        transmitBuffer_.reset(new (std::nothrow) uint8_t[transmitBufferSize]);
        if (!transmitBuffer_) return FailOpen(ENOMEM);
    }
    if (wakeHandle_ < 0) {
        wakeHandle_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (wakeHandle_ < 0) return FailOpen(errno);
    }
    devicePath_ = vxl::PortTable::Instance().DevicePath(portNumber);
    if (devicePath_.empty()) return FailOpen(ENOENT);
    // Programs of the lock-file convention claim a port without keeping others out.
    if (vxl::FindLivePortLock(devicePath_, nullptr)) return FailOpen(EBUSY);
    portHandle_ = ::open(devicePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (portHandle_ < 0) return FailOpen(errno);
    // The advisory lock keeps out every other user, root included; TIOCEXCL adds the
    // terminal's own exclusivity for programs that do not lock.
    if (flock(portHandle_, LOCK_EX | LOCK_NB) != 0) return FailOpen(errno);
    if (!isatty(portHandle_)) return FailOpen(ENOTTY);
    ioctl(portHandle_, TIOCEXCL);
    vxl::RequestLowLatency(portHandle_);

    portOpen_ = true;
    lastError_ = 0;
    timeouts_ = vxl::PortTimeouts();
    vxl::LineSettings settings;
    settings.baud = baud;
    settings.parity = parity;
    settings.dataBits = dataBits;
    settings.stopBits = stopBits;
    std::string failedOperation;
    int error = 0;
    if (!Configure(settings, &failedOperation, &error)) {
        guard.unlock();
        ShowError(failedOperation.c_str(), error);
        return false;
    }
    lineSettings_ = settings;
    tcflush(portHandle_, TCIOFLUSH);
    initialised_ = true;
    return true;
}

bool CComPort::FailOpen(int error) {
    CloseDevice();
    portOpen_ = false;
    lastError_ = error;
    return false;
}

bool CComPort::Configure(const vxl::LineSettings& settings, std::string* failedOperation,
                         int* error) {
    termios t;
    if (!vxl::BuildTermios(settings, &t, error) || tcsetattr(portHandle_, TCSANOW, &t) != 0) {
        if (*error == 0) *error = errno;
        *failedOperation = "SetCommState()";
        return false;
    }
    return true;
}

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

void CComPort::Close() {
    StopMonitor();
    {
        std::lock_guard<std::mutex> guard(lock_);
        CloseDevice();
        transmitBuffer_.reset();
        transmitLength_ = 0;
    }
    if (wakeHandle_ >= 0) {
        ::close(wakeHandle_);
        wakeHandle_ = -1;
    }
    portOpen_ = false;
    initialised_ = false;
    DeliverPendingErrors();
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

void CComPort::CloseDevice() {
    if (portHandle_ < 0) return;
    ioctl(portHandle_, TIOCNXCL);
    ::close(portHandle_);
    portHandle_ = -1;
}

bool CComPort::IsOpen() const {
    return portOpen_;
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

int CComPort::ReceivedCount() {
    DeliverPendingErrors();
    std::lock_guard<std::mutex> guard(lock_);
    return receiveCount_;
}

void CComPort::TakeReceived(uint8_t* dest, int* length) {
    TakeReceived(dest, kReceiveBufferSize, length);
}

void CComPort::TakeReceived(uint8_t* dest, int capacity, int* length) {
    std::lock_guard<std::mutex> guard(lock_);
    int taken = dest ? std::min(std::max(capacity, 0), receiveCount_) : 0;
    if (taken > 0) std::memcpy(dest, receiveBuffer_, taken);
    receiveCount_ -= taken;
    if (receiveCount_ > 0) std::memmove(receiveBuffer_, receiveBuffer_ + taken, receiveCount_);
    if (length) *length = taken;
}

bool CComPort::ReadDeviceSettings(termios* settings, int* error) {
    if (portHandle_ < 0) {
        *error = EBADF;
        return false;
    }
    if (tcgetattr(portHandle_, settings) != 0) {
        *error = errno;
        return false;
    }
    return true;
}

int CComPort::GetBaud() {
    DeliverPendingErrors();
    termios t;
    int error = 0;
    bool ok;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (deviceLost_) return 0;
        ok = ReadDeviceSettings(&t, &error);
    }
    if (!ok) {
        ShowError("GetCommState()", error);
        return 0;
    }
    return vxl::BaudTableValue(vxl::BaudFromSpeed(cfgetospeed(&t)));
}

bool CComPort::SetBaud(int baud) {
    DeliverPendingErrors();
    const char* failedOperation = nullptr;
    int error = 0;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (deviceLost_) return false;
        termios t;
        speed_t speed = B9600;
        const int rate = vxl::BaudTableValue(baud);
        vxl::SpeedFromBaud(rate, &speed);
        if (!ReadDeviceSettings(&t, &error)) {
            failedOperation = "GetCommState()";
        } else if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0 ||
                   tcsetattr(portHandle_, TCSANOW, &t) != 0) {
            error = errno;
            failedOperation = "SetCommState()";
        } else {
            lineSettings_.baud = rate;
        }
    }
    if (failedOperation) {
        ShowError(failedOperation, error);
        return false;
    }
    return true;
}

void CComPort::GetLineSettings(vxl::LineSettings* out) const {
    std::lock_guard<std::mutex> guard(lock_);
    *out = lineSettings_;
}

uint32_t CComPort::GetEventMask() const {
    return eventMask_;
}

int CComPort::GetTransmitBufferSize() const {
    return transmitBufferSize_;
}

int CComPort::GetPortNumber() const {
    return portNumber_;
}

int CComPort::GetLastError() const {
    return lastError_;
}

vxl::PortTimeouts CComPort::GetTimeouts() const {
    std::lock_guard<std::mutex> guard(lock_);
    return timeouts_;
}

void CComPort::SetTimeouts(const vxl::PortTimeouts& timeouts) {
    std::lock_guard<std::mutex> guard(lock_);
    timeouts_ = timeouts;
}

std::string CComPort::DevicePath() const {
    std::lock_guard<std::mutex> guard(lock_);
    return devicePath_;
}

int CComPort::DroppedCount() const {
    std::lock_guard<std::mutex> guard(lock_);
    return droppedCount_;
}

bool CComPort::DeviceLost() const {
    return deviceLost_;
}

int CComPort::LostError() const {
    return deviceLost_ ? lostError_.load() : 0;
}

void CComPort::DeliverPendingErrors() {
    if (!errorsPending_) return;
    std::vector<std::string> messages;
    {
        std::lock_guard<std::mutex> lock(errorsMutex_);
        messages.swap(pendingErrors_);
        errorsPending_ = false;
    }
    for (const std::string& message : messages) vxl::ShowPortErrorMessage(message);
}

void CComPort::DiscardPendingErrors() {
    std::lock_guard<std::mutex> lock(errorsMutex_);
    pendingErrors_.clear();
    errorsPending_ = false;
}

void CComPort::ShowError(const char* operation, int error) {
    if (IsHangUpError(error)) {
        MarkDeviceLost(operation, error);
        DeliverPendingErrors();
        return;
    }
    lastError_ = error;
    vxl::ShowPortErrorMessage(vxl::PortErrorMessage(operation, error, portNumber_, devicePath_));
}

void CComPort::QueueError(const char* operation, int error) {
    lastError_ = error;
    std::lock_guard<std::mutex> lock(errorsMutex_);
    pendingErrors_.push_back(vxl::PortErrorMessage(operation, error, portNumber_, devicePath_));
    errorsPending_ = true;
}

void CComPort::MarkDeviceLost(const char* operation, int error) {
    if (deviceLost_) return;
    lostError_ = error != 0 ? error : EIO;
    if (deviceLost_.exchange(true)) return;
    QueueError(operation, error);
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

// ----- monitor thread -----

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
            MarkDeviceLost("WaitCommEvent()", errno);
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
        MarkDeviceLost("ReadFile()", EIO);
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
            if (first) MarkDeviceLost("ReadFile()", EIO);
            return;
        } else if (error != EINTR) {
            if (error != EAGAIN) MarkDeviceLost("ReadFile()", error);
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
                MarkDeviceLost("WriteFile()", error);
            } else {
                QueueError("WriteFile()", error);
            }
            return;
        } else if (!WaitWritable(lastProgressMs)) {
            return;
        }
    }
    if (tcdrain(portHandle_) != 0 && IsHangUpError(errno)) MarkDeviceLost("WriteFile()", errno);
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
            MarkDeviceLost("WriteFile()", EIO);
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
