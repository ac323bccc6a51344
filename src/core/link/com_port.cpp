// The device half of CComPort: opening and configuring the device, the line settings, the
// received bytes, and the errors that are shown on the caller's thread. The monitor thread and
// the rendezvous calls that hand it work are in com_port_monitor.cpp.
#include "link/com_port.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "link/low_latency.h"
#include "link/port_error.h"
#include "link/port_lock_files.h"
#include "link/port_table.h"

using vxl::kReceiveBufferSize;

CComPort::CComPort() = default;

CComPort::~CComPort() {
    Close();
}

bool CComPort::IsHangUpError(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
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

void CComPort::CloseDevice() {
    if (portHandle_ < 0) return;
    ioctl(portHandle_, TIOCNXCL);
    ::close(portHandle_);
    portHandle_ = -1;
}

bool CComPort::IsOpen() const {
    return portOpen_;
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
        MarkDeviceLost(error);
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

// No box of its own: whoever uses the port learns of the loss from LostError and says once, in
// its own words, which device went away and what to do.
void CComPort::MarkDeviceLost(int error) {
    if (deviceLost_) return;
    lostError_ = error != 0 ? error : EIO;
    lastError_ = lostError_.load();
    deviceLost_ = true;
}
