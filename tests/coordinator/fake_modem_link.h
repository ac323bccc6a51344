// A serial link with a modem behind it, answering the command protocol from a 64 KiB memory at
// once (no line time), with faults that can be switched on: silence, a refused write at one
// address, a refused commit.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "link/serial_link.h"

namespace vxl::test {

struct ModemIdentity {
    uint8_t modelByte = 0xD2;  // type 4, model 5 "VXL", band 2 "450-470"
    int revisionHundredths = 220;
    int configurationSize = 246;
    uint32_t serialNumber = 0x0015C73B;
};

class FakeModemLink : public ISerialLink {
  public:
    explicit FakeModemLink(const ModemIdentity& identity = ModemIdentity(), int portNumber = 3);

    bool IsOpen() const override { return true; }
    bool StartMonitor() override {
        ++monitorStarts;
        return true;
    }
    bool SuspendMonitor() override { return true; }
    bool ResumeMonitor() override { return true; }
    void Write(const uint8_t* bytes, int length) override;
    void Purge() override { received_.clear(); }
    int ReceivedCount() override { return static_cast<int>(received_.size()); }
    void TakeReceived(uint8_t* dest, int* length) override;
    int GetBaud() override { return baud_; }
    bool SetBaud(int baud) override {
        baud_ = baud;
        return true;
    }
    int GetPortNumber() const override { return portNumber_; }

    // Modem memory, addressed as the modem addresses it.
    std::array<uint8_t, 0x10000> memory{};

    bool silent = false;          // never answers
    int refuseReadAddress = -1;   // a read of this address is answered with a wrong reply
    int refuseWriteAddress = -1;  // a write to this address is answered with a wrong reply
    bool refuseCommit = false;    // the commit command is answered with a non-zero status
    int resets = 0;
    int commits = 0;
    int writes = 0;
    int monitorStarts = 0;

  private:
    void Reply(uint8_t command, uint8_t status);
    void WrongReply();

    int portNumber_;
    int baud_ = 9600;
    std::deque<uint8_t> received_;
};

}  // namespace vxl::test
