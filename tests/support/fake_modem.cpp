#include "support/fake_modem.h"

#include <algorithm>

#include "modem/command_frame.h"

namespace vxl::test {

namespace {

constexpr int64_t kStartUpWindowMs = 2000;

// The modem's own sum, kept apart from the program's so that a fault there shows.
uint8_t Checksum(const uint8_t* bytes, size_t count) {
    unsigned sum = 0;
    for (size_t i = 0; i < count; ++i) sum += bytes[i];
    return static_cast<uint8_t>(~sum);
}

}  // namespace

void FakeModem::Connect(FakeSerialLink& link) {
    link.onWrite = [this, &link](const std::vector<uint8_t>& bytes) {
        if (link.Baud() != serialBaud) return;
        link_ = &link;
        OnBytes(bytes);
    };
}

void FakeModem::SetIdentity(uint8_t model, uint8_t revision0, uint8_t revision1, uint8_t size,
                            uint16_t identityWord) {
    const int block = model == 0 || (model & 0x80) ? 0x8400 : 0xE000;
    Poke(addr::kModelByte, {model});
    Poke(block + 2, {revision0, revision1, size, identityWord >> 8, identityWord & 0xFF});
}

void FakeModem::Poke(int address, std::initializer_list<int> bytes) {
    for (int byte : bytes) memory[static_cast<size_t>(address++)] = static_cast<uint8_t>(byte);
}

int FakeModem::Count(uint8_t code) const {
    return static_cast<int>(std::count(commands.begin(), commands.end(), code));
}

void FakeModem::Send(const std::vector<uint8_t>& bytes, int afterPolls) {
    if (!bytes.empty()) link_->Deliver(bytes, afterPolls < 0 ? replyAfterPolls : afterPolls);
}

void FakeModem::Say(const std::string& text, int afterPolls) {
    Send(std::vector<uint8_t>(text.begin(), text.end()), afterPolls);
}

void FakeModem::OnBytes(const std::vector<uint8_t>& bytes) {
    const std::string text(bytes.begin(), bytes.end());
    heard.push_back(text);
    if (bytes.size() >= 3 && bytes[0] == cmd::kFrameStart) return OnFrame(bytes);
    if (inLoader) return OnLoaderText(text);
    if (text == "+++" && answersEscape) commandMode = true;
}

void FakeModem::OnFrame(const std::vector<uint8_t>& frame) {
    const uint8_t code = frame[1];
    // The start-loader frame ends in LF after its checksum.
    const size_t checked = code == cmd::kStartBootloader ? frame.size() - 1 : frame.size();
    if (Checksum(frame.data() + 1, checked - 2) != frame[checked - 1]) return;
    const bool startingUp = powerOnAtMs >= 0 && clock_.NowMs() >= powerOnAtMs &&
                            clock_.NowMs() < powerOnAtMs + kStartUpWindowMs;
    if (code == cmd::kPowerOnCapture && startingUp) commandMode = true;
    if (!commandMode) return;
    commands.push_back(code);
    const int address = frame.size() >= 5 ? frame[2] * 256 + frame[3] : -1;
    const bool memoryCommand = code == cmd::kReadMemory || code == cmd::kWriteMemory;
    if (memoryCommand && address == faultAddress) return Send(faultReply);
    if (replyFor.count(code)) return Send(replyFor[code]);
    uint8_t value = 0;
    if (code == cmd::kReadMemory) {
        value = memory[static_cast<size_t>(address)];
        if (address == damagedReadAddress) value ^= 0x10;  // damaged on the line
    } else if (code == cmd::kWriteMemory) {
        written.push_back(address);
        memory[static_cast<size_t>(address)] =
            address == wrongStoreAddress ? frame[4] ^ 0x10 : frame[4];
        if (address == lostReplyAddress) return;
    } else if (code == cmd::kUnlock) {
        value = frame.size() != 9 || !std::equal(frame.begin() + 2, frame.begin() + 8,
                                                 memory.begin() + addr::kUnlockKey);
    } else if (code == cmd::kReset) {
        commandMode = inLoader = false;
    } else if (code == cmd::kStartBootloader) {
        inLoader = true;
        dataRecords_ = 0;
        return Say(loader.banner, loader.bannerAfterPolls);
    }
    std::vector<uint8_t> reply{cmd::kFrameStart, static_cast<uint8_t>(code | cmd::kReplyBit),
                               value};
    reply.push_back(Checksum(reply.data() + 1, 2));
    Send(reply);
}

void FakeModem::OnLoaderText(const std::string& text) {
    if (text == "L\n") return Say(loader.loadReply);
    if (text == "P\r\n") return Say(loader.storeReply, loader.storeAfterPolls);
    if (text.compare(0, 2, "G ") == 0) {
        inLoader = false;
    } else if (text.size() == 3 && text[0] == 'S') {
        recordType_ = text[1];
        if (recordType_ == '1' && dataRecords_++ != loader.stallAtDataRecord) Say(".");
    } else if (text.size() > 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) {
        if (recordType_ == '0') Say(loader.afterHeaderBody);
        if (recordType_ == '1') Say(loader.afterDataBody);
        if (recordType_ == '9') Say(loader.afterEndBody);
    }
}

}  // namespace vxl::test
