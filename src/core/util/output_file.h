// Every file the program writes (XML exports, reports, channel tables, profiles, backups,
// preferences) goes through one writer: a temporary file in the target's folder is written,
// flushed and synced, then renamed over the target. Whatever goes wrong — a full disk, a
// read-only folder, no permission, a missing folder, a signal — the earlier file stays as it was
// and no temporary file is left; the result names the reason.
#pragma once

#include <cstddef>
#include <string>

#include "util/file_result.h"

namespace vxl {

// Whether missing folders on the way to the file are made (the program's own files) or are an
// error (a file the operator named).
enum class Folders { MustExist, Create };

// Checks that `path` can be written, without writing it: the folder exists and takes new files,
// and `path` is neither a folder, a device nor a read-only file. The writer makes the same
// checks with the same reasons, so a run can refuse a target before it does any work.
FileResult CheckOutputFile(const std::string& path, Folders folders = Folders::MustExist);

// Writes `content` as the new contents of `path` (see above).
FileResult WriteFileAtomically(const std::string& path, const std::string& content,
                               Folders folders = Folders::MustExist);

// The same in steps, for content that comes in pieces. SIGINT, SIGTERM and SIGHUP are held
// while the file is open: one that arrives makes Commit discard the new contents, and is
// delivered once the file is closed, so the program still stops as the signal asks.
class OutputFile {
  public:
    explicit OutputFile(const std::string& path, Folders folders = Folders::MustExist);
    // Discards what was written unless Commit succeeded.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The first failure so far (opening included).
    const FileResult& Status() const { return status_; }
    // False once anything failed; the failure is kept for Commit.
    bool Write(const void* data, std::size_t size);
    // Syncs the new contents and puts them in place; the first failure of any step.
    FileResult Commit();

  private:
    void Discard();

    std::string target_;  // the file that is replaced (a symbolic link's target)
    std::string folder_;
    std::string temp_;
    int fd_ = -1;
    FileResult status_;
    bool holdsSignals_ = false;
};

}  // namespace vxl
