// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

namespace vxl::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Writes `content` to File(name) and returns its path.
    std::string Write(const std::string& name, const std::string& content) const;
    // Reads a whole file; empty when it cannot be read.
    static std::string Read(const std::string& path);

  private:
    std::string path_;
};

}  // namespace vxl::test
