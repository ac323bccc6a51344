#include "link/wire_trace.h"

#include "util/clock.h"
#include "util/format.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace vxl {

FileResult WireTrace::Start(const std::string& path, const Fields& fields) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (recording_) SaveLocked();
    writer_.Flush();
    text_ = TranscriptLegend("vxlconf");
    for (const auto& [key, value] : fields) text_ += TranscriptField(key, value);
    path_ = path;
    originMs_ = GetClock().SteadyMs();
    ++generation_;
    recording_ = true;
    const FileResult written = SaveLocked();
    if (!written.ok()) recording_ = false;
    return written;
}

FileResult WireTrace::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!recording_) return lastWrite_;
    writer_.Event(NowUs(), "trace stopped");
    recording_ = false;
    return SaveLocked();
}

bool WireTrace::IsRecording() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return recording_;
}

std::string WireTrace::Path() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return path_;
}

int WireTrace::Generation() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return generation_;
}

int64_t WireTrace::NowUs() const {
    return (GetClock().SteadyMs() - originMs_) * 1000;
}

void WireTrace::Bytes(TranscriptDirection direction, const uint8_t* data, size_t length, int baud) {
    if (length == 0) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!recording_) return;
    writer_.Bytes(direction, data, length, baud, NowUs());
    if (GetClock().SteadyMs() - savedMs_ >= kSaveEveryMs) SaveLocked();
}

void WireTrace::Event(const std::string& text, bool checkpoint) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!recording_) return;
    writer_.Event(NowUs(), text);
    if (checkpoint) SaveLocked();
}

FileResult WireTrace::SaveLocked() {
    writer_.Flush();
    savedMs_ = GetClock().SteadyMs();
    lastWrite_ = WriteFileAtomically(path_, text_);
    return lastWrite_;
}

WireTrace& GetWireTrace() {
    static WireTrace trace;
    return trace;
}

int TraceResult(const char* what, int code) {
    WireTrace& trace = GetWireTrace();
    if (trace.IsRecording())
        trace.Event(code == rc::kOk
                        ? Format("result %s: 0", what)
                        : Format("result %s: %d %s", what, code, ErrorText(code).c_str()),
                    true);
    return code;
}

}  // namespace vxl
