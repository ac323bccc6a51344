#include "sim/lib/trace_log.h"

#include <cerrno>
#include <cstring>

#include "util/format.h"

namespace vxl::sim {

namespace {

const char* DirectionLabel(TraceDirection direction) {
    switch (direction) {
        case TraceDirection::kFromHost:
            return "host> ";
        case TraceDirection::kToHost:
            return "modem>";
        case TraceDirection::kDropped:
            return "lost> ";
    }
    return "?";
}

std::string Milliseconds(int64_t us) {
    return Format("%10lld.%03lld", static_cast<long long>(us / 1000),
                  static_cast<long long>(us % 1000));
}

}  // namespace

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
    std::fprintf(file_,
                 "# vxlsim transcript: time in ms since start, direction, line rate, bytes in "
                 "hex, bytes as text\n"
                 "# host> = from the program to the modem, modem> = from the modem to the "
                 "program, lost> = sent while the program had the line closed, -- = event\n");
    std::fflush(file_);
    return true;
}

void TraceLog::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_ == nullptr) return;
    WritePending();
    std::fclose(file_);
    file_ = nullptr;
}

void TraceLog::WritePending() {
    if (pending_.empty() || file_ == nullptr) return;
    std::string hex;
    std::string text;
    for (uint8_t b : pending_) {
        hex += Format("%02X ", b);
        text += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '.';
    }
    std::fprintf(file_, "%s  %s @%-5d  %-48s |%s|\n", Milliseconds(firstUs_).c_str(),
                 DirectionLabel(direction_), baud_, hex.c_str(), text.c_str());
    std::fflush(file_);
    pending_.clear();
}

void TraceLog::Bytes(TraceDirection direction, const uint8_t* data, size_t length, int baud,
                     int64_t nowUs) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_ == nullptr) return;
    for (size_t i = 0; i < length; ++i) {
        const bool joins = !pending_.empty() && direction == direction_ && baud == baud_ &&
                           nowUs - lastUs_ <= kGroupGapUs && pending_.size() < kBytesPerLine;
        if (!joins) {
            WritePending();
            direction_ = direction;
            baud_ = baud;
            firstUs_ = nowUs;
        }
        pending_.push_back(data[i]);
        lastUs_ = nowUs;
    }
}

void TraceLog::Event(int64_t nowUs, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_ == nullptr) return;
    WritePending();
    std::fprintf(file_, "%s  --      %s\n", Milliseconds(nowUs).c_str(), text.c_str());
    std::fflush(file_);
}

void TraceLog::FlushIfIdle(int64_t nowUs) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!pending_.empty() && nowUs - lastUs_ > kGroupGapUs) WritePending();
}

}  // namespace vxl::sim
