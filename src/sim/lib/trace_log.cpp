#include "sim/lib/trace_log.h"

#include <cerrno>
#include <cstring>

#include "util/format.h"

namespace vxl::sim {

TraceLog::~TraceLog() {
    Close();
}

bool TraceLog::Open(const std::string& path, std::string* error) {
    std::lock_guard<std::mutex> lock(mutex_);
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
        *error = Format("cannot write the transcript %s: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    Put(TranscriptLegend("vxlsim"));
    return true;
}

void TraceLog::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_ == nullptr) return;
    writer_.Flush();
    std::fclose(file_);
    file_ = nullptr;
}

void TraceLog::Put(const std::string& line) {
    std::fputs(line.c_str(), file_);
    std::fflush(file_);
}

void TraceLog::Bytes(TraceDirection direction, const uint8_t* data, size_t length, int baud,
                     int64_t nowUs) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_ != nullptr) writer_.Bytes(direction, data, length, baud, nowUs);
}

void TraceLog::Event(int64_t nowUs, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_ != nullptr) writer_.Event(nowUs, text);
}

void TraceLog::FlushIfIdle(int64_t nowUs) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_ != nullptr) writer_.FlushIfIdle(nowUs);
}

}  // namespace vxl::sim
