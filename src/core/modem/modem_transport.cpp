// The lower layer every exchange goes through: send, wait for a fixed-length reply, or collect
// text up to a terminator. A poll is one look at the receive count, followed by a 1 ms sleep
// while the answer is incomplete; the answer must be complete before the poll count reaches
// the limit.
#include <algorithm>
#include <cstring>

#include "modem/modem.h"
#include "modem/received_bytes.h"
#include "util/clock.h"
#include "util/result_codes.h"

namespace {

// Ten bit times per byte, in ms, plus 1 ms; truncated as the modem firmware expects.
int LineTimeMs(int baud, int length) {
    if (baud <= 0) return 1;  // the rate could not be read; do not divide by it
    float seconds = (1.0f / (static_cast<float>(baud) * 0.1f)) * static_cast<float>(length);
    return static_cast<int>(seconds * 1000.0f) + 1;
}

}  // namespace

int CModem::SendRaw(ISerialLink* port, const uint8_t* bytes, int length) {
    if (!port || !bytes || length < 1) return vxl::rc::kBadParameters;
    port->Purge();
    port->Write(bytes, length);
    vxl::GetClock().SleepMs(LineTimeMs(port->GetBaud(), length));
    return vxl::rc::kOk;
}

int CModem::Transact(ISerialLink* port, const uint8_t* cmd, int cmdLen, uint8_t* reply,
                     int replyLen, int pollLimit) {
    if (!port || !cmd || cmdLen < 1 || replyLen < 0 || pollLimit < 0 || (!reply && replyLen > 0))
        return vxl::rc::kBadParameters;
    int sent = SendRaw(port, cmd, cmdLen);
    if (sent != vxl::rc::kOk) return sent;
    if (reply) std::memset(reply, 0, static_cast<size_t>(replyLen) + 1);

    int count = 0;
    if (replyLen > 0) {
        vxl::Clock& clock = vxl::GetClock();
        int polls = 0;
        while (count < replyLen) {
            if (polls >= pollLimit) return -vxl::rc::kTimeout;
            count = port->ReceivedCount();
            // Once the reply is in there is nothing left to wait for.
            if (count < replyLen) clock.SleepMs(1);
            ++polls;
            if (polls >= pollLimit) return -vxl::rc::kTimeout;
        }
    } else {
        count = port->ReceivedCount();
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
    int polls = 0;
    bool complete = false;
    while (!complete) {
        if (polls >= pollLimit) return -vxl::rc::kTimeout;
        int count = port->ReceivedCount();
        if (count > 0) {
            std::vector<uint8_t> received = vxl::TakeAllReceived(port, count);
            text.append(received.begin(), received.end());
            complete = text.find(terminator) != std::string::npos;
        }
        if (!complete) clock.SleepMs(1);
        ++polls;
        if (complete && polls >= pollLimit) return -vxl::rc::kTimeout;
    }
    return vxl::rc::kOk;
}
