#include "sim/lib/line_model.h"

#include <algorithm>

namespace vxl::sim {

namespace {

// The line goes dead a little after the last reply, so the program can still read that reply.
constexpr int64_t kHangUpGraceUs = 20000;

// What a late answer from an earlier attempt looks like: a read reply.
const std::vector<uint8_t> kLateReply = {0x01, 0xA1, 0x00, 0x5E};

}  // namespace

LineModel::LineModel(ModemFirmware& firmware, bool lineTiming)
    : firmware_(firmware), lineTiming_(lineTiming) {}

void LineModel::InsertByTime(std::deque<TimedByte>& queue, TimedByte byte) {
    const auto at = std::upper_bound(queue.begin(), queue.end(), byte.atUs,
                                     [](int64_t t, const TimedByte& b) { return t < b.atUs; });
    queue.insert(at, byte);
}

void LineModel::FromHost(const uint8_t* data, size_t length, int hostBaud, int64_t nowUs) {
    if (length == 0) return;
    const int64_t start = lineTiming_ ? std::max(nowUs, inputFreeUs_) : nowUs;
    for (const TimedByte& byte : Resample(data, length, hostBaud, firmware_.UartBaud()))
        InsertByTime(toModem_, {byte.value, lineTiming_ ? start + byte.atUs : nowUs});
    if (lineTiming_) inputFreeUs_ = start + static_cast<int64_t>(length) * ByteTimeUs(hostBaud);
}

void LineModel::HostRateChanged(int oldBaud, int newBaud, int64_t nowUs) {
    const int lateMs = firmware_.Faults().lateReplyMs;
    if (lateMs <= 0 || oldBaud == newBaud || oldBaud <= 0) return;
    Transmission tx;
    tx.bytes = kLateReply;
    tx.readyUs = nowUs + lateMs * 1000LL;
    tx.baud = oldBaud;
    pending_.push_back(tx);
}

void LineModel::PowerCycle(int64_t nowUs) {
    toModem_.clear();
    toHost_.clear();
    pending_.clear();
    inputFreeUs_ = outputFreeUs_ = nowUs;
    hangUpAtUs_ = kNever;
    adapterHeld_.clear();
    adapterReleaseUs_ = kNever;
    firmware_.PowerUp(nowUs, true);
}

void LineModel::ToHostSide(uint8_t value, int64_t atUs, std::vector<uint8_t>* toHost) {
    const int latencyMs = firmware_.Faults().adapterLatencyMs;
    if (latencyMs <= 0) {
        toHost->push_back(value);
        return;
    }
    // The adapter's timer starts with the first byte it holds.
    if (adapterHeld_.empty()) adapterReleaseUs_ = atUs + latencyMs * 1000LL;
    adapterHeld_.push_back(value);
}

void LineModel::CollectTransmissions() {
    for (Transmission& tx : firmware_.TakeTransmissions()) pending_.push_back(std::move(tx));
}

void LineModel::StartTransmission(const Transmission& tx, int hostBaud) {
    const int64_t start = lineTiming_ ? std::max(tx.readyUs, outputFreeUs_) : tx.readyUs;
    int64_t end = start;
    if (lineTiming_) end += static_cast<int64_t>(tx.bytes.size()) * ByteTimeUs(tx.baud);
    const int64_t dribbleUs = firmware_.Faults().dribbleMs * 1000LL;
    int64_t index = 0;
    for (const TimedByte& byte : Resample(tx.bytes.data(), tx.bytes.size(), tx.baud, hostBaud)) {
        const int64_t at = (lineTiming_ ? start + byte.atUs : start) + dribbleUs * index++;
        InsertByTime(toHost_, {byte.value, at});
        end = std::max(end, at);
    }
    outputFreeUs_ = std::max(outputFreeUs_, end);
    if (tx.baudAfter > 0) firmware_.SetUartBaud(tx.baudAfter);
    if (tx.hangUpAfter) hangUpAtUs_ = std::min(hangUpAtUs_, end + kHangUpGraceUs);
}

int64_t LineModel::NextDueUs() const {
    int64_t next = std::min({firmware_.NextTimerUs(), hangUpAtUs_, adapterReleaseUs_});
    if (!toModem_.empty()) next = std::min(next, toModem_.front().atUs);
    if (!toHost_.empty()) next = std::min(next, toHost_.front().atUs);
    for (const Transmission& tx : pending_) next = std::min(next, tx.readyUs);
    return next;
}

void LineModel::Advance(int64_t nowUs, int hostBaud, std::vector<uint8_t>* toHost) {
    CollectTransmissions();
    for (;;) {
        // The earliest of: a byte reaching the host, a transmission starting, the modem's
        // timer, a byte reaching the modem.
        const int64_t hostAt = toHost_.empty() ? kNever : toHost_.front().atUs;
        auto firstTx = std::min_element(
            pending_.begin(), pending_.end(),
            [](const Transmission& a, const Transmission& b) { return a.readyUs < b.readyUs; });
        const int64_t txAt = firstTx == pending_.end() ? kNever : firstTx->readyUs;
        const int64_t timerAt = firmware_.NextTimerUs();
        const int64_t modemAt = toModem_.empty() ? kNever : toModem_.front().atUs;
        const int64_t next = std::min({hostAt, txAt, timerAt, modemAt, adapterReleaseUs_});
        if (next > nowUs || next == kNever) break;
        if (adapterReleaseUs_ == next) {
            toHost->insert(toHost->end(), adapterHeld_.begin(), adapterHeld_.end());
            adapterHeld_.clear();
            adapterReleaseUs_ = kNever;
        } else if (hostAt == next) {
            ToHostSide(toHost_.front().value, next, toHost);
            toHost_.pop_front();
        } else if (txAt == next) {
            const Transmission tx = *firstTx;
            pending_.erase(firstTx);
            StartTransmission(tx, hostBaud);
        } else if (timerAt == next) {
            firmware_.Tick(timerAt);
        } else {
            const TimedByte byte = toModem_.front();
            toModem_.pop_front();
            firmware_.Receive(byte.value, byte.atUs);
        }
        CollectTransmissions();
    }
}

}  // namespace vxl::sim
