// Every XML document the tests see is checked by an XML parser (xmllint).
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace vxl::test {

// Success when xmllint takes `document` as well-formed XML; its complaint otherwise.
::testing::AssertionResult WellFormedXml(const std::string& document);

}  // namespace vxl::test
