#include "sim/lib/simulator.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "util/format.h"

namespace vxl::sim {

namespace {

// While the program has the line closed, an open of the terminal wakes the loop; without that
// notice, look this often whether it opened it again.
constexpr int64_t kReopenCheckUs = 100000;
constexpr int64_t kReopenCheckWithoutNoticeUs = 2000;
// With the late-reply fault, look this often whether the program changed its rate.
constexpr int64_t kRateCheckUs = 10000;
constexpr int64_t kIdleWaitUs = 1000000;

}  // namespace

Simulator::Simulator(SimOptions options) : options_(std::move(options)) {}

Simulator::~Simulator() {
    Stop();
}

int64_t Simulator::NowUs() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 origin_)
        .count();
}

void Simulator::Wake() {
    if (wakeFd_ < 0) return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(wakeFd_, &one, sizeof one);
}

bool Simulator::Start(std::string* error) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (started_) {
        *error = "the simulator is already running";
        return false;
    }
    MemoryBytes memory;
    if (!InitialMemory(options_, &memory, error)) return false;
    if (!options_.tracePath.empty() && !trace_.Open(options_.tracePath, error)) return false;

    FirmwareSettings settings;
    settings.captureWindowMs = static_cast<int>(options_.captureWindowSeconds * 1000.0);
    settings.processingUs =
        options_.lineTiming ? static_cast<int64_t>(options_.processingMs * 1000.0) : 0;
    settings.fallbackBaud = options_.profile.baud;
    firmware_ = std::make_unique<ModemFirmware>(std::move(memory), settings);
    firmware_->SetFaults(options_.faults);
    firmware_->onEvent = [this](int64_t atUs, const std::string& text) {
        trace_.Event(atUs, text);
    };
    firmware_->onStore = [this](const MemoryBytes& stored) { OnStore(stored); };
    line_ = std::make_unique<LineModel>(*firmware_, options_.lineTiming);

    if (!pty_.Open(options_.linkPath, error)) return false;
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    const int64_t now = NowUs();
    trace_.Event(now, Format("line %s (linked as %s), line timing %s", pty_.SlavePath().c_str(),
                             options_.linkPath.empty() ? "-" : options_.linkPath.c_str(),
                             options_.lineTiming ? "on" : "off"));
    if (!options_.replayPath.empty()) {
        if (!StartReplay(error)) return false;
    } else {
        firmware_->PowerUp(now, false);
    }
    if (options_.powerCycleAfterSeconds >= 0)
        powerCycleAtUs_ = now + static_cast<int64_t>(options_.powerCycleAfterSeconds * 1e6);
    stop_ = false;
    started_ = true;
    thread_ = std::thread(&Simulator::Run, this);
    return true;
}

bool Simulator::StartReplay(std::string* error) {
    std::ifstream in(options_.replayPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    Transcript transcript;
    std::string problem;
    if (!in || !ParseTranscript(text.str(), transcript, problem)) {
        *error = Format("cannot replay %s: %s", options_.replayPath.c_str(),
                        in ? problem.c_str() : std::strerror(errno));
        return false;
    }
    replay_ = std::make_unique<TranscriptReplay>(transcript);
    replay_->onEvent = [this](int64_t atUs, const std::string& text) { trace_.Event(atUs, text); };
    const std::string program = transcript.Field("program");
    trace_.Event(
        NowUs(),
        Format("replaying %d replies of %s%s", static_cast<int>(replay_->StepCount()),
               options_.replayPath.c_str(), program.empty() ? "" : (" (" + program + ")").c_str()));
    return true;
}

int64_t Simulator::NextDueUs() const {
    return replay_ ? replay_->NextDueUs() : line_->NextDueUs();
}

void Simulator::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!started_) return;
        started_ = false;
    }
    stop_ = true;
    Wake();
    if (thread_.joinable()) thread_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    pty_.Close();
    trace_.Event(NowUs(), "simulator stopped");
    trace_.Close();
    if (wakeFd_ >= 0) close(wakeFd_);
    wakeFd_ = -1;
}

std::string Simulator::LinkPath() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return options_.linkPath.empty() ? pty_.SlavePath() : options_.linkPath;
}

std::string Simulator::SlavePath() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pty_.SlavePath();
}

