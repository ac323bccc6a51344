// What a program writes: a stream kept in a temporary file (its standard error or output, say),
// and a shell command's output read through a pipe.
#pragma once

#include <cstdio>
#include <string>

namespace vxl::test {

class CapturedStream {
  public:
    CapturedStream() : file_(std::tmpfile()) {}
    ~CapturedStream() {
        if (file_ != nullptr) std::fclose(file_);
    }
    CapturedStream(const CapturedStream&) = delete;
    CapturedStream& operator=(const CapturedStream&) = delete;

    std::FILE* file() const { return file_; }
    // Everything written so far.
    std::string Text() const;
    // Forgets what was written; the stream stays the same.
    void Clear();

  private:
    std::FILE* file_;
};

// Runs a shell command: its exit status (-1 when it did not exit), and what it wrote to standard
// output and error, together.
int RunCommand(const std::string& command, std::string* output);

}  // namespace vxl::test
