// One serial port with its monitor thread. The monitor thread performs every transfer on the
// device; the caller hands it bytes to send and waits until they are gone, asks it to purge the
// line, and takes received bytes out of a fixed 1000-byte receive buffer.
//
// Port number N names the device that PortTable lists for N. The device is opened without
// becoming the controlling terminal, non-blocking, exclusively (an advisory lock, which holds
// even for root, plus TIOCEXCL), and set raw without flow control.
//
// Device errors met by the monitor thread are queued and shown on the caller's thread (at the
// next Write, Purge, ReceivedCount, GetBaud, SetBaud or Close, or DeliverPendingErrors), so the
// monitor never blocks on a message box. A device that disappears (hang-up, EIO) shows no box:
// LostError tells, and whoever uses the port reports it; afterwards the device is left alone,
// and writes and purges return at once.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/line_settings.h"
#include "link/manual_reset_event.h"
#include "link/serial_link.h"

namespace vxl {

constexpr int kReceiveBufferSize = 1000;

// Line events a port can report (the event mask given to Open).
constexpr uint32_t kEventReceivedChar = 0x0001;
constexpr uint32_t kEventReceiveFlagChar = 0x0002;
constexpr uint32_t kEventTransmitEmpty = 0x0004;
constexpr uint32_t kEventCtsChange = 0x0008;
constexpr uint32_t kEventDsrChange = 0x0010;
constexpr uint32_t kEventCarrierChange = 0x0020;
constexpr uint32_t kEventBreak = 0x0040;
constexpr uint32_t kEventLineError = 0x0080;
constexpr uint32_t kEventRing = 0x0100;

// Time-outs in milliseconds. Reads never wait (the monitor reads what is queued). A write that
// makes no progress for writeConstant + writeMultiplier ms is abandoned and reported.
struct PortTimeouts {
    uint32_t readInterval = 0xFFFFFFFF;
    uint32_t readMultiplier = 1000;
    uint32_t readConstant = 1000;
    uint32_t writeMultiplier = 1000;
    uint32_t writeConstant = 1000;
};

}  // namespace vxl

class CComPort : public ISerialLink {
  public:
    CComPort();
    ~CComPort() override;
    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;

    // Opens and configures port `portNumber`. False when the device cannot be opened (no
    // message; GetLastError holds errno: ENOENT for an unknown number or a missing device,
    // EWOULDBLOCK or EBUSY when another program holds it or its live lock file, EACCES, ENOTTY
    // for a non-terminal; DiagnosePortOpen says why and what to do)
    // or when it cannot be configured (an error box; the device stays open until Close).
    bool Open(bool bufferReceived, int portNumber, int baud, uint8_t parity, uint8_t dataBits,
              uint8_t stopBits, uint32_t eventMask, int transmitBufferSize);
    // Starts the monitor thread and returns once it runs. False when the port is not open or
    // the thread cannot be created.
    bool StartMonitor() override;
    // Parks the monitor thread between transfers (and returns once it is parked); Write is
    // refused and Purge works on the caller's thread while it is parked. Calls nest.
    bool SuspendMonitor() override;
    bool ResumeMonitor() override;
    // Ends the monitor thread (also a suspended one) and releases the device.
    void Close();

    bool IsOpen() const override;
    // Refused when the port is not open, the monitor is not serving, or length is negative or
    // beyond the transmit buffer (GetLastError then gives EMSGSIZE for a too long write).
    void Write(const uint8_t* bytes, int length) override;
    void Purge() override;
    int ReceivedCount() override;
    // Moves every received byte to dest, which must have room for kReceiveBufferSize bytes
    // (more may have arrived since ReceivedCount).
    void TakeReceived(uint8_t* dest, int* length) override;
    // Moves at most `capacity` bytes; the rest stay for the next call.
    void TakeReceived(uint8_t* dest, int capacity, int* length);
    int GetBaud() override;
    bool SetBaud(int baud) override;

    void GetLineSettings(vxl::LineSettings* out) const;
    uint32_t GetEventMask() const;
    int GetTransmitBufferSize() const;
    int GetPortNumber() const override;
    int GetLastError() const;
    vxl::PortTimeouts GetTimeouts() const;
    void SetTimeouts(const vxl::PortTimeouts& timeouts);

    // The device path the port number named at the last Open.
    std::string DevicePath() const override;
    // Bytes read from the line and discarded since Open (receive buffer full, or received
    // bytes not buffered).
    int DroppedCount() const;
    // True once the device has gone away (hang-up or I/O error).
    bool DeviceLost() const;
    int LostError() const override;
    // Shows the errors the monitor thread has met since the last call. Caller's thread only.
    void DeliverPendingErrors();
    void DiscardPendingErrors() override;

  private:
    bool FailOpen(int error);
    bool Configure(const vxl::LineSettings& settings, std::string* failedOperation, int* error);
    void StopMonitor();
    void CloseDevice();
    bool MonitorServing() const;
    void WakeMonitor();
    void ClearWake();
    void MonitorMain();
    void ParkWhileSuspended();
    void ServeLine(short revents);
    void DrainInput();
    void ServeWrite();
    void WriteOut();
    bool WaitWritable(int64_t lastProgressMs);
    void ServePurge();
    void FlushLine();
    void MarkDeviceLost(int error);
    void QueueError(const char* operation, int error);
    void ShowError(const char* operation, int error);
    bool ReadDeviceSettings(termios* settings, int* error);
    // Errors after which the device is gone for good (a USB adapter pulled out, a hung-up pty).
    static bool IsHangUpError(int error);

    // Fields in the order of the port's data model; the line event is the device's poll
    // readiness.
    std::thread monitorThread_;
    mutable std::mutex lock_;
    std::atomic<bool> monitorAlive_{false};
    vxl::ManualResetEvent stopEvent_;
    int portHandle_ = -1;
    vxl::ManualResetEvent writeRequestEvent_;
    vxl::ManualResetEvent writeDoneEvent_;
    vxl::ManualResetEvent purgeRequestEvent_;
    vxl::ManualResetEvent purgeDoneEvent_;
    int wakeHandle_ = -1;  // eventfd that interrupts the monitor's poll
    vxl::PortTimeouts timeouts_;
    vxl::LineSettings lineSettings_;
    std::atomic<bool> initialised_{false};
    std::atomic<bool> portOpen_{false};
    int portNumber_ = 0;
    std::unique_ptr<uint8_t[]> transmitBuffer_;
    uint32_t eventMask_ = 0;
    int transmitBufferSize_ = 0;
    int transmitLength_ = 0;
    uint8_t receiveBuffer_[vxl::kReceiveBufferSize] = {};
    int receiveCount_ = 0;
    bool bufferReceivedBytes_ = false;
    std::atomic<int> lastError_{0};

    // Additions of this platform.
    std::string devicePath_;
    int droppedCount_ = 0;
    std::atomic<bool> deviceLost_{false};
    std::atomic<int> lostError_{0};
    vxl::ManualResetEvent monitorStarted_;
    mutable std::mutex suspendMutex_;
    std::condition_variable suspendChanged_;
    int suspendCount_ = 0;
    bool monitorParked_ = false;
    std::mutex errorsMutex_;
    std::vector<std::string> pendingErrors_;
    std::atomic<bool> errorsPending_{false};
};
