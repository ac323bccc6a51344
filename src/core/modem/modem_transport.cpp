// The lower layer every exchange goes through: send, wait for a fixed-length reply, or collect
// text up to a terminator. The wait looks at the receive count once a millisecond and ends the
// moment the answer is complete. It gives up only after the caller's poll limit counted in
// milliseconds and, at the least, after the reply's own time on the wire plus what an adapter
// and a busy machine add to it; a device that goes away or an interrupted run end it at once.
#include <algorithm>
#include <cstring>

#include "modem/link_watch.h"
#include "modem/modem.h"
#include "modem/received_bytes.h"
#include "util/clock.h"
#include "util/result_codes.h"

namespace {

// A USB serial adapter holds received bytes for up to 16 ms (its latency timer) before it
// passes them on. The margin covers bytes that trickle in and a machine busy with other work:
// the kernel hands a terminal's received bytes on from a worker thread, and with every core
// busy that has been seen to take some 300 ms. Waiting this long costs nothing unless the reply
// is lost anyway; then the exchange fails half a second later.
constexpr int kAdapterLatencyMs = 16;
constexpr int kSchedulingMarginMs = 500;

// Ten bit times per byte, in ms, plus 1 ms; truncated as the modem firmware expects.
int LineTimeMs(int baud, int length) {
    if (baud <= 0) return 1;  // the rate could not be read; do not divide by it
    float seconds = (1.0f / (static_cast<float>(baud) * 0.1f)) * static_cast<float>(length);
    return static_cast<int>(seconds * 1000.0f) + 1;
}

// The rate a reply's line time is computed at when the port's cannot be read: the slowest the
// protocol uses, so that the wait errs on the long side.
constexpr int kSlowestBaud = 1200;

// How long to wait for `length` bytes before giving up.
int ReplyWaitMs(int baud, int length, int pollLimit) {
    const int lineMs = LineTimeMs(baud > 0 ? baud : kSlowestBaud, length);
    return std::max(pollLimit, lineMs + kAdapterLatencyMs + kSchedulingMarginMs);
}

// Purges, writes and sleeps the line time; returns the rate the line time was taken at.
int Send(ISerialLink* port, const uint8_t* bytes, int length) {
    port->Purge();
    port->Write(bytes, length);
    const int baud = port->GetBaud();
    vxl::GetClock().SleepMs(LineTimeMs(baud, length));
    return baud;
}

}  // namespace

int CModem::SendRaw(ISerialLink* port, const uint8_t* bytes, int length) {
    if (!port || !bytes || length < 1) return vxl::rc::kBadParameters;
    // Like its other refusal, not negated: callers hand it on as it is.
    if (int stop = vxl::StopReason(port)) return stop;
    Send(port, bytes, length);
    return vxl::rc::kOk;
}

int CModem::Transact(ISerialLink* port, const uint8_t* cmd, int cmdLen, uint8_t* reply,
                     int replyLen, int pollLimit) {
    if (!port || !cmd || cmdLen < 1 || replyLen < 0 || pollLimit < 0 || (!reply && replyLen > 0))
        return vxl::rc::kBadParameters;
    if (int stop = vxl::StopReason(port)) return -stop;
    const int baud = Send(port, cmd, cmdLen);
    if (reply) std::memset(reply, 0, static_cast<size_t>(replyLen) + 1);

    int count = port->ReceivedCount();
    if (replyLen > 0) {
        if (pollLimit == 0) return -vxl::rc::kTimeout;
        vxl::Clock& clock = vxl::GetClock();
        const int64_t giveUpMs = clock.SteadyMs() + ReplyWaitMs(baud, replyLen, pollLimit);
        while (count < replyLen) {
            if (int stop = vxl::StopReason(port)) return -stop;
            if (clock.SteadyMs() >= giveUpMs) return -vxl::rc::kTimeout;
            clock.SleepMs(1);
            count = port->ReceivedCount();
        }
    }

    std::vector<uint8_t> received = vxl::TakeAllReceived(port, count);
    count = static_cast<int>(received.size());
    int copied = std::min(count, replyLen);
    if (reply) {
        std::copy(received.begin(), received.begin() + copied, reply);
        reply[copied] = 0;
    }
    return count > replyLen ? -vxl::rc::kExcessBytes : vxl::rc::kOk;
}

int CModem::ReadUntil(ISerialLink* port, std::string& text, char terminator, int pollLimit) {
    text.clear();
    if (!port || pollLimit < 0) return vxl::rc::kBadParameters;
    text.reserve(10000);
    vxl::Clock& clock = vxl::GetClock();
    const int64_t giveUpMs = clock.SteadyMs() + ReplyWaitMs(port->GetBaud(), 1, pollLimit);
    for (;;) {
        int count = port->ReceivedCount();
        if (count > 0) {
            std::vector<uint8_t> received = vxl::TakeAllReceived(port, count);
            text.append(received.begin(), received.end());
            if (text.find(terminator) != std::string::npos) return vxl::rc::kOk;
        }
        if (int stop = vxl::StopReason(port)) return -stop;
        if (clock.SteadyMs() >= giveUpMs) return -vxl::rc::kTimeout;
        clock.SleepMs(1);
    }
}
