#include "support/xml_check.h"

#include "support/captured_output.h"
#include "support/temp_dir.h"

namespace vxl::test {

::testing::AssertionResult WellFormedXml(const std::string& document) {
    TempDir dir;
    std::string complaint;
    if (RunCommand("xmllint --noout '" + dir.Write("document.xml", document) + "'", &complaint) ==
            0 &&
        complaint.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "not well-formed XML: " << complaint;
}

}  // namespace vxl::test
