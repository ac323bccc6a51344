#include "support/golden.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

#include "support/recording_operator.h"

namespace vxl::test {

namespace {

std::string GoldenPath(const std::string& name) {
    return std::string(VXL_TEST_DATA_DIR) + "/" + name;
}

// Indexed by the enums of ui/operator.h, in their order.
const char* const kIconNames[] = {"None", "Stop", "Exclamation", "Question"};
const char* const kButtonNames[] = {"OK", "Yes/No", "Retry/Cancel", "Continue/Cancel"};
const char* const kAnswerNames[] = {"OK", "Yes", "No", "Retry", "Cancel", "Continue"};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

std::string Golden(const std::string& name) {
    std::ifstream in(GoldenPath(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& actual) {
    const char* update = std::getenv("VXL_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(GoldenPath(name), std::ios::binary) << actual;
        std::printf("golden file %s written\n", GoldenPath(name).c_str());
        return ::testing::AssertionSuccess();
    }
    const std::string expected = Golden(name);
    if (expected == actual) return ::testing::AssertionSuccess();
    const std::vector<std::string> want = Lines(expected), got = Lines(actual);
    size_t i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
    return ::testing::AssertionFailure()
           << "differs from tests/data/" << name << " at line " << i + 1
           << ":\n  expected: " << (i < want.size() ? want[i] : "(end)")
           << "\n  actual:   " << (i < got.size() ? got[i] : "(end)")
           << "\n(VXL_UPDATE_GOLDEN=1 rewrites the file when the change is intended)";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; !from.empty() && (at = text.find(from, at)) != std::string::npos;
         at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

std::string Transcript(const RecordingOperator& ui) {
    std::string text;
    for (const RecordedMessage& m : ui.messages)
        text += std::string("== ") + kIconNames[static_cast<int>(m.icon)] + ": " + m.caption +
                "\n" + m.text + "\n";
    return text;
}

std::vector<std::string> Captions(const RecordingOperator& ui) {
    std::vector<std::string> captions;
    for (const RecordedMessage& m : ui.messages) captions.push_back(m.caption);
    return captions;
}

std::string Answers(const RecordingOperator& ui) {
    std::string text;
    for (const RecordedMessage& m : ui.messages)
        text += std::string(text.empty() ? "" : ", ") + kButtonNames[static_cast<int>(m.buttons)] +
                ": " + kAnswerNames[static_cast<int>(m.answer)];
    return text;
}

std::string WithoutFolder(std::string text, const std::string& folder) {
    return Replaced(std::move(text), folder, "<tmp>");
}

}  // namespace vxl::test
