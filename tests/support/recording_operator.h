// A fake operator for tests: records every message and progress window, answers from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/operator.h"

namespace vxl::test {

struct RecordedMessage {
    std::string text;
    std::string caption;
    MsgIcon icon;
    MsgButtons buttons;
    MsgAnswer answer;
};

// One open- or save-file dialog: what it was given and what it answered.
struct RecordedFileDialog {
    std::string title;
    std::string filter;
    std::string startDir;
    std::string chosen;  // empty: cancelled
    bool save = false;   // a save-file dialog
};

// Everything a progress window was told, kept after the window has closed.
struct RecordedProgress {
    std::string title;
    std::vector<std::string> lines;        // current text lines
    std::vector<std::string> lineHistory;  // every SetLine text, in order
    int upper = 100;
    int step = 1;
    int steps = 0;                 // number of StepIt calls
    std::vector<bool> barHistory;  // every ShowBar call
    bool cancellable = false;
    bool closed = false;
    int64_t closedAtMs = -1;  // the clock's steady time when it closed
    bool cancelRequested = false;
};

class RecordingOperator : public OperatorInterface {
  public:
    // Answers used in order; when the script is empty the first button's answer is given
    // (OK, Yes, Retry, Continue).
    void ScriptAnswers(std::initializer_list<MsgAnswer> answers) {
        answers_.insert(answers_.end(), answers.begin(), answers.end());
    }
    // Files chosen in the next open- and save-file dialogs, in order; "" cancels. With the script
    // empty a dialog is cancelled.
    void ScriptFiles(std::initializer_list<std::string> paths) {
        files_.insert(files_.end(), paths.begin(), paths.end());
    }
    // Makes the next cancellable window report a cancel request after `checks` reads of it.
    void CancelAfterChecks(int checks) { cancelAfterChecks_ = checks; }

    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons) override;
    std::unique_ptr<ProgressWindow> OpenProgress(const std::string& title,
                                                 const std::vector<std::string>& lines,
                                                 bool cancellable) override;
    void BeginWaitCursor() override { ++waitCursorDepth; }
    void EndWaitCursor() override { --waitCursorDepth; }
    void KeepAlive() override {}
    void ShowLogo(const std::string& logoPath, int ms) override {
        logos.push_back(logoPath);
        logoMs = ms;
    }

    bool ChooseOpenFile(const std::string& title, const std::string& filter,
                        const std::string& startDir, std::string& path) override;
    bool ChooseSaveFile(const std::string& title, const std::string& filter,
                        const std::string& startPath, std::string& path) override;

    std::vector<RecordedMessage> messages;
    std::vector<RecordedFileDialog> fileDialogs;
    std::vector<std::shared_ptr<RecordedProgress>> progress;
    int waitCursorDepth = 0;
    std::vector<std::string> logos;
    int logoMs = 0;
    // Called with the title of every progress window that opens (a test changes the world
    // while an operation runs).
    std::function<void(const std::string& title)> onOpenProgress;

  private:
    std::deque<MsgAnswer> answers_;
    bool ChooseFile(bool save, const std::string& title, const std::string& filter,
                    const std::string& startDir, std::string& path);

    std::deque<std::string> files_;
    int cancelAfterChecks_ = -1;
};

}  // namespace vxl::test
