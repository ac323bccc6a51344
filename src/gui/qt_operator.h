// The operator interface of the window front end: message boxes, progress windows, the wait
// cursor, the logo window, and keeping the windows alive during long waits.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/version.h"
#include "ui/operator.h"

namespace vxl::gui {

class QtOperator : public OperatorInterface {
  public:
    explicit QtOperator(VersionTexts version) : version_(std::move(version)) {}

    // The window that owns message boxes and progress windows when no modal window is open.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }

    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons) override;
    std::unique_ptr<ProgressWindow> OpenProgress(const std::string& title,
                                                 const std::vector<std::string>& lines,
                                                 bool cancellable) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void KeepAlive() override;
    void ShowLogo(const std::string& logoPath, int ms) override;
    bool ChooseOpenFile(const std::string& title, const std::string& filter,
                        const std::string& startDir, std::string& path) override;
    bool ChooseSaveFile(const std::string& title, const std::string& filter,
                        const std::string& startPath, std::string& path) override;

  private:
    QWidget* Owner() const;

    VersionTexts version_;
    QPointer<QWidget> mainWindow_;
};

}  // namespace vxl::gui
