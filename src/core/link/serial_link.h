// What the modem protocol needs from a serial port. CComPort implements it on a real device;
// tests implement it with scripted fakes.
#pragma once

#include <cstdint>
#include <string>

class ISerialLink {
  public:
    virtual ~ISerialLink() = default;
    // True while the device is open.
    virtual bool IsOpen() const = 0;
    virtual bool StartMonitor() = 0;
    virtual bool SuspendMonitor() = 0;
    virtual bool ResumeMonitor() = 0;
    // Hands the bytes to the port and blocks until they have been written. Refuses (does
    // nothing) when length exceeds the transmit buffer.
    virtual void Write(const uint8_t* bytes, int length) = 0;
    // Empties the line's queues and the receive buffer.
    virtual void Purge() = 0;
    virtual int ReceivedCount() = 0;
    // Moves every received byte to dest (room for ReceivedCount() bytes) and stores the count.
    virtual void TakeReceived(uint8_t* dest, int* length) = 0;
    // The line's rate through the baud table (300 ... 38400, anything else 9600); 0 on failure.
    virtual int GetBaud() = 0;
    virtual bool SetBaud(int baud) = 0;
    virtual int GetPortNumber() const = 0;
    // The system error with which the device went away (an unplugged adapter, a hung-up line);
    // 0 while it is there. Nothing sent afterwards can reach a modem.
    virtual int LostError() const { return 0; }
    // The device behind the link, for messages.
    virtual std::string DevicePath() const { return std::string(); }
};
