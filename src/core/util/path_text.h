// Paths taken apart as text, exactly as the user gave them (no normalising, no file system).
#pragma once

#include <string>

namespace vxl {

// The folder part of `path`: "/" for a file in the root, empty for a bare file name.
std::string FolderOf(const std::string& path);

// Remembers the folder of a chosen file in `folder` (kept when the path names none), to start
// the next file dialog there.
void RememberFolderOf(const std::string& path, std::string& folder);

}  // namespace vxl