void Simulator::PowerCycle() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!started_) return;
        PowerCycleLocked(NowUs());
    }
    Wake();
}

void Simulator::Unplug() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!started_ || !pty_.IsOpen()) return;
        HangUp(NowUs());
    }
    Wake();
}

void Simulator::PowerCycleLocked(int64_t nowUs) {
    if (!pty_.IsOpen()) {
        // The adapter is plugged in again: a fresh terminal behind the same link.
        std::string error;
        if (pty_.Open(options_.linkPath, &error)) {
            hungUp_ = false;
            trace_.Event(nowUs, Format("line %s plugged in", pty_.SlavePath().c_str()));
        } else {
            lastError_ = error;
        }
    }
    ++powerCycles_;
    line_->PowerCycle(nowUs);
}

void Simulator::SetFaults(const FaultPlan& faults) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (firmware_ == nullptr) return;
        firmware_->SetFaults(faults);
    }
    Wake();
}

MemoryBytes Simulator::Memory() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return firmware_ ? firmware_->Memory() : MemoryBytes();
}

MemoryBytes Simulator::StoredMemory() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return firmware_ ? firmware_->StoredMemory() : MemoryBytes();
}

std::map<int, int> Simulator::MemoryWrites() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return firmware_ ? firmware_->MemoryWrites() : std::map<int, int>();
}

void Simulator::ClearMemoryWrites() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (firmware_) firmware_->ClearMemoryWrites();
}

SimStatus Simulator::Status() const {
    std::lock_guard<std::mutex> lock(mutex_);
    SimStatus status;
    if (firmware_ != nullptr) {
        status.mode = firmware_->Mode();
        status.modemBaud = firmware_->UartBaud();
        status.unlocked = firmware_->Unlocked();
        status.commandCount = firmware_->CommandCount();
    }
    status.hostBaud = hostBaud_;
    status.hostConnected = hostPresent_;
    status.hungUp = hungUp_;
    status.powerCycles = powerCycles_;
    if (replay_) {
        status.replaySteps = static_cast<int>(replay_->StepCount());
        status.replayStepsDone = static_cast<int>(replay_->StepsDone());
        status.replayDiverged = replay_->Diverged();
    }
    status.lastError = lastError_;
    return status;
}

void Simulator::OnStore(const MemoryBytes& memory) {
    if (!options_.saveOnProgram) return;
    std::string error;
    if (!SaveMemoryFile(options_.imagePath, memory, &error)) {
        lastError_ = error;
        trace_.Event(NowUs(), error);
    }
}

void Simulator::WatchForCaptureRequest(const std::vector<uint8_t>& fromHost, int64_t nowUs) {
    static const uint8_t kCaptureCommand[] = {0x01, 0x22, 0x00, 0xDD};
    recentFromHost_.insert(recentFromHost_.end(), fromHost.begin(), fromHost.end());
    const bool heard =
        std::search(recentFromHost_.begin(), recentFromHost_.end(), std::begin(kCaptureCommand),
                    std::end(kCaptureCommand)) != recentFromHost_.end();
    const size_t keep = sizeof kCaptureCommand - 1;
    if (recentFromHost_.size() > keep)
        recentFromHost_.erase(recentFromHost_.begin(), recentFromHost_.end() - keep);
    // A modem in command mode answers the capture as it is; one in data mode or left in its boot
    // loader answers only after a power cycle.
    const ModemMode mode = firmware_->Mode();
    if (!heard || options_.operatorPowerCycleSeconds < 0 || powerCycleAtUs_ != kNever ||
        (mode != ModemMode::kData && mode != ModemMode::kLoader))
        return;
    powerCycleAtUs_ = nowUs + static_cast<int64_t>(options_.operatorPowerCycleSeconds * 1e6);
    trace_.Event(nowUs,
                 "the program waits for a power-on capture: the operator power-cycles "
                 "the modem");
}

void Simulator::HangUp(int64_t nowUs) {
    line_->ClearHangUp();
    pty_.Close();
    hungUp_ = true;
    hostPresent_ = false;
    trace_.Event(nowUs, "line hung up");
}

