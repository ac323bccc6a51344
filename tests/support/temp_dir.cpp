#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace vxl::test {

TempDir::TempDir() {
    std::string base = std::filesystem::temp_directory_path().string() + "/vxltest.XXXXXX";
    std::vector<char> buffer(base.begin(), base.end());
    buffer.push_back('\0');
    char* made = ::mkdtemp(buffer.data());
    path_ = made ? made : base;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
    std::string p = File(name);
    std::ofstream out(p, std::ios::binary);
    out << content;
    return p;
}

std::string TempDir::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

}  // namespace vxl::test
