// A modem that answers as a recorded one did: the modem's bytes of a transcript (a diagnostic
// trace from the field, or the simulator's own) are sent again, each reply once the program has
// sent the bytes that came before it in the transcript, as long after them as it came then. A
// program that behaves as it did when the transcript was taken meets the same modem, down to
// the replies that never came, and so the same failure.
//
// The transcript is cut into steps: the program's bytes since the previous reply (the trigger)
// and the reply that followed them. A step fires when what the program sent since the previous
// step ends with its trigger, so requests the modem left unanswered must be sent again before
// the answer comes, as they were.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "util/transcript.h"

namespace vxl::sim {

class TranscriptReplay {
  public:
    explicit TranscriptReplay(const Transcript& transcript);

    // Bytes the program sent, seen at `nowUs`.
    void FromHost(const uint8_t* data, size_t length, int64_t nowUs);
    // Appends the recorded modem bytes due by `nowUs`.
    void Advance(int64_t nowUs, std::vector<uint8_t>* toHost);
    // When the next recorded bytes are due (kNever while the replay waits for the program).
    int64_t NextDueUs() const;

    size_t StepCount() const { return steps_.size(); }
    // Steps whose replies have all been sent.
    size_t StepsDone() const { return done_; }
    // Set once the program sent bytes that no longer lead to the next recorded reply.
    bool Diverged() const { return diverged_; }

    // Told what a reader of the simulator's own trace should know (a divergence, the end).
    std::function<void(int64_t nowUs, const std::string& text)> onEvent;

    // What the program may send beyond a trigger before the replay says it went astray.
    static constexpr size_t kDivergenceBytes = 4096;

  private:
    struct Reply {
        int64_t offsetUs;  // after the trigger's last byte (or the previous step's last reply)
        std::vector<uint8_t> bytes;
    };
    struct Step {
        std::vector<uint8_t> trigger;
        std::vector<Reply> replies;
    };
    void Fire(int64_t atUs);

    std::vector<Step> steps_;
    size_t current_ = 0;  // the step that waits for its trigger or sends its replies
    size_t done_ = 0;
    size_t nextReply_ = 0;
    int64_t firedAtUs_ = -1;  // when the current step's trigger was met (-1: not yet)
    int64_t lastSentUs_ = 0;
    std::vector<uint8_t> heard_;  // what the program sent since the previous step fired
    bool diverged_ = false;
};

}  // namespace vxl::sim
