// Simulated time, a recording operator and a scripted link for protocol tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_clock.h"
#include "support/fake_serial_link.h"
#include "support/recording_operator.h"
#include "util/clock.h"

namespace vxl::test {

class ProtocolTest : public ::testing::Test {
  protected:
    FakeClock clock;
    ScopedClock scopedClock{clock};
    RecordingOperator ui;
    ScopedUi scopedUi{ui};
    FakeSerialLink link{3, 9600};

    // Answers every write with `reply`, visible after `afterPolls` polls.
    void AnswerEveryWrite(const std::vector<uint8_t>& reply, int afterPolls = 1) {
        link.onWrite = [this, reply, afterPolls](const std::vector<uint8_t>&) {
            link.Deliver(reply, afterPolls);
        };
    }
    // The titles of the progress windows opened so far.
    std::vector<std::string> WindowTitles() const {
        std::vector<std::string> titles;
        for (const auto& window : ui.progress) titles.push_back(window->title);
        return titles;
    }
};

}  // namespace vxl::test
