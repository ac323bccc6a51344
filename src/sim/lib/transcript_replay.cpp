#include "sim/lib/transcript_replay.h"

#include <algorithm>

#include "sim/lib/modem_firmware.h"
#include "util/format.h"

namespace vxl::sim {

namespace {

bool EndsWith(const std::vector<uint8_t>& heard, const std::vector<uint8_t>& trigger) {
    return heard.size() >= trigger.size() &&
           std::equal(trigger.begin(), trigger.end(), heard.end() - trigger.size());
}

std::string Hex(const std::vector<uint8_t>& bytes, size_t most) {
    std::string text;
    for (size_t i = 0; i < bytes.size() && i < most; ++i) text += Format("%02X ", bytes[i]);
    return bytes.size() > most ? text + "..." : Trim(text);
}

}  // namespace

TranscriptReplay::TranscriptReplay(const Transcript& transcript) {
    std::vector<uint8_t> host;
    int64_t anchorUs = 0;  // the last byte the program sent, or the last reply
    int64_t stepAnchorUs = 0;
    bool replying = false;
    for (const TranscriptEntry& entry : transcript.entries) {
        if (entry.isEvent || entry.direction == TranscriptDirection::Dropped) continue;
        if (entry.direction == TranscriptDirection::FromHost) {
            host.insert(host.end(), entry.bytes.begin(), entry.bytes.end());
            anchorUs = entry.us;
            replying = false;
            continue;
        }
        if (!replying) {
            steps_.push_back(Step{std::move(host), {}});
            host.clear();
            stepAnchorUs = anchorUs;
            replying = true;
        }
        steps_.back().replies.push_back(
            {std::max<int64_t>(entry.us - stepAnchorUs, 0), entry.bytes});
        anchorUs = entry.us;
    }
}

void TranscriptReplay::Fire(int64_t atUs) {
    firedAtUs_ = atUs;
    nextReply_ = 0;
    heard_.clear();
}

void TranscriptReplay::FromHost(const uint8_t* data, size_t length, int64_t nowUs) {
    heard_.insert(heard_.end(), data, data + length);
    if (current_ >= steps_.size() || firedAtUs_ >= 0) return;
    const std::vector<uint8_t>& trigger = steps_[current_].trigger;
    if (EndsWith(heard_, trigger)) {
        Fire(nowUs);
    } else if (!diverged_ && heard_.size() > trigger.size() + kDivergenceBytes) {
        diverged_ = true;
        if (onEvent)
            onEvent(nowUs, Format("replay: the program no longer sends what the transcript holds; "
                                  "reply %d of %d waits for %s",
                                  static_cast<int>(current_ + 1), static_cast<int>(steps_.size()),
                                  Hex(trigger, 16).c_str()));
    }
}

void TranscriptReplay::Advance(int64_t nowUs, std::vector<uint8_t>* toHost) {
    while (current_ < steps_.size()) {
        const Step& step = steps_[current_];
        if (firedAtUs_ < 0) {
            // The program may have sent this step's trigger while the previous replies went out.
            if (!EndsWith(heard_, step.trigger)) return;
            Fire(step.trigger.empty() ? std::max(nowUs, lastSentUs_) : nowUs);
        }
        while (nextReply_ < step.replies.size() &&
               firedAtUs_ + step.replies[nextReply_].offsetUs <= nowUs) {
            const std::vector<uint8_t>& bytes = step.replies[nextReply_++].bytes;
            toHost->insert(toHost->end(), bytes.begin(), bytes.end());
            lastSentUs_ = nowUs;
        }
        if (nextReply_ < step.replies.size()) return;
        ++current_;
        ++done_;
        firedAtUs_ = -1;
        if (current_ == steps_.size() && onEvent)
            onEvent(nowUs, Format("replay: all %d recorded replies sent", static_cast<int>(done_)));
    }
}

int64_t TranscriptReplay::NextDueUs() const {
    if (current_ >= steps_.size()) return kNever;
    const Step& step = steps_[current_];
    if (firedAtUs_ < 0) return EndsWith(heard_, step.trigger) ? 0 : kNever;
    return firedAtUs_ + step.replies[nextReply_].offsetUs;
}

}  // namespace vxl::sim
