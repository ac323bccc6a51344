// The program's version texts, made from the product version the build records.
#pragma once

#include <string>

namespace vxl {

struct VersionTexts {
    std::string companyName;
    std::string productName;
    std::string productVersion;  // "major, minor, letter, build"
    std::string versionText;     // "Version %s.%s%s"
    std::string buildText;       // "Build %s"
    std::string legalNotice;     // copyright line shown in the About box and printed reports
};

// Splits a product version such as "2, 42, B, 69" at its first three commas, trims each piece
// and builds "Version 2.42B" and "Build 69". Missing pieces are empty.
void SplitProductVersion(const std::string& productVersion, std::string* versionText,
                         std::string* buildText);

// The texts of this build.
VersionTexts ProgramVersion();

}  // namespace vxl
