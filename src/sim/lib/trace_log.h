// The transcript a user attaches to a bug report: every byte in and out with its time (ms since
// the simulator started), its direction and the line rate, plus the modem's changes of state,
// in the transcript format (util/transcript.h) the program's diagnostic trace shares.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "util/transcript.h"

namespace vxl::sim {

using TraceDirection = TranscriptDirection;

class TraceLog {
  public:
    TraceLog() = default;
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return file_ != nullptr; }
    void Close();

    void Bytes(TraceDirection direction, const uint8_t* data, size_t length, int baud,
               int64_t nowUs);
    void Event(int64_t nowUs, const std::string& text);
    // Writes out a pending group of bytes once nothing has joined it for a while.
    void FlushIfIdle(int64_t nowUs);

  private:
    void Put(const std::string& line);

    std::mutex mutex_;
    FILE* file_ = nullptr;
    TranscriptWriter writer_{[this](const std::string& line) { Put(line); }};
};

}  // namespace vxl::sim
