// Every result code the program defines has a text of its own, in the window and headless; only
// the system's error numbers take the system's text.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "util/result_codes.h"

namespace vxl {
namespace {

// The codes declared in result_codes.h, so that a code added there without a text fails here.
std::vector<std::pair<std::string, int>> DeclaredCodes() {
    std::ifstream in(std::string(VXL_SOURCE_DATA_DIR) + "/../src/core/util/result_codes.h");
    std::stringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    const std::regex declaration("constexpr int (k[A-Za-z]+) = ([0-9]+);");
    std::vector<std::pair<std::string, int>> codes;
    for (std::sregex_iterator it(source.begin(), source.end(), declaration), end; it != end; ++it)
        if ((*it)[1] != "kOk" && (*it)[1] != "kFileErrorBase")
            codes.emplace_back((*it)[1], std::stoi((*it)[2]));
    return codes;
}

TEST(ResultCodes, EveryCodeTheProgramDefinesHasAText) {
    const auto codes = DeclaredCodes();
    ASSERT_GT(codes.size(), 60u);
    for (const auto& [name, code] : codes) {
        SCOPED_TRACE(name);
        const std::string text = ErrorText(code);
        EXPECT_EQ(text.find("Error code"), std::string::npos) << text;
        EXPECT_NE(text, std::strerror(code)) << "the system's text for the program's own code";
    }
    // The system's own error numbers keep the system's text.
    EXPECT_EQ(ErrorText(ENOENT), std::strerror(ENOENT));
    EXPECT_EQ(ErrorText(4242), "Error code 4242");
}

}  // namespace
}  // namespace vxl
