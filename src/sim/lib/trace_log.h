// The transcript a user attaches to a bug report: every byte in and out with its time (ms since
// the simulator started), its direction and the line rate, plus the modem's changes of state.
// Bytes that follow each other closely in one direction share a line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace vxl::sim {

enum class TraceDirection { kFromHost, kToHost, kDropped };

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

    // Bytes within this time of the previous one in the same direction share a line.
    static constexpr int64_t kGroupGapUs = 3000;
    static constexpr size_t kBytesPerLine = 16;

  private:
    void WritePending();

    std::mutex mutex_;
    FILE* file_ = nullptr;
    TraceDirection direction_ = TraceDirection::kFromHost;
    int baud_ = 0;
    int64_t firstUs_ = 0;
    int64_t lastUs_ = 0;
    std::vector<uint8_t> pending_;
};

}  // namespace vxl::sim
