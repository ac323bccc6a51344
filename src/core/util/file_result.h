// What became of reading or writing a file the operator named: a result code and, on failure,
// why, so that every message can name the file and the reason.
#pragma once

#include <sys/types.h>

#include <string>

namespace vxl {

struct FileResult {
    int code = 0;        // 0, a file error 901..914, or another result code
    std::string reason;  // why it failed ("is a directory", "No space left on device", ...)

    bool ok() const { return code == 0; }
};

// The failure of a system call on a file: its file error code and the system's text.
FileResult FileResultFromErrno(int err);

// Why something that is not a regular file cannot be used as one ("is a directory", ...).
const char* NotARegularFile(mode_t mode);

// The message of a failed file operation, naming the file: "The disk is full. /x/t.upg: No space
// left on device".
std::string FileErrorText(int code, const std::string& path, const std::string& reason);
inline std::string FileErrorText(const FileResult& result, const std::string& path) {
    return FileErrorText(result.code, path, result.reason);
}

}  // namespace vxl
