// The modem's own behaviour, from its side of the wire, in simulated time: power-up with a
// capture window, data mode with the "+++" escape, command mode with its binary commands, and
// the boot loader. It sees bytes as its UART decodes them and hands back what it transmits;
// the line (timing, rate mismatch) is LineModel's business.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/lib/boot_loader.h"
#include "sim/lib/fault_plan.h"
#include "sim/lib/modem_memory.h"

namespace vxl::sim {

enum class ModemMode { kCaptureWindow, kData, kCommand, kLoader };
const char* ModeName(ModemMode mode);

constexpr int64_t kNever = std::numeric_limits<int64_t>::max();
constexpr int64_t kGuardTimeUs = 1000000;  // silence around "+++"
constexpr int kCaptureBaud = 9600;         // the start-up code listens at this rate

// Bytes the modem sends, not before `readyUs`, at `baud`.
struct Transmission {
    std::vector<uint8_t> bytes;
    int64_t readyUs = 0;
    int baud = 9600;
    int baudAfter = 0;         // the modem's UART switches to this rate once the bytes are out
    bool hangUpAfter = false;  // the line is hung up once the bytes are out
};

struct FirmwareSettings {
    int captureWindowMs = 2000;
    // Time the modem takes to act on a command before it answers.
    int64_t processingUs = 0;
    // Serial rate used when the stored rate byte holds no valid code.
    int fallbackBaud = 9600;
};

class ModemFirmware {
  public:
    ModemFirmware(MemoryBytes memory, FirmwareSettings settings);

    // Power-up (or restart): uncommitted writes are lost and the memory is locked. With
    // `withCaptureWindow` the start-up code first answers the capture command for a while.
    void PowerUp(int64_t nowUs, bool withCaptureWindow);
    // One byte as the modem's UART decoded it.
    void Receive(uint8_t byte, int64_t nowUs);
    // Lets time pass (guard time and capture window ends).
    void Tick(int64_t nowUs);
    int64_t NextTimerUs() const;
    std::vector<Transmission> TakeTransmissions();

    // The rate the modem's UART runs at now.
    int UartBaud() const { return uartBaud_; }
    void SetUartBaud(int baud) { uartBaud_ = baud; }
    ModemMode Mode() const { return mode_; }
    bool Unlocked() const { return unlocked_; }
    int CommandCount() const { return commandCount_; }
    const MemoryLayout& Layout() const { return layout_; }

    // What reads return (including writes not yet committed by Program).
    const MemoryBytes& Memory() const { return working_; }
    // What survives a power cycle.
    const MemoryBytes& StoredMemory() const { return stored_; }
    // The memory writes received, by address: how many times each address was written to (a
    // refused write counts too). Kept until cleared, across power cycles.
    const std::map<int, int>& MemoryWrites() const { return writes_; }
    void ClearMemoryWrites() { writes_.clear(); }

    // Replaces the fault plan; commands are counted afresh from here.
    void SetFaults(const FaultPlan& faults);
    const FaultPlan& Faults() const { return faults_; }

    // Called with the stored memory after Program or a loader store.
    std::function<void(const MemoryBytes&)> onStore;
    // Called with a short description of each change of state (for the transcript).
    std::function<void(int64_t, const std::string&)> onEvent;

  private:
    void EnterMode(ModemMode mode, int64_t nowUs);
    void ReceiveCaptureWindow(uint8_t byte, int64_t nowUs);
    void ReceiveData(uint8_t byte, int64_t nowUs);
    void ReceiveCommand(uint8_t byte, int64_t nowUs);
    void ReceiveLoader(uint8_t byte, int64_t nowUs);
    void DiscardLeadingGarbage();
    void Execute(const std::vector<uint8_t>& frame, int64_t nowUs);
    // Answers a command with code|0x80 and `value`, applying the faults planned for it.
    void Reply(uint8_t code, uint8_t value, int64_t nowUs, int baudAfter = 0);
    // Counts a command; false when the modem no longer answers.
    bool CountCommand(uint8_t code, int64_t nowUs);
    void Send(std::vector<uint8_t> bytes, int64_t readyUs, int baudAfter = 0);
    void Store(int64_t nowUs, const char* what);
    void ReturnToDataMode(int64_t nowUs);
    int StoredBaud() const;
    void Event(int64_t nowUs, const std::string& text);

    FirmwareSettings settings_;
    MemoryBytes stored_;
    MemoryBytes working_;
    MemoryLayout layout_;
    FaultPlan faults_;
    ModemMode mode_ = ModemMode::kData;
    int uartBaud_ = 9600;
    int runningBaud_ = 9600;
    bool unlocked_ = false;
    int commandCount_ = 0;
    int faultCount_ = 0;  // the commands the fault plan counts
    std::map<int, int> writes_;
    bool hangUpPending_ = false;

    int64_t captureWindowEndUs_ = 0;
    std::vector<uint8_t> captureMatch_;

    int64_t lastReceiveUs_ = 0;
    int plusCount_ = 0;

    std::vector<uint8_t> frame_;
    int64_t frameLastByteUs_ = 0;

    std::unique_ptr<BootLoader> loader_;
    std::vector<Transmission> out_;
};

}  // namespace vxl::sim
