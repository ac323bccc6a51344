#include "fake_modem.h"

#include "modem/command_frame.h"

namespace vxl::test {

namespace {
constexpr int64_t kStartUpWindowMs = 2000;
}

FakeModem::FakeModem(FakeSerialLink& link, FakeClock& clock) : link_(link), clock_(clock) {
    link_.onWrite = [this](const std::vector<uint8_t>& bytes) { OnBytes(bytes); };
}

void FakeModem::SetIdentity(uint8_t model, int identityBlock, uint8_t b0, uint8_t b1, uint8_t size,
                            uint8_t id5, uint8_t id6) {
    memory[0x10A] = model;
    memory[identityBlock + 2] = b0;
    memory[identityBlock + 3] = b1;
    memory[identityBlock + 4] = size;
    memory[identityBlock + 5] = id5;
    memory[identityBlock + 6] = id6;
}

bool FakeModem::StartingUp() const {
    return powerOnAtMs >= 0 && clock_.NowMs() >= powerOnAtMs &&
           clock_.NowMs() < powerOnAtMs + kStartUpWindowMs;
}

void FakeModem::Answer(uint8_t code, uint8_t value) {
    std::vector<uint8_t> reply{0x01, static_cast<uint8_t>(code | 0x80), value, 0};
    reply[3] = FrameChecksum(reply.data() + 1, 2);
    link_.Deliver(reply, replyAfterPolls);
}

void FakeModem::OnBytes(const std::vector<uint8_t>& bytes) {
    if (link_.Baud() != serialBaud) return;
    if (bytes == std::vector<uint8_t>{'+', '+', '+'}) {
        if (answersEscape) commandMode = true;
        return;
    }
    if (bytes.size() < 3 || bytes[0] != 0x01) return;
    if (FrameChecksum(bytes.data() + 1, static_cast<int>(bytes.size()) - 2) != bytes.back()) return;
    const uint8_t code = bytes[1];
    if (code == cmd::kPowerOnCapture && StartingUp()) commandMode = true;
    if (!commandMode) return;
    commands.push_back(code);
    const int address = bytes.size() >= 5 ? bytes[2] * 256 + bytes[3] : 0;
    switch (code) {
        case cmd::kReadMemory:
            if (address != silentAddress) Answer(code, memory[address]);
            break;
        case cmd::kWriteMemory:
            memory[address] = bytes[4];
            ++writesStored;
            Answer(code, 0);
            break;
        case cmd::kUnlock: {
            bool keyMatches = bytes.size() == 9;
            for (int i = 0; keyMatches && i < 6; ++i)
                keyMatches = bytes[2 + i] == memory[0x100 + i];
            Answer(code, keyMatches ? 0 : 1);
            break;
        }
        case cmd::kReset:
            Answer(code, 0);
            commandMode = false;
            break;
        default:
            Answer(code, 0);
            break;
    }
}

}  // namespace vxl::test
