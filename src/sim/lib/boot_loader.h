// The modem's boot loader: a text dialogue. It prints a banner with its memory check, takes a
// load command, then S-records one by one (a '.' after the first three characters of each data
// record paces the host), stores the downloaded image on request and starts it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sim/lib/fault_plan.h"

namespace vxl::sim {

struct LoaderReply {
    std::string text;    // what the loader sends back (may be empty)
    bool store = false;  // write the downloaded bytes into the modem's memory now
    bool start = false;  // start the firmware (at startAddress)
    int startAddress = 0;
};

class BootLoader {
  public:
    // Entered after the start command's frame; the loader answers once the LF that follows it
    // arrives. `faults` must outlive the loader.
    explicit BootLoader(const FaultPlan& faults) : faults_(faults) {}

    LoaderReply Receive(uint8_t byte);

    // Address/value pairs of the S1 data received by the last complete, error-free download.
    const std::vector<std::pair<int, uint8_t>>& Downloaded() const { return downloaded_; }
    int RecordsReceived() const { return records_; }
    int BadRecords() const { return badRecords_; }

  private:
    enum class State {
        kAwaitLineFeed,
        kPrompt,
        kRecordStart,
        kRecordPrefix,
        kRecordBody,
        kStalled
    };

    LoaderReply OnLine(const std::string& line);
    LoaderReply OnPrefixComplete();
    LoaderReply OnRecordComplete();
    LoaderReply Store();

    const FaultPlan& faults_;
    State state_ = State::kAwaitLineFeed;
    std::string line_;
    std::string prefix_;
    std::string body_;
    std::vector<std::pair<int, uint8_t>> pending_;
    std::vector<std::pair<int, uint8_t>> downloaded_;
    bool downloadComplete_ = false;
    int records_ = 0;
    int badRecords_ = 0;
};

}  // namespace vxl::sim
