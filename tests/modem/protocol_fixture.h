// Simulated time, a recording operator, and a modem on a scripted link for protocol tests.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "modem/command_frame.h"
#include "modem/modem.h"
#include "support/fake_clock.h"
#include "support/fake_modem.h"
#include "support/fake_serial_link.h"
#include "support/recording_operator.h"
#include "util/clock.h"
#include "util/result_codes.h"

namespace vxl::test {

using Bytes = std::vector<uint8_t>;

class ProtocolTest : public ::testing::Test {
  protected:
    // Replaces the modem: every write is answered with `reply`, visible after `afterPolls` polls.
    void AnswerEveryWrite(const Bytes& reply, int afterPolls = 1) {
        link.onWrite = [this, reply, afterPolls](const Bytes&) { link.Deliver(reply, afterPolls); };
    }

    FakeClock clock;
    ScopedClock scopedClock{clock};
    RecordingOperator ui;
    ScopedUi scopedUi{ui};
    FakeSerialLink link{3, 9600};
    FakeModem modem{link, clock};
    CModem device{&link};
    std::string status;
};

}  // namespace vxl::test
