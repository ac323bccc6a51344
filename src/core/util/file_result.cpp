#include "util/file_result.h"

#include <sys/stat.h>

#include <cstring>

#include "util/result_codes.h"

namespace vxl {

FileResult FileResultFromErrno(int err) {
    return FileResult{FileErrorFromErrno(err), std::strerror(err)};
}

const char* NotARegularFile(mode_t mode) {
    if (S_ISDIR(mode)) return "is a directory";
    if (S_ISFIFO(mode)) return "is a pipe (FIFO), not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a file";
    if (S_ISSOCK(mode)) return "is a socket, not a file";
    return "is not a regular file";
}

std::string FileErrorText(int code, const std::string& path, const std::string& reason) {
    // A code's text may end without a full stop ("Channel table import failed"): the path is a
    // sentence of its own either way.
    std::string text = ErrorText(code);
    text += (text.empty() || text.back() == '.' ? " " : ". ") + path;
    if (!reason.empty()) text += ": " + reason;
    return text;
}

}  // namespace vxl
