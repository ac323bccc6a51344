#include "support/xml_check.h"

#include <cstdio>

#include "support/temp_dir.h"

namespace vxl::test {

::testing::AssertionResult WellFormedXml(const std::string& document) {
    TempDir dir;
    const std::string path = dir.Write("document.xml", document);
    std::FILE* lint = ::popen(("xmllint --noout '" + path + "' 2>&1").c_str(), "r");
    if (lint == nullptr) return ::testing::AssertionFailure() << "xmllint cannot be run";
    std::string complaint;
    for (int c; (c = std::fgetc(lint)) != EOF;) complaint += static_cast<char>(c);
    const int status = ::pclose(lint);
    if (status == 0 && complaint.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "not well-formed XML: " << complaint;
}

}  // namespace vxl::test
