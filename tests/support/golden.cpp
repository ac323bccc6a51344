#include "support/golden.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/recording_operator.h"

namespace vxl::test {

namespace {

std::string GoldenPath(const std::string& name) {
    return std::string(VXL_TEST_DATA_DIR) + "/" + name;
}

const char* IconName(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Stop:
            return "Stop";
        case MsgIcon::Exclamation:
            return "Exclamation";
        case MsgIcon::Question:
            return "Question";
        default:
            return "None";
    }
}

const char* ButtonNames(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::YesNo:
            return "Yes/No";
        case MsgButtons::RetryCancel:
            return "Retry/Cancel";
        case MsgButtons::ContinueCancel:
            return "Continue/Cancel";
        default:
            return "OK";
    }
}

const char* AnswerName(MsgAnswer answer) {
    static const char* const names[] = {"OK", "Yes", "No", "Retry", "Cancel", "Continue"};
    return names[static_cast<int>(answer)];
}

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
        text += std::string("== ") + IconName(m.icon) + ": " + m.caption + "\n" + m.text + "\n";
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
        text += std::string(text.empty() ? "" : ", ") + ButtonNames(m.buttons) + ": " +
                AnswerName(m.answer);
    return text;
}

std::string WithoutFolder(std::string text, const std::string& folder) {
    for (size_t at = text.find(folder); !folder.empty() && at != std::string::npos;
         at = text.find(folder, at))
        text.replace(at, folder.size(), "<tmp>");
    return text;
}

}  // namespace vxl::test
