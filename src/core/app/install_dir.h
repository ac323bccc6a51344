// Where the installation's files ("vxlconf.ini", the logo) are.
#pragma once

#include <string>

namespace vxl {

constexpr const char* kInstallIniName = "vxlconf.ini";

// The stored InstallDir when not empty; else the folder that holds the installed "vxlconf.ini"
// next to the program (<prefix>/share/vxlconf for an installed program, the build tree's data/
// for a built one); else the working directory; else "./".
std::string ResolveInstallDir(const std::string& storedInstallDir,
                              const std::string& executablePath);

// The running program's own path ("/proc/self/exe"), empty when unknown.
std::string ExecutablePath();

}  // namespace vxl
