#include "support/captured_output.h"

#include <sys/wait.h>
#include <unistd.h>

namespace vxl::test {

namespace {

std::string Drain(std::FILE* file) {
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
    return text;
}

}  // namespace

std::string CapturedStream::Text() const {
    std::fflush(file_);
    std::rewind(file_);
    return Drain(file_);
}

void CapturedStream::Clear() {
    std::fflush(file_);
    if (::ftruncate(::fileno(file_), 0) == 0) std::rewind(file_);
}

int RunCommand(const std::string& command, std::string* output) {
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return -1;
    *output += Drain(pipe);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vxl::test
