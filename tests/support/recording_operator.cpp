#include "support/recording_operator.h"

#include "util/clock.h"

namespace vxl::test {

namespace {

// The answer of each set's first button, indexed by MsgButtons.
const MsgAnswer kFirstButton[] = {MsgAnswer::Ok, MsgAnswer::Yes, MsgAnswer::Retry,
                                  MsgAnswer::Continue};

class RecordingProgressWindow : public ProgressWindow {
  public:
    RecordingProgressWindow(std::shared_ptr<RecordedProgress> record, int cancelAfterChecks)
        : record_(std::move(record)), cancelAfterChecks_(cancelAfterChecks) {}
    ~RecordingProgressWindow() override {
        record_->closed = true;
        record_->closedAtMs = GetClock().SteadyMs();
    }

    void SetLine(int index, const std::string& text) override {
        if (index < 0) return;
        if (static_cast<size_t>(index) >= record_->lines.size()) record_->lines.resize(index + 1);
        record_->lines[index] = text;
        record_->lineHistory.push_back(text);
    }
    void SetRange(int, int upper) override { record_->upper = upper; }
    void SetStep(int step) override { record_->step = step; }
    void StepIt() override { ++record_->steps; }
    void ShowBar(bool visible) override { record_->barHistory.push_back(visible); }
    bool CancelRequested() override {
        if (cancelAfterChecks_ >= 0 && checks_++ >= cancelAfterChecks_)
            record_->cancelRequested = true;
        return record_->cancelRequested;
    }

  private:
    std::shared_ptr<RecordedProgress> record_;
    int cancelAfterChecks_;
    int checks_ = 0;
};

}  // namespace

MsgAnswer RecordingOperator::MessageBox(const std::string& text, const std::string& caption,
                                        MsgIcon icon, MsgButtons buttons) {
    MsgAnswer answer = kFirstButton[static_cast<int>(buttons)];
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    messages.push_back(RecordedMessage{text, caption, icon, buttons, answer});
    return answer;
}

bool RecordingOperator::ChooseOpenFile(const std::string& title, const std::string& filter,
                                       const std::string& startDir, std::string& path) {
    return ChooseFile(false, title, filter, startDir, path);
}

bool RecordingOperator::ChooseSaveFile(const std::string& title, const std::string& filter,
                                       const std::string& startPath, std::string& path) {
    return ChooseFile(true, title, filter, startPath, path);
}

bool RecordingOperator::ChooseFile(bool save, const std::string& title, const std::string& filter,
                                   const std::string& startDir, std::string& path) {
    std::string chosen;
    if (!files_.empty()) {
        chosen = files_.front();
        files_.pop_front();
    }
    fileDialogs.push_back(RecordedFileDialog{title, filter, startDir, chosen, save});
    if (chosen.empty()) return false;
    path = chosen;
    return true;
}

std::unique_ptr<ProgressWindow> RecordingOperator::OpenProgress(
    const std::string& title, const std::vector<std::string>& lines, bool cancellable) {
    auto record = std::make_shared<RecordedProgress>();
    record->title = title;
    record->lines = lines;
    record->cancellable = cancellable;
    progress.push_back(record);
    if (onOpenProgress) onOpenProgress(title);
    int cancelAfter = -1;
    if (cancellable) {
        cancelAfter = cancelAfterChecks_;
        cancelAfterChecks_ = -1;
    }
    return std::make_unique<RecordingProgressWindow>(record, cancelAfter);
}

}  // namespace vxl::test
