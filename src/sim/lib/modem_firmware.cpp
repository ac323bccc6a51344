#include "sim/lib/modem_firmware.h"

#include <algorithm>

#include "util/format.h"

namespace vxl::sim {

namespace {

// A partial frame older than this is line noise, not the start of a command.
constexpr int64_t kFrameGapUs = 100000;

struct CommandShape {
    uint8_t code;
    uint8_t length;  // whole frame: 0x01, code, data, checksum
    const char* name;
};

constexpr CommandShape kCommands[] = {
    {0x01, 4, "write baud rate"}, {0x02, 3, "sync"},        {0x1C, 3, "start boot loader"},
    {0x1D, 4, "reset"},           {0x1E, 3, "program"},     {0x1F, 9, "unlock"},
    {0x20, 6, "write memory"},    {0x21, 5, "read memory"}, {0x22, 4, "capture"},
};

const CommandShape* FindCommand(uint8_t code) {
    for (const CommandShape& shape : kCommands)
        if (shape.code == code) return &shape;
    return nullptr;
}

// Complement of the 8-bit sum of everything between the frame start and the checksum byte.
uint8_t FrameChecksum(const uint8_t* bytes, size_t count) {
    unsigned sum = 0;
    for (size_t i = 0; i < count; ++i) sum += bytes[i];
    return static_cast<uint8_t>(~sum);
}

constexpr uint8_t kCaptureCommand[4] = {0x01, 0x22, 0x00, 0xDD};
constexpr uint8_t kNoise[] = {0xFE, 0x7F, 0xC3, 0x81, 0x3C, 0xE7, 0x18, 0x99};
constexpr uint8_t kExcessByte = 0x5A;
constexpr uint8_t kDamagedBit = 0x10;

int Address(const std::vector<uint8_t>& frame) {
    return frame[2] * 256 + frame[3];
}

}  // namespace

const char* ModeName(ModemMode mode) {
    switch (mode) {
        case ModemMode::kCaptureWindow:
            return "capture window";
        case ModemMode::kData:
            return "data mode";
        case ModemMode::kCommand:
            return "command mode";
        case ModemMode::kLoader:
            return "boot loader";
    }
    return "?";
}

ModemFirmware::ModemFirmware(MemoryBytes memory, FirmwareSettings settings)
    : settings_(settings), stored_(std::move(memory)), working_(stored_) {
    stored_.resize(kMemorySize, 0);
    working_ = stored_;
    layout_ = DescribeMemory(stored_);
    runningBaud_ = uartBaud_ = StoredBaud();
}

void ModemFirmware::Event(int64_t nowUs, const std::string& text) {
    if (onEvent) onEvent(nowUs, text);
}

int ModemFirmware::StoredBaud() const {
    const int baud = BaudFromCode(stored_[kStoredBaudAddress]);
    return baud > 0 ? baud : settings_.fallbackBaud;
}

void ModemFirmware::PowerUp(int64_t nowUs, bool withCaptureWindow) {
    working_ = stored_;
    layout_ = DescribeMemory(stored_);
    unlocked_ = false;
    frame_.clear();
    loader_.reset();
    out_.clear();
    plusCount_ = 0;
    lastReceiveUs_ = nowUs;
    runningBaud_ = StoredBaud();
    working_[layout_.parameterBase + kRunningBaudOffset] =
        static_cast<uint8_t>(std::max(0, BaudCode(runningBaud_)));
    working_[layout_.parameterBase + kRunningProtocolOffset] = working_[kStoredProtocolAddress];
    Event(nowUs, Format("power up: type %d modem, firmware %s, N = %d, serial rate %d baud",
                        layout_.modemType,
                        RevisionText(working_[layout_.identityBlock + 2],
                                     working_[layout_.identityBlock + 3])
                            .c_str(),
                        layout_.configSize, runningBaud_));
    if (withCaptureWindow && settings_.captureWindowMs > 0) {
        captureWindowEndUs_ = nowUs + settings_.captureWindowMs * 1000LL;
        captureMatch_.clear();
        uartBaud_ = kCaptureBaud;
        EnterMode(ModemMode::kCaptureWindow, nowUs);
    } else {
        uartBaud_ = runningBaud_;
        EnterMode(ModemMode::kData, nowUs);
    }
}

void ModemFirmware::EnterMode(ModemMode mode, int64_t nowUs) {
    mode_ = mode;
    plusCount_ = 0;
    frame_.clear();
    Event(nowUs, Format("%s at %d baud", ModeName(mode), uartBaud_));
}

void ModemFirmware::SetFaults(const FaultPlan& faults) {
    faults_ = faults;
    commandCount_ = 0;
    faultCount_ = 0;
    hangUpPending_ = false;
}

void ModemFirmware::Tick(int64_t nowUs) {
    if (mode_ == ModemMode::kCaptureWindow && nowUs >= captureWindowEndUs_) {
        uartBaud_ = runningBaud_;
        EnterMode(ModemMode::kData, captureWindowEndUs_);
    } else if (mode_ == ModemMode::kData && plusCount_ == 3 &&
               nowUs >= lastReceiveUs_ + kGuardTimeUs) {
        EnterMode(ModemMode::kCommand, lastReceiveUs_ + kGuardTimeUs);
    }
}

int64_t ModemFirmware::NextTimerUs() const {
    if (mode_ == ModemMode::kCaptureWindow) return captureWindowEndUs_;
    if (mode_ == ModemMode::kData && plusCount_ == 3) return lastReceiveUs_ + kGuardTimeUs;
    return kNever;
}

std::vector<Transmission> ModemFirmware::TakeTransmissions() {
    std::vector<Transmission> taken;
    taken.swap(out_);
    return taken;
}

void ModemFirmware::Receive(uint8_t byte, int64_t nowUs) {
    Tick(nowUs);
    switch (mode_) {
        case ModemMode::kCaptureWindow:
            ReceiveCaptureWindow(byte, nowUs);
            break;
        case ModemMode::kData:
            ReceiveData(byte, nowUs);
            break;
        case ModemMode::kCommand:
            ReceiveCommand(byte, nowUs);
            break;
        case ModemMode::kLoader:
            ReceiveLoader(byte, nowUs);
            break;
    }
    lastReceiveUs_ = nowUs;
}

void ModemFirmware::ReceiveCaptureWindow(uint8_t byte, int64_t nowUs) {
    captureMatch_.push_back(byte);
    if (captureMatch_.size() > sizeof kCaptureCommand) captureMatch_.erase(captureMatch_.begin());
    if (!std::equal(captureMatch_.begin(), captureMatch_.end(), kCaptureCommand,
                    kCaptureCommand + sizeof kCaptureCommand) ||
        captureMatch_.size() != sizeof kCaptureCommand)
        return;
    captureMatch_.clear();
    if (!CountCommand(0x22, nowUs)) return;
    Reply(0x22, 0x00, nowUs);
    EnterMode(ModemMode::kCommand, nowUs);
}

void ModemFirmware::ReceiveData(uint8_t byte, int64_t nowUs) {
    // "+++" counts only with a guard time of silence before the first '+' and after the last;
    // anything else inside the guard times (a fourth '+' too) cancels it.
    const int64_t silence = nowUs - lastReceiveUs_;
    if (byte != '+' || plusCount_ == 3) {
        plusCount_ = 0;
    } else if (silence >= kGuardTimeUs) {
        plusCount_ = 1;
    } else if (plusCount_ > 0) {
        ++plusCount_;
    }
}

void ModemFirmware::DiscardLeadingGarbage() {
    frame_.erase(frame_.begin());
    const auto start = std::find(frame_.begin(), frame_.end(), 0x01);
    frame_.erase(frame_.begin(), start);
}

void ModemFirmware::ReceiveCommand(uint8_t byte, int64_t nowUs) {
    if (!frame_.empty() && nowUs - frameLastByteUs_ > kFrameGapUs) frame_.clear();
    frameLastByteUs_ = nowUs;
    if (frame_.empty() && byte != 0x01) return;
    frame_.push_back(byte);
    while (frame_.size() >= 2) {
        const CommandShape* shape = FindCommand(frame_[1]);
        if (shape == nullptr) {
            DiscardLeadingGarbage();
            continue;
        }
        if (frame_.size() < shape->length) return;
        const std::vector<uint8_t> frame(frame_.begin(), frame_.begin() + shape->length);
        if (FrameChecksum(&frame[1], shape->length - 2) != frame.back()) {
            Event(nowUs, Format("%s frame with a bad checksum ignored", shape->name));
            DiscardLeadingGarbage();
            continue;
        }
        frame_.erase(frame_.begin(), frame_.begin() + shape->length);
        Execute(frame, nowUs);
        return;
    }
}

bool ModemFirmware::CountCommand(uint8_t code, int64_t nowUs) {
    ++commandCount_;
    // Once the K-th counted command is answered, nothing more is.
    if (faults_.stopAfter > 0 && faultCount_ >= faults_.stopAfter) {
        Event(nowUs, Format("command %d ignored: the modem has stopped answering", commandCount_));
        return false;
    }
    if (faults_.faultCommand == 0 || faults_.faultCommand == code) ++faultCount_;
    return true;
}

void ModemFirmware::Execute(const std::vector<uint8_t>& frame, int64_t nowUs) {
    const uint8_t code = frame[1];
    if (!CountCommand(code, nowUs)) return;
    switch (code) {
        case 0x01: {
            const int baud = BaudFromCode(frame[2]);
            if (baud == 0) {
                Reply(code, 0x01, nowUs);
                break;
            }
            Event(nowUs, Format("serial rate changes to %d baud", baud));
            runningBaud_ = baud;
            working_[layout_.parameterBase + kRunningBaudOffset] = frame[2];
            Reply(code, 0x00, nowUs, baud);
            break;
        }
        case 0x02:
            Reply(code, 0x00, nowUs);
            break;
        case 0x1C:
            if (!unlocked_) {
                Event(nowUs, "boot loader refused: memory locked");
                Reply(code, 0x01, nowUs);
                break;
            }
            loader_ = std::make_unique<BootLoader>(faults_);
            EnterMode(ModemMode::kLoader, nowUs);
            break;
        case 0x1D:
            Reply(code, 0x00, nowUs, StoredBaud());
            ReturnToDataMode(nowUs);
            break;
        case 0x1E:
            Store(nowUs, "program");
            Reply(code, 0x00, nowUs);
            break;
        case 0x1F:
            unlocked_ = std::equal(frame.begin() + 2, frame.begin() + 2 + kUnlockKeyLength,
                                   working_.begin() + kConfigBase);
            Event(nowUs, unlocked_ ? "unlocked" : "unlock refused: wrong key");
            Reply(code, unlocked_ ? 0x00 : 0x01, nowUs);
            break;
        case 0x20:
            ++writes_[Address(frame)];
            if (!unlocked_) {
                Event(nowUs, Format("write to 0x%04X refused: memory locked", Address(frame)));
                Reply(code, 0x01, nowUs);
                break;
            }
            if (Address(frame) == faults_.wrongStoreAddress) {
                // A weak memory cell: the byte lands with one bit flipped.
                working_[Address(frame)] = frame[4] ^ kDamagedBit;
                Event(nowUs, Format("write to 0x%04X stored 0x%02X instead of 0x%02X",
                                    Address(frame), working_[Address(frame)], frame[4]));
            } else {
                working_[Address(frame)] = frame[4];
            }
            Reply(code, 0x00, nowUs);
            break;
        case 0x21: {
            uint8_t value = working_[Address(frame)];
            if (faults_.damagedReadAddress != 0 && Address(frame) == faults_.damagedReadAddress) {
                value ^= kDamagedBit;
                Event(nowUs, Format("read of 0x%04X: value damaged", Address(frame)));
            }
            Reply(code, value, nowUs);
            break;
        }
        case 0x22:
            Reply(code, 0x00, nowUs);
            break;
        default:
            break;
    }
}

void ModemFirmware::Reply(uint8_t code, uint8_t value, int64_t nowUs, int baudAfter) {
    const uint8_t answer = static_cast<uint8_t>(code | 0x80);
    std::vector<uint8_t> bytes = {0x01, answer, value,
                                  static_cast<uint8_t>(~(answer + value) & 0xFF)};
    // A reply to a command the plan does not count meets no fault.
    const int k = faults_.faultCommand == 0 || faults_.faultCommand == code ? faultCount_ : -1;
    if (faults_.noReplyTo == k) {
        Event(nowUs, Format("reply to command %d withheld", k));
        bytes.clear();
    } else {
        if (faults_.wrongByteIn == k) {
            const int position = std::clamp(faults_.wrongBytePosition, 0, 3);
            bytes[position] ^= 0x40;
            Event(nowUs, Format("reply to command %d: byte %d altered", k, position));
        }
        if (faults_.noiseBeforeReply == k) {
            std::vector<uint8_t> noise;
            for (int i = 0; i < faults_.noiseByteCount; ++i)
                noise.push_back(kNoise[i % sizeof kNoise]);
            bytes.insert(bytes.begin(), noise.begin(), noise.end());
            Event(nowUs, Format("reply to command %d: line noise first", k));
        }
        if (faults_.excessBytesAfter == k) {
            bytes.insert(bytes.end(), std::max(0, faults_.excessByteCount), kExcessByte);
            Event(nowUs, Format("reply to command %d: excess bytes", k));
        }
    }
    if (faults_.hangUpAfter == k) hangUpPending_ = true;
    const int64_t readyUs = nowUs + settings_.processingUs + faults_.replyDelayMs * 1000LL;
    Send(std::move(bytes), readyUs, baudAfter);
}

void ModemFirmware::Send(std::vector<uint8_t> bytes, int64_t readyUs, int baudAfter) {
    if (bytes.empty() && baudAfter == 0 && !hangUpPending_) return;
    Transmission tx;
    tx.bytes = std::move(bytes);
    tx.readyUs = readyUs;
    tx.baud = uartBaud_;
    tx.baudAfter = baudAfter;
    tx.hangUpAfter = hangUpPending_;
    hangUpPending_ = false;
    out_.push_back(std::move(tx));
}

void ModemFirmware::Store(int64_t nowUs, const char* what) {
    stored_ = working_;
    Event(nowUs, Format("%s: memory stored", what));
    if (onStore) onStore(stored_);
}

void ModemFirmware::ReturnToDataMode(int64_t nowUs) {
    // A reset restarts the firmware: uncommitted writes are gone and the stored rate applies
    // once the reply is out.
    working_ = stored_;
    unlocked_ = false;
    runningBaud_ = StoredBaud();
    working_[layout_.parameterBase + kRunningBaudOffset] =
        static_cast<uint8_t>(std::max(0, BaudCode(runningBaud_)));
    working_[layout_.parameterBase + kRunningProtocolOffset] = working_[kStoredProtocolAddress];
    mode_ = ModemMode::kData;
    plusCount_ = 0;
    frame_.clear();
    Event(nowUs, Format("reset: data mode at %d baud", runningBaud_));
}

void ModemFirmware::ReceiveLoader(uint8_t byte, int64_t nowUs) {
    const LoaderReply reply = loader_->Receive(byte);
    if (reply.store) {
        for (const auto& [address, value] : loader_->Downloaded()) working_[address] = value;
        layout_ = DescribeMemory(working_);
        Store(
            nowUs,
            Format("boot loader: %zu bytes of new firmware", loader_->Downloaded().size()).c_str());
    }
    if (!reply.text.empty())
        Send(std::vector<uint8_t>(reply.text.begin(), reply.text.end()),
             nowUs + settings_.processingUs);
    if (reply.start) {
        // A jump to the new firmware, not a power cycle: no capture window.
        Event(nowUs, Format("boot loader: starting firmware at 0x%04X", reply.startAddress));
        PowerUp(nowUs, false);
    }
}

}  // namespace vxl::sim
