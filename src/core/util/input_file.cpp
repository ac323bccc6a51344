#include "util/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

InputFileResult Refuse(int code, std::string reason) {
    return InputFileResult{code, std::move(reason)};
}

}  // namespace

InputFileResult ReadInputFile(const std::string& path, std::size_t maxBytes, std::string& content) {
    content.clear();
    // O_NONBLOCK: opening a FIFO with no writer must not wait; it is refused below anyway.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return FileResultFromErrno(errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int err = errno;
        ::close(fd);
        return FileResultFromErrno(err);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        int code = S_ISDIR(info.st_mode) ? FileErrorFromErrno(EISDIR) : rc::kFileBadPath;
        return Refuse(code, NotARegularFile(info.st_mode));
    }
    auto size = static_cast<unsigned long long>(info.st_size);
    if (size > maxBytes) {
        ::close(fd);
        return Refuse(rc::kTooManyBytes, Format("is larger than %llu bytes",
                                                static_cast<unsigned long long>(maxBytes)));
    }
    InputFileResult result;
    char chunk[65536];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            result = FileResultFromErrno(errno);
            break;
        }
        if (got == 0) break;
        content.append(chunk, static_cast<std::size_t>(got));
        if (content.size() > maxBytes) {  // grew while being read
            result = Refuse(rc::kTooManyBytes, Format("is larger than %llu bytes",
                                                      static_cast<unsigned long long>(maxBytes)));
            break;
        }
    }
    ::close(fd);
    if (result.code == 0 && content.empty()) result = Refuse(rc::kFileEndOfFile, "is empty");
    if (result.code != 0) content.clear();
    return result;
}

int ReadInputFile(const std::string& path, std::size_t maxBytes, std::string& content,
                  std::string& reason) {
    const InputFileResult read = ReadInputFile(path, maxBytes, content);
    if (read.code != 0) reason = read.reason;
    return read.code;
}

}  // namespace vxl
