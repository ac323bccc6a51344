// A serial line whose far end is a modem with a scripted boot loader: the command protocol
// answers memory reads and writes, unlock, reset and sync from a 64 KiB memory; the loader
// answers with the texts of a script. Replies become readable when the fake clock reaches
// their time. The state outlives the link, so tests can look at it after the link is gone.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/serial_link.h"
#include "support/fake_clock.h"

namespace vxl::test {

// What the boot loader says, and when (simulated ms after the host's bytes).
struct LoaderScript {
    std::string banner = "\r\nKTR F/W Loader 1.2\r\nRAM test PASS\r\n?";
    int bannerDelayMs = 300;
    std::string loadReply = "\r\n...\r\n";
    std::string recordPrompt = ".";
    int stallAtDataRecord = -1;  // this data record's prefix gets no '.'
    std::string afterHeaderBody;
    std::string afterDataBody;
    std::string afterEndBody = "\r\nDONE\r\n?";
    std::string storeReply = "\r\nDONE\r\nPASS\r\n?";
    int storeDelayMs = 2000;
    bool answerUnlock = true;
    bool answerReads = true;
};

struct FakeModemState {
    LoaderScript script;
    std::array<uint8_t, 65536> memory{};
    std::vector<std::string> writes;
    std::function<void(const std::string&)> onWrite;
    int dataRecords = 0;
    char lastType = 0;
};

class FakeLoaderLink : public ISerialLink {
  public:
    FakeLoaderLink(FakeClock& clock, std::shared_ptr<FakeModemState> state)
        : clock_(clock), state_(std::move(state)) {}

    bool IsOpen() const override { return true; }
    bool StartMonitor() override { return true; }
    bool SuspendMonitor() override { return true; }
    bool ResumeMonitor() override { return true; }
    void Write(const uint8_t* bytes, int length) override {
        std::string chunk(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
        state_->writes.push_back(chunk);
        if (state_->onWrite) state_->onWrite(chunk);
        React(chunk);
    }
    void Purge() override {
        while (!pending_.empty() && pending_.front().due <= clock_.NowMs()) pending_.pop_front();
    }
    int ReceivedCount() override {
        int count = 0;
        for (const Pending& p : pending_) {
            if (p.due <= clock_.NowMs()) ++count;
        }
        return count;
    }
    void TakeReceived(uint8_t* dest, int* length) override {
        *length = 0;
        while (!pending_.empty() && pending_.front().due <= clock_.NowMs()) {
            dest[(*length)++] = pending_.front().byte;
            pending_.pop_front();
        }
    }
    int GetBaud() override { return 9600; }
    bool SetBaud(int) override { return true; }
    int GetPortNumber() const override { return 1; }

  private:
    struct Pending {
        int64_t due;
        uint8_t byte;
    };

    void Answer(const std::string& text, int delayMs = 0) {
        for (char c : text) pending_.push_back({clock_.NowMs() + delayMs, static_cast<uint8_t>(c)});
    }

    void React(const std::string& chunk) {
        const LoaderScript& script = state_->script;
        if (chunk.size() >= 3 && chunk[0] == '\x01') return ReactToFrame(chunk);
        if (chunk == "L\n") return Answer(script.loadReply);
        if (chunk == "P\r\n") return Answer(script.storeReply, script.storeDelayMs);
        if (chunk.size() == 3 && chunk[0] == 'S') {
            state_->lastType = chunk[1];
            if (chunk[1] == '1' && state_->dataRecords++ != script.stallAtDataRecord) {
                Answer(script.recordPrompt);
            }
            return;
        }
        if (chunk.size() > 2 && chunk.compare(chunk.size() - 2, 2, "\r\n") == 0) {
            if (state_->lastType == '0') Answer(script.afterHeaderBody);
            if (state_->lastType == '1') Answer(script.afterDataBody);
            if (state_->lastType == '9') Answer(script.afterEndBody);
        }
    }

    void ReactToFrame(const std::string& frame) {
        const uint8_t code = static_cast<uint8_t>(frame[1]);
        const auto byteAt = [&frame](size_t i) { return static_cast<uint8_t>(frame[i]); };
        std::string ack = {'\x01', static_cast<char>(code | 0x80), '\0', '\0'};
        switch (code) {
            case 0x1C:
                return Answer(state_->script.banner, state_->script.bannerDelayMs);
            case 0x1F:
                if (state_->script.answerUnlock) Answer(ack);
                return;
            case 0x20:
                state_->memory[byteAt(2) * 256 + byteAt(3)] = byteAt(4);
                return Answer(ack);
            case 0x21:
                if (!state_->script.answerReads) return;
                ack[2] = static_cast<char>(state_->memory[byteAt(2) * 256 + byteAt(3)]);
                return Answer(ack);
            default:
                return Answer(ack);
        }
    }

    FakeClock& clock_;
    std::shared_ptr<FakeModemState> state_;
    std::deque<Pending> pending_;
};

}  // namespace vxl::test