void Simulator::Run() {
    while (!stop_) {
        int64_t waitUs = kIdleWaitUs;
        bool watchMaster = false;
        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {-1, POLLIN, 0}};
        {
            std::lock_guard<std::mutex> lock(mutex_);
            const int64_t due = std::min(NextDueUs(), powerCycleAtUs_);
            if (due != kNever) waitUs = std::clamp<int64_t>(due - NowUs(), 0, kIdleWaitUs);
            if (pty_.IsOpen() && !hostPresent_) {
                // Wait for the program to open the line again.
                fds[1].fd = pty_.OpenWatchFd();
                waitUs =
                    std::min(waitUs, fds[1].fd >= 0 ? kReopenCheckUs : kReopenCheckWithoutNoticeUs);
            }
            if (firmware_->Faults().lateReplyMs > 0) waitUs = std::min(waitUs, kRateCheckUs);
            watchMaster = pty_.IsOpen() && hostPresent_;
            if (watchMaster) fds[1].fd = pty_.fd();
        }
        const timespec wait{static_cast<time_t>(waitUs / 1000000),
                            static_cast<long>((waitUs % 1000000) * 1000)};
        ppoll(fds, fds[1].fd >= 0 ? 2 : 1, &wait, nullptr);
        if (fds[0].revents & POLLIN) {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = read(wakeFd_, &count, sizeof count);
        }
        std::lock_guard<std::mutex> lock(mutex_);
        if (!watchMaster) pty_.DrainOpenWatch();
        const bool hangUpSeen = watchMaster && (fds[1].revents & (POLLHUP | POLLERR)) != 0;
        Serve(hangUpSeen, NowUs());
    }
}

void Simulator::Serve(bool hangUpSeen, int64_t nowUs) {
    std::vector<uint8_t> toHost;
    if (pty_.IsOpen() && !hostPresent_ && pty_.HostPresent()) {
        hostPresent_ = true;
        const int baud = pty_.HostBaud();
        if (baud > 0) hostBaud_ = baud;
        trace_.Event(nowUs, Format("the program opened the line at %d baud", hostBaud_));
    }
    if (hostPresent_) {
        std::vector<uint8_t> fromHost;
        bool settingsChanged = false;
        if (pty_.Read(&fromHost, &settingsChanged) == PtyEndpoint::ReadResult::kHostGone)
            hangUpSeen = true;
        // The rate is read when bytes or a settings packet arrive: packets do not keep the
        // order of data and settings changes.
        const int baud = pty_.HostBaud();
        if (baud > 0 && baud != hostBaud_) {
            if (!replay_) line_->Advance(nowUs, hostBaud_, &toHost);
            trace_.Event(nowUs, Format("the program set its line to %d baud", baud));
            if (!replay_) line_->HostRateChanged(hostBaud_, baud, nowUs);
            hostBaud_ = baud;
        }
        if (!fromHost.empty()) {
            trace_.Bytes(TraceDirection::FromHost, fromHost.data(), fromHost.size(), hostBaud_,
                         nowUs);
            if (replay_) {
                replay_->FromHost(fromHost.data(), fromHost.size(), nowUs);
            } else {
                line_->Advance(nowUs, hostBaud_, &toHost);
                line_->FromHost(fromHost.data(), fromHost.size(), hostBaud_, nowUs);
                WatchForCaptureRequest(fromHost, nowUs);
            }
        }
        if (hangUpSeen) {
            hostPresent_ = false;
            trace_.Event(nowUs, "the program closed the line");
        }
    }
    if (nowUs >= powerCycleAtUs_) {
        powerCycleAtUs_ = kNever;
        PowerCycleLocked(nowUs);
    }
    if (replay_)
        replay_->Advance(nowUs, &toHost);
    else
        line_->Advance(nowUs, hostBaud_, &toHost);
    if (!toHost.empty()) {
        const size_t written = hostPresent_ ? pty_.Write(toHost.data(), toHost.size()) : 0;
        trace_.Bytes(TraceDirection::ToHost, toHost.data(), written, hostBaud_, nowUs);
        trace_.Bytes(TraceDirection::Dropped, toHost.data() + written, toHost.size() - written,
                     hostBaud_, nowUs);
    }
    if (line_->HangUpDue(nowUs)) HangUp(nowUs);
    trace_.FlushIfIdle(nowUs);
}

}  // namespace vxl::sim
