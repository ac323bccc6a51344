// A simulated modem on a pseudo-terminal, running on its own thread: what vxlsim runs, and what
// tests start in-process to talk to through the real serial port code.
//
//   vxl::sim::Simulator sim(options);
//   sim.Start(&error);  sim.LinkPath();  sim.PowerCycle();  sim.Memory();  sim.Stop();
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/lib/line_model.h"
#include "sim/lib/modem_firmware.h"
#include "sim/lib/pty_endpoint.h"
#include "sim/lib/sim_options.h"
#include "sim/lib/trace_log.h"
#include "sim/lib/transcript_replay.h"

namespace vxl::sim {

struct SimStatus {
    ModemMode mode = ModemMode::kData;
    int modemBaud = 0;  // the modem's UART rate now
    int hostBaud = 0;   // the rate the program set on its side
    bool hostConnected = false;
    bool hungUp = false;  // the line was hung up by the hang-up fault
    bool unlocked = false;
    int commandCount = 0;  // commands since start or since the last SetFaults
    int powerCycles = 0;
    // A replay: its recorded replies, those sent, and whether the program went another way.
    int replaySteps = 0;
    int replayStepsDone = 0;
    bool replayDiverged = false;
    std::string lastError;  // e.g. the image could not be saved
};

class Simulator {
  public:
    explicit Simulator(SimOptions options);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Opens the pseudo-terminal, makes the link and starts the modem's thread.
    bool Start(std::string* error);
    // Stops the thread, closes the terminal and removes the link. Safe to call twice.
    void Stop();

    // The path the program opens: the link, or the slave itself when no link was asked for.
    std::string LinkPath() const;
    std::string SlavePath() const;

    // Switches the modem off and on; after a hang-up it also plugs the line in again.
    void PowerCycle();
    // Pulls the line out now, as an unplugged USB adapter: the program's device hangs up and
    // its path is gone. PowerCycle plugs it in again.
    void Unplug();
    void SetFaults(const FaultPlan& faults);

    MemoryBytes Memory() const;        // what reads return now
    MemoryBytes StoredMemory() const;  // what survives a power cycle
    // How many memory writes the modem received at each address, since start or the last clear.
    std::map<int, int> MemoryWrites() const;
    void ClearMemoryWrites();
    SimStatus Status() const;
    // Polls Status() until `done` holds or `timeoutMs` passes; returns whether it held.
    template <typename Predicate>
    bool WaitFor(Predicate done, int timeoutMs) const {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done(Status())) {
            if (std::chrono::steady_clock::now() >= end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

  private:
    int64_t NowUs() const;
    void Wake();
    void Run();
    // One pass of the loop, with the lock held: take the program's bytes, run the line, write.
    void Serve(bool hangUpSeen, int64_t nowUs);
    void HangUp(int64_t nowUs);
    void PowerCycleLocked(int64_t nowUs);
    void OnStore(const MemoryBytes& memory);
    void WatchForCaptureRequest(const std::vector<uint8_t>& fromHost, int64_t nowUs);
    bool StartReplay(std::string* error);
    int64_t NextDueUs() const;

    SimOptions options_;
    const std::chrono::steady_clock::time_point origin_ = std::chrono::steady_clock::now();
    mutable std::mutex mutex_;
    std::unique_ptr<ModemFirmware> firmware_;
    std::unique_ptr<LineModel> line_;
    std::unique_ptr<TranscriptReplay> replay_;  // answers instead of the modem when set
    PtyEndpoint pty_;
    TraceLog trace_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    int wakeFd_ = -1;
    bool started_ = false;
    bool hostPresent_ = false;
    bool hungUp_ = false;
    int hostBaud_ = 9600;
    int powerCycles_ = 0;
    int64_t powerCycleAtUs_ = kNever;
    // The last bytes from the program, to spot a capture command split across reads.
    std::vector<uint8_t> recentFromHost_;
    std::string lastError_;
};

}  // namespace vxl::sim
