#include "modem/capture_steps.h"

#include <algorithm>
#include <ctime>

#include "link/serial_link.h"
#include "modem/capture_windows.h"
#include "modem/command_frame.h"
#include "modem/link_watch.h"
#include "modem/modem.h"
#include "modem/received_bytes.h"
#include "util/clock.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

const uint8_t kEscape[] = {'+', '+', '+'};
// The shortest time a serial port's write takes.
constexpr int64_t kMinSendIntervalMs = 10;

enum class Answer { None, Correct, Wrong };

// Looks at the ports in index order; the first one with received bytes is answered.
Answer TakeAnswer(const std::vector<IndexedPort>& ports, std::string& status, int& answered) {
    for (const IndexedPort& entry : ports) {
        int waiting = entry.port->ReceivedCount();
        if (waiting <= 0) continue;
        std::vector<uint8_t> bytes = TakeAllReceived(entry.port, waiting);
        size_t count = bytes.size();
        // Room for the reply bytes the check reads even when fewer arrived.
        bytes.resize(count + 10, 0);
        answered = entry.index;
        if (bytes[1] == (cmd::kPowerOnCapture | cmd::kReplyBit) && bytes[2] == 0) {
            status.clear();
            return Answer::Correct;
        }
        status = Format("Capture->%s", ReplyText(bytes.data(), static_cast<int>(count)).c_str());
        return Answer::Wrong;
    }
    return Answer::None;
}

}  // namespace

std::vector<int> SoftBreakRates(int portBaud) {
    std::vector<int> rates{portBaud};
    for (int baud : kSoftBreakRates)
        if (baud != portBaud && static_cast<int>(rates.size()) < kMaxSoftBreakAttempts)
            rates.push_back(baud);
    return rates;
}

std::vector<IndexedPort> OpenPorts(ISerialLink* const* ports, int count) {
    std::vector<IndexedPort> open;
    for (int i = 0; ports && i < count; ++i)
        if (ports[i] && ports[i]->IsOpen()) open.push_back({i, ports[i]});
    return open;
}

int StopReason(const std::vector<IndexedPort>& ports) {
    if (ports.empty()) return vxl::StopReason(nullptr);
    for (const IndexedPort& entry : ports) {
        const int stop = vxl::StopReason(entry.port);
        if (stop == 0) return 0;
        if (stop == rc::kInterrupted) return stop;
    }
    return ports.front().port->LostError();
}

namespace {

// Sleeps the guard time, watching the ports.
int GuardTime(const std::vector<IndexedPort>& ports) {
    Clock& clock = GetClock();
    const int64_t end = clock.SteadyMs() + kEscapeGuardMs;
    for (int64_t now = clock.SteadyMs(); now < end; now = clock.SteadyMs()) {
        if (int stop = StopReason(ports)) return stop;
        clock.SleepMs(static_cast<int>(std::min<int64_t>(end - now, 50)));
    }
    return StopReason(ports);
}

}  // namespace

int SendEscapeSequence(const std::vector<IndexedPort>& ports) {
    for (const IndexedPort& entry : ports) entry.port->Purge();
    if (int stop = GuardTime(ports)) return stop;
    for (const IndexedPort& entry : ports) entry.port->Write(kEscape, sizeof kEscape);
    if (int stop = GuardTime(ports)) return stop;
    for (const IndexedPort& entry : ports) entry.port->Purge();
    for (const IndexedPort& entry : ports) CModem::SyncPort(entry.port);
    return StopReason(ports);
}

int RunPowerOnCapture(const std::vector<IndexedPort>& ports, bool stopOnWrongReply,
                      CountdownWindow& window, std::string& status, int& found) {
    Clock& clock = GetClock();
    const std::vector<uint8_t> command = BuildFrame(cmd::kPowerOnCapture, {0x00});
    std::time_t now = clock.WallSeconds();
    const std::time_t deadline = now + kCaptureWindowSeconds;
    window.ShowRemaining(static_cast<long>(deadline - now));
    int result = rc::kNothingReceived;
    bool captured = false;
    while (!captured && now <= deadline) {
        if (int stop = StopReason(ports)) return stop;
        // The command goes out continuously: nothing waits here but the port's write itself,
        // which takes at least 10 ms. A port that returns at once (its device is gone) must
        // not make this loop spin.
        const std::time_t sent = now;
        const int64_t sendStart = clock.SteadyMs();
        for (const IndexedPort& entry : ports)
            entry.port->Write(command.data(), static_cast<int>(command.size()));
        const int64_t spent = clock.SteadyMs() - sendStart;
        if (spent < kMinSendIntervalMs) clock.SleepMs(static_cast<int>(kMinSendIntervalMs - spent));
        Ui().KeepAlive();
        for (int cycle = 0; cycle < kPollCyclesPerSend && now == sent && !captured; ++cycle) {
            int answered = -1;
            Answer answer = TakeAnswer(ports, status, answered);
            if (answer == Answer::Correct) {
                result = rc::kOk;
                found = answered;
            } else if (answer == Answer::Wrong) {
                result = rc::kIncorrectResponse;
                if (stopOnWrongReply) return result;
            }
            now = clock.WallSeconds();
            if (result == rc::kOk || result == rc::kNothingReceived) {
                window.ShowRemaining(static_cast<long>(deadline - now));
                if (window.TakeCancel())
                    result = rc::kPowerOnCancelled;
                else if (result == rc::kOk)
                    captured = true;
            }
        }
        if (!captured) now = clock.WallSeconds();
    }
    return result;
}

}  // namespace vxl
