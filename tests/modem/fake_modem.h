// A modem on the far end of a FakeSerialLink, enough to drive capture and the command protocol:
// it listens at one serial rate, enters command mode on "+++" or on the capture command while
// it is starting up, and answers the command frames from a 64 KiB memory.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "support/fake_clock.h"
#include "support/fake_serial_link.h"

namespace vxl::test {

class FakeModem {
  public:
    FakeModem(FakeSerialLink& link, FakeClock& clock);

    // The rate the modem's serial port runs at; bytes sent at another rate are lost.
    int serialBaud = 9600;
    bool commandMode = false;
    bool answersEscape = true;
    // The modem starts up (and answers the capture command) from this time on, for 2 seconds;
    // negative: never.
    int64_t powerOnAtMs = -1;
    // Every reply becomes visible after this many receive-count polls.
    int replyAfterPolls = 1;
    // Reads of this address go unanswered.
    int silentAddress = -1;
    std::array<uint8_t, 0x10000> memory{};
    // The command codes received in command mode, in order.
    std::vector<uint8_t> commands;
    int writesStored = 0;

    // Sets the model byte and the identity block the way identification reads them.
    void SetIdentity(uint8_t model, int identityBlock, uint8_t b0, uint8_t b1, uint8_t size,
                     uint8_t id5 = 0, uint8_t id6 = 0);

  private:
    void OnBytes(const std::vector<uint8_t>& bytes);
    void Answer(uint8_t code, uint8_t value);
    bool StartingUp() const;

    FakeSerialLink& link_;
    FakeClock& clock_;
};

}  // namespace vxl::test
