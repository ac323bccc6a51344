#include "util/path_text.h"

namespace vxl {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return std::string();
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

void RememberFolderOf(const std::string& path, std::string& folder) {
    const std::string chosen = FolderOf(path);
    if (!chosen.empty()) folder = chosen;
}

}  // namespace vxl
