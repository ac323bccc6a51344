// Expected outputs kept as files under tests/data/ (reports, XML documents, message transcripts):
// data, not test code. `VXL_UPDATE_GOLDEN=1 ctest ...` (or scripts/update-golden) rewrites the
// files from what the program now produces; nothing else ever changes them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vxl::test {

class RecordingOperator;

// The contents of tests/data/`name` (empty when the file is missing).
std::string Golden(const std::string& name);

// Success when `actual` equals tests/data/`name`; the failure shows the first line that differs.
// Under VXL_UPDATE_GOLDEN=1 the file is written from `actual` and the test says so.
::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& actual);

// `text` with every `from` (a temporary folder, say) replaced by `to`, so that it can be compared
// with a golden file.
std::string Replaced(std::string text, const std::string& from, const std::string& to);

// What the operator was shown, one block per message box: "== <icon>: <caption>" and its text.
std::string Transcript(const RecordingOperator& ui);
// The captions of the message boxes, in order.
std::vector<std::string> Captions(const RecordingOperator& ui);
// The buttons each message box offered and the answer it got, in order: "Yes/No: No, OK: OK".
std::string Answers(const RecordingOperator& ui);
// `text` with each occurrence of `folder` (a test's temporary folder) written as "<tmp>".
std::string WithoutFolder(std::string text, const std::string& folder);

}  // namespace vxl::test
