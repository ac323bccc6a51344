// The modeless progress windows of the operator interface: capture, reading, programming and
// firmware download, and the capture countdown whose Escape, Cancel or close asks to cancel.
#pragma once

#include <QDialog>
#include <QPointer>
#include <vector>

#include "ui/operator.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace vxl::gui {

class ProgressDialog : public QDialog {
    Q_OBJECT
  public:
    ProgressDialog(QWidget* parent, const QString& title, const std::vector<std::string>& lines,
                   bool cancellable);

    void SetLine(int index, const QString& text);
    QProgressBar* bar() const { return bar_; }
    bool cancelRequested() const { return cancelRequested_; }

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void RequestCancel();

    QVBoxLayout* lineLayout_;
    std::vector<QLabel*> lines_;
    QProgressBar* bar_;
    QPushButton* cancel_ = nullptr;
    bool cancellable_;
    bool cancelRequested_ = false;
};

// The core's handle on one window; closing the handle closes the window.
class QtProgressWindow : public ProgressWindow {
  public:
    QtProgressWindow(QWidget* parent, const std::string& title,
                     const std::vector<std::string>& lines, bool cancellable);
    ~QtProgressWindow() override;

    void SetLine(int index, const std::string& text) override;
    void SetRange(int lower, int upper) override;
    void SetStep(int step) override;
    void StepIt() override;
    void ShowBar(bool visible) override;
    bool CancelRequested() override;

  private:
    QPointer<ProgressDialog> dialog_;
    int step_ = 1;
};

}  // namespace vxl::gui
