// A scripted serial link for protocol tests: records what the program writes, purges and sets,
// and delivers bytes from the far end either at once or after a number of receive-count polls.
// Writes cost time through vxl::GetClock(), as on a real port, so a fake clock moves on.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/serial_link.h"

namespace vxl::test {

class FakeSerialLink : public ISerialLink {
  public:
    explicit FakeSerialLink(int portNumber = 1, int baud = 9600)
        : portNumber_(portNumber), baud_(baud) {}

    // Queues bytes from the far end. They become visible on the `afterPolls`-th call of
    // ReceivedCount from now (0: visible at once). A purge loses them, as it loses bytes still
    // on their way on a real line.
    void Deliver(const std::vector<uint8_t>& bytes, int afterPolls = 0) {
        pending_.push_back({bytes, afterPolls});
        if (afterPolls <= 0) Advance(false);
    }

    // Called with the bytes of every Write (after they are recorded); a far end answers here.
    std::function<void(const std::vector<uint8_t>& bytes)> onWrite;

    bool IsOpen() const override { return open; }
    bool StartMonitor() override { return monitorRunning = Log("start"); }
    bool SuspendMonitor() override { return Log("suspend"); }
    bool ResumeMonitor() override { return Log("resume"); }
    void Write(const uint8_t* bytes, int length) override;
    void Purge() override;
    int ReceivedCount() override { return Advance(true); }
    void TakeReceived(uint8_t* dest, int* length) override;
    int GetBaud() override { return baudReadable ? baud_ : 0; }
    bool SetBaud(int baud) override;
    int GetPortNumber() const override { return portNumber_; }
    int LostError() const override { return lostError; }
    std::string DevicePath() const override { return "/dev/ttyFAKE"; }

    // The rate the line runs at now (what a far end hears).
    int Baud() const { return baud_; }
    // Every write, and a log of the calls in order ("purge", "write", "baud 1200", "start",
    // "suspend", "resume").
    std::vector<std::vector<uint8_t>> writes;
    std::vector<std::string> log;
    int purges = 0;
    bool open = true;
    bool monitorRunning = false;
    // False makes GetBaud fail (returns 0), as when the line settings cannot be read.
    bool baudReadable = true;
    // Time one Write takes, through the clock.
    int writeCostMs = 10;
    // The system error of a device that went away (0 while it is there).
    int lostError = 0;

  private:
    struct Pending {
        std::vector<uint8_t> bytes;
        int pollsLeft;
    };
    bool Log(const std::string& call) {
        log.push_back(call);
        return true;
    }
    // Moves the bytes whose time has come to the receive buffer; a poll counts down first.
    int Advance(bool poll);

    int portNumber_;
    int baud_;
    std::vector<uint8_t> received_;
    std::deque<Pending> pending_;
};

}  // namespace vxl::test
