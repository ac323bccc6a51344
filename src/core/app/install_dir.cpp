#include "app/install_dir.h"

#include <limits.h>
#include <unistd.h>

#include <vector>

namespace vxl {

namespace {

bool IsReadableFile(const std::string& path) {
    return ::access(path.c_str(), R_OK) == 0;
}

std::string Folder(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string ExecutablePath() {
    std::vector<char> buffer(PATH_MAX + 1, '\0');
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), PATH_MAX);
    return n > 0 ? std::string(buffer.data(), static_cast<size_t>(n)) : std::string();
}

std::string ResolveInstallDir(const std::string& storedInstallDir,
                              const std::string& executablePath) {
    if (!storedInstallDir.empty()) return storedInstallDir;
    std::string exeDir = Folder(executablePath);
    if (!exeDir.empty()) {
        // <prefix>/bin/vxlconf -> <prefix>/share/vxlconf; <build>/src/vxlconf -> <build>/data
        const std::string candidates[] = {exeDir + "/../" VXL_DATA_INSTALL_DIR,
                                          exeDir + "/../data"};
        for (const std::string& dir : candidates) {
            if (IsReadableFile(dir + "/" + kInstallIniName)) {
                char resolved[PATH_MAX];
                return ::realpath(dir.c_str(), resolved) ? std::string(resolved) : dir;
            }
        }
    }
    std::vector<char> cwd(PATH_MAX + 1, '\0');
    if (::getcwd(cwd.data(), cwd.size())) return std::string(cwd.data());
    return "./";
}

}  // namespace vxl
