// The operator interface of a run without windows: every message becomes one line on standard
// error and is answered with its safe default; progress windows show nothing.
#pragma once

#include <cstdio>

#include "ui/operator.h"

namespace vxl {

class HeadlessOperator : public OperatorInterface {
  public:
    explicit HeadlessOperator(std::FILE* out = stderr) : out_(out) {}

    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons) override;
    std::unique_ptr<ProgressWindow> OpenProgress(const std::string& title,
                                                 const std::vector<std::string>& lines,
                                                 bool cancellable) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void KeepAlive() override {}
    // Without a display there is no logo to show and nothing to wait for.
    void ShowLogo(const std::string&, int) override {}
    // Nobody is there to choose: a headless run names its files on the command line.
    bool ChooseOpenFile(const std::string&, const std::string&, const std::string&,
                        std::string&) override {
        return false;
    }
    bool ChooseSaveFile(const std::string&, const std::string&, const std::string&,
                        std::string&) override {
        return false;
    }

    // The answer a headless run gives: OK, No, Cancel, Cancel.
    static MsgAnswer SafeDefault(MsgButtons buttons);
    // The message as one line: "caption: text" with line breaks folded into blanks.
    static std::string OneLine(const std::string& text, const std::string& caption);

  private:
    std::FILE* out_;
};

}  // namespace vxl
