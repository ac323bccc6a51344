#include "ui/headless_operator.h"

namespace vxl {

namespace {
class SilentProgress : public ProgressWindow {
  public:
    void SetLine(int, const std::string&) override {}
    void SetRange(int, int) override {}
    void SetStep(int) override {}
    void StepIt() override {}
    void ShowBar(bool) override {}
    bool CancelRequested() override { return false; }
};
}  // namespace

MsgAnswer HeadlessOperator::SafeDefault(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::Ok:
            return MsgAnswer::Ok;
        case MsgButtons::YesNo:
            return MsgAnswer::No;
        case MsgButtons::RetryCancel:
        case MsgButtons::ContinueCancel:
            return MsgAnswer::Cancel;
    }
    return MsgAnswer::Cancel;
}

std::string HeadlessOperator::OneLine(const std::string& text, const std::string& caption) {
    std::string line = caption.empty() ? text : caption + ": " + text;
    std::string folded;
    folded.reserve(line.size());
    for (char c : line) {
        if (c == '\r') continue;
        if (c == '\n') {
            if (!folded.empty() && folded.back() != ' ') folded += ' ';
            continue;
        }
        folded += c;
    }
    while (!folded.empty() && folded.back() == ' ') folded.pop_back();
    return folded;
}

MsgAnswer HeadlessOperator::MessageBox(const std::string& text, const std::string& caption, MsgIcon,
                                       MsgButtons buttons) {
    std::fprintf(out_, "%s\n", OneLine(text, caption).c_str());
    std::fflush(out_);
    return SafeDefault(buttons);
}

std::unique_ptr<ProgressWindow> HeadlessOperator::OpenProgress(const std::string&,
                                                               const std::vector<std::string>&,
                                                               bool) {
    return std::make_unique<SilentProgress>();
}

}  // namespace vxl
