// A modem at the far end of a FakeSerialLink, for protocol, capture, loader and coordinator
// tests. It hears only bytes sent at its own serial rate, enters command mode on "+++" or on the
// capture command while it starts up, answers the command frames from a 64 KiB memory, and in
// its boot loader answers the host's text from a script. Faults are switched on field by field.
// The modem outlives the links it is connected to, so a test can look at it after a program
// has closed its port.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "support/fake_clock.h"
#include "support/fake_serial_link.h"

namespace vxl::test {

// What the boot loader says. Each text becomes readable on the first receive-count poll after
// the host's bytes; the banner and the store reply after the given number of polls (the host
// polls once per ms).
struct LoaderScript {
    std::string banner = "\r\nKTR F/W Loader 1.2\r\nRAM test PASS\r\n?";
    int bannerAfterPolls = 1;
    std::string loadReply = "\r\n...\r\n";
    int stallAtDataRecord = -1;  // this data record's prefix gets no '.'
    std::string afterHeaderBody;
    std::string afterDataBody;
    std::string afterEndBody = "\r\nDONE\r\n?";
    std::string storeReply = "\r\nDONE\r\nPASS\r\n?";
    int storeAfterPolls = 1;
};

class FakeModem {
  public:
    explicit FakeModem(FakeClock& clock) : clock_(clock) {}
    FakeModem(FakeSerialLink& link, FakeClock& clock) : clock_(clock) { Connect(link); }

    // Answers what is written to `link` from now on.
    void Connect(FakeSerialLink& link);
    // The model byte and the identity block identification reads: at 0x8400 for a model byte
    // with bit 7 set or 0, else at 0xE000.
    void SetIdentity(uint8_t model, uint8_t revision0, uint8_t revision1, uint8_t size = 246,
                     uint16_t identityWord = 0);
    void Poke(int address, std::initializer_list<int> bytes);
    // Makes the last of `size` configuration bytes their checksum, as in a healthy modem.
    void SetConfigChecksum(int size = 246) {
        uint8_t sum = 0;
        for (int i = 0; i < size - 1; ++i) sum = static_cast<uint8_t>(sum + memory[0x100 + i]);
        memory[static_cast<size_t>(0x100 + size - 1)] = static_cast<uint8_t>(~sum);
    }
    // How many commands of this code the modem took in command mode.
    int Count(uint8_t code) const;

    std::array<uint8_t, 0x10000> memory{};
    // Bytes sent at another rate are lost.
    int serialBaud = 9600;
    bool commandMode = false;
    bool inLoader = false;
    bool answersEscape = true;
    // Starts up (and takes the capture command) from this time on for 2 s; negative: never.
    int64_t powerOnAtMs = -1;
    int replyAfterPolls = 1;
    // Reads and writes of `faultAddress` get `faultReply` ({}: no answer); a command whose code
    // is in `replyFor` gets that reply instead of its own.
    int faultAddress = -1;
    std::vector<uint8_t> faultReply;
    std::map<uint8_t, std::vector<uint8_t>> replyFor;
    // Every read of this address answers with one bit flipped, as a byte damaged on the line.
    int damagedReadAddress = -1;
    // A write to `wrongStoreAddress` keeps the byte with bit 4 flipped behind a good reply; a
    // write to `lostReplyAddress` is carried out but its reply is lost.
    int wrongStoreAddress = -1;
    int lostReplyAddress = -1;
    LoaderScript loader;

    std::vector<uint8_t> commands;   // the codes taken in command mode, in order
    std::vector<int> written;        // the addresses of the memory writes taken, in order
    std::vector<std::string> heard;  // every write heard at the modem's rate

  private:
    void OnBytes(const std::vector<uint8_t>& bytes);
    void OnFrame(const std::vector<uint8_t>& frame);
    void OnLoaderText(const std::string& text);
    // Bytes to the host after `afterPolls` polls (negative: after `replyAfterPolls`).
    void Send(const std::vector<uint8_t>& bytes, int afterPolls = -1);
    void Say(const std::string& text, int afterPolls = 1);

    FakeClock& clock_;
    FakeSerialLink* link_ = nullptr;
    int dataRecords_ = 0;
    char recordType_ = 0;
};

}  // namespace vxl::test
