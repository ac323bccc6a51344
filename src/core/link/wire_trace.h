// The diagnostic trace for support: from Start until Stop (or the program's end), every byte to
// and from the modem with its time and direction, the line settings, and the results of what
// the program did, in the transcript format the simulator writes and replays
// (util/transcript.h). The header names the program's version, the port and the capture method;
// nothing else about the computer or its user is recorded.
//
// The transcript is kept in memory and written through the atomic writer after every result
// and every few seconds while bytes flow, so the file on disk is always a whole transcript and
// a run that is interrupted or fails still leaves one.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "util/file_result.h"
#include "util/transcript.h"

namespace vxl {

class WireTrace {
  public:
    using Fields = std::vector<std::pair<std::string, std::string>>;

    // Starts a new transcript for `path` with the header `fields` (a trace being recorded is
    // written and stopped first). The file is written at once, so a path that cannot be
    // written is refused here with its reason.
    FileResult Start(const std::string& path, const Fields& fields);
    // Writes the transcript and stops recording; the result of that last write.
    FileResult Stop();

    bool IsRecording() const;
    std::string Path() const;
    // Counts the transcripts started, so that a link can tell the line settings to each.
    int Generation() const;

    void Bytes(TranscriptDirection direction, const uint8_t* data, size_t length, int baud);
    // An event line; `checkpoint` writes the transcript so far (results do).
    void Event(const std::string& text, bool checkpoint = false);

    // How often the transcript is written while bytes flow.
    static constexpr int64_t kSaveEveryMs = 2000;

  private:
    int64_t NowUs() const;
    FileResult SaveLocked();

    mutable std::mutex mutex_;
    bool recording_ = false;
    std::string path_;
    std::string text_;
    int generation_ = 0;
    int64_t originMs_ = 0;
    int64_t savedMs_ = 0;
    FileResult lastWrite_;
    TranscriptWriter writer_{[this](const std::string& line) { text_ += line; }};
};

// The trace of this process.
WireTrace& GetWireTrace();

// Records "result WHAT: CODE TEXT" with a checkpoint when a trace is being recorded, and
// returns `code`, so that an operation can end in `return TraceResult("Read", result);`.
int TraceResult(const char* what, int code);

}  // namespace vxl
