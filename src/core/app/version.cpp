#include "app/version.h"

#include "util/format.h"
#include "util/preferences.h"

namespace vxl {

void SplitProductVersion(const std::string& productVersion, std::string* versionText,
                         std::string* buildText) {
    std::string pieces[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        size_t comma = i < 3 ? productVersion.find(',', start) : std::string::npos;
        if (comma == std::string::npos) {
            pieces[i] = Trim(productVersion.substr(std::min(start, productVersion.size())));
            start = productVersion.size();
        } else {
            pieces[i] = Trim(productVersion.substr(start, comma - start));
            start = comma + 1;
        }
    }
    *versionText =
        Format("Version %s.%s%s", pieces[0].c_str(), pieces[1].c_str(), pieces[2].c_str());
    *buildText = Format("Build %s", pieces[3].c_str());
}

VersionTexts ProgramVersion() {
    VersionTexts v;
    v.companyName = kCompanyName;
    v.productName = "VXL Configuration Program";
    v.productVersion = VXL_PRODUCT_VERSION;
    SplitProductVersion(v.productVersion, &v.versionText, &v.buildText);
    v.legalNotice = "Copyright (C) 2026. All rights reserved.";
    return v;
}

}  // namespace vxl
