// The one boundary through which the core shows things to the operator and asks questions.
// The headless run, the tests (a recording fake) and a GUI front end each implement it.
#pragma once

#include "util/installed.h"

#include <memory>
#include <string>
#include <vector>

namespace vxl {

enum class MsgIcon { None, Stop, Exclamation, Question };
enum class MsgButtons { Ok, YesNo, RetryCancel, ContinueCancel };
enum class MsgAnswer { Ok, Yes, No, Retry, Cancel, Continue };

// A modeless window that shows text lines and, optionally, a progress bar. It closes when
// destroyed. Capture countdown windows also carry a cancel request.
class ProgressWindow {
  public:
    virtual ~ProgressWindow() = default;
    // Replaces text line `index` (0-based); lines beyond the current count are added.
    virtual void SetLine(int index, const std::string& text) = 0;
    virtual void SetRange(int lower, int upper) = 0;
    virtual void SetStep(int step) = 0;
    virtual void StepIt() = 0;
    virtual void ShowBar(bool visible) = 0;
    // True once the operator asked to cancel (Escape or close); reading it does not clear it.
    virtual bool CancelRequested() = 0;
};

class OperatorInterface {
  public:
    virtual ~OperatorInterface() = default;
    // A modal message box; returns the operator's answer.
    virtual MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                                 MsgButtons buttons) = 0;
    // Opens a modeless progress window. `cancellable` windows offer a cancel request.
    virtual std::unique_ptr<ProgressWindow> OpenProgress(const std::string& title,
                                                         const std::vector<std::string>& lines,
                                                         bool cancellable) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Called by long waits so that windows stay responsive.
    virtual void KeepAlive() = 0;
    // Shows the logo window for `ms` milliseconds (blocking), then closes it.
    virtual void ShowLogo(const std::string& logoPath, int ms) = 0;
    // A modal open-file dialog for an existing file. `filter` lists the choices as
    // "Name (*.ext)" separated by ";;", the first one selected; the dialog starts in `startDir`
    // (the working directory when empty). True with the chosen file in `path`; false when the
    // operator cancels, and always without a window.
    virtual bool ChooseOpenFile(const std::string& title, const std::string& filter,
                                const std::string& startDir, std::string& path);
    // A modal save-file dialog, as ChooseOpenFile; `startPath` is the folder to start in or a
    // file name suggested in it. A file that exists is replaced only after the operator agreed.
    virtual bool ChooseSaveFile(const std::string& title, const std::string& filter,
                                const std::string& startPath, std::string& path);
};

// The operator interface the core uses. A headless one is installed until a caller sets another.
OperatorInterface& Ui();

// Installs an operator interface for the lifetime of this object.
using ScopedUi = Installed<OperatorInterface>::Scope;

// Shows the wait cursor for the lifetime of this object.
class WaitCursor {
  public:
    WaitCursor() { Ui().BeginWaitCursor(); }
    ~WaitCursor() { Ui().EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace vxl
