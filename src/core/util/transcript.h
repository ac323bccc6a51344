// The transcript of a serial line, as the simulator and the program's diagnostic trace both
// write it and the simulator replays it:
//
//   # vxlconf transcript: time in ms since start, direction, line rate, bytes in hex, ...
//   # program: vxlconf Version 2.42B Build 69            <- fields: "# key: value"
//         12.345  host>  @9600   01 22 00 DD                                      |."..|
//         14.001  modem> @9600   22 00 01 DC                                      |"...|
//         15.000  --      result Attach: 0                                        <- an event
//
// "host>" is what the program sent, "modem>" what it received, "lost>" what the modem sent
// while nobody listened. Bytes close in time in one direction share a line, 16 at most.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vxl {

enum class TranscriptDirection { FromHost, ToHost, Dropped };

// The comment lines that open a transcript written by `writer` ("vxlsim", "vxlconf").
std::string TranscriptLegend(const std::string& writer);
// A field of the header: "# key: value".
std::string TranscriptField(const std::string& key, const std::string& value);

// Puts bytes and events into lines as the format groups them, and hands each finished line
// (with its line end) to `sink`. Not thread-safe: its owner serialises the calls.
class TranscriptWriter {
  public:
    using Sink = std::function<void(const std::string& line)>;
    explicit TranscriptWriter(Sink sink) : sink_(std::move(sink)) {}

    void Bytes(TranscriptDirection direction, const uint8_t* data, size_t length, int baud,
               int64_t nowUs);
    void Event(int64_t nowUs, const std::string& text);
    // Writes out the pending group once nothing has joined it for a while.
    void FlushIfIdle(int64_t nowUs);
    void Flush();

    // Bytes within this time of the previous one in the same direction share a line.
    static constexpr int64_t kGroupGapUs = 3000;
    static constexpr size_t kBytesPerLine = 16;

  private:
    Sink sink_;
    TranscriptDirection direction_ = TranscriptDirection::FromHost;
    int baud_ = 0;
    int64_t firstUs_ = 0;
    int64_t lastUs_ = 0;
    std::vector<uint8_t> pending_;
};

// One line of a transcript read back.
struct TranscriptEntry {
    int line = 0;  // in the file, from 1
    int64_t us = 0;
    bool isEvent = false;
    TranscriptDirection direction = TranscriptDirection::FromHost;
    int baud = 0;
    std::vector<uint8_t> bytes;
    std::string text;  // an event's text
};

struct Transcript {
    std::vector<std::pair<std::string, std::string>> fields;  // in file order
    std::vector<TranscriptEntry> entries;
    // The value of the first field `key`, or "".
    std::string Field(const std::string& key) const;
};

// Reads a transcript: true, or false with the first line that is not one in `problem`.
bool ParseTranscript(const std::string& text, Transcript& transcript, std::string& problem);

}  // namespace vxl
