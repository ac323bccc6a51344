#include "gui/progress_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/event_pump.h"

namespace vxl::gui {

ProgressDialog::ProgressDialog(QWidget* parent, const QString& title,
                               const std::vector<std::string>& lines, bool cancellable)
    : QDialog(parent), cancellable_(cancellable) {
    setObjectName(QStringLiteral("progressWindow"));
    setWindowTitle(title);
    setModal(false);
    // Escape, Cancel and closing still reach this window while the core works.
    setProperty(kTakesInputWhileBusy, true);
    auto* layout = new QVBoxLayout(this);
    lineLayout_ = new QVBoxLayout;
    layout->addLayout(lineLayout_);
    for (size_t i = 0; i < lines.size(); ++i)
        SetLine(static_cast<int>(i), QString::fromStdString(lines[i]));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progressBar"));
    bar_->setTextVisible(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setMinimumWidth(fontMetrics().averageCharWidth() * 45);
    layout->addWidget(bar_);
    if (cancellable_) {
        cancel_ = new QPushButton(tr("Cancel"), this);
        cancel_->setObjectName(QStringLiteral("Cancel"));
        connect(cancel_, &QPushButton::clicked, this, &ProgressDialog::RequestCancel);
        auto* row = new QHBoxLayout;
        row->addStretch();
        row->addWidget(cancel_);
        layout->addLayout(row);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgressDialog::SetLine(int index, const QString& text) {
    if (index < 0) return;
    while (static_cast<int>(lines_.size()) <= index) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("line%1").arg(lines_.size()));
        label->setTextFormat(Qt::PlainText);
        lineLayout_->addWidget(label);
        lines_.push_back(label);
    }
    lines_[index]->setText(text);
}

void ProgressDialog::RequestCancel() {
    if (cancellable_) cancelRequested_ = true;
}

void ProgressDialog::reject() {
    RequestCancel();
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
    // The core closes the window when it is done; the operator's close is a cancel request.
    RequestCancel();
    event->ignore();
}

QtProgressWindow::QtProgressWindow(QWidget* parent, const std::string& title,
                                   const std::vector<std::string>& lines, bool cancellable)
    : dialog_(new ProgressDialog(parent, QString::fromStdString(title), lines, cancellable)) {
    dialog_->show();
    dialog_->raise();
    // The countdown's Escape goes to the window that has the focus.
    dialog_->activateWindow();
}

QtProgressWindow::~QtProgressWindow() {
    delete dialog_.data();
}

void QtProgressWindow::SetLine(int index, const std::string& text) {
    if (dialog_) dialog_->SetLine(index, QString::fromStdString(text));
}

void QtProgressWindow::SetRange(int lower, int upper) {
    if (!dialog_) return;
    dialog_->bar()->setRange(lower, upper);
    dialog_->bar()->setValue(lower);
}

void QtProgressWindow::SetStep(int step) {
    step_ = step;
}

void QtProgressWindow::StepIt() {
    if (!dialog_) return;
    QProgressBar* bar = dialog_->bar();
    int next = bar->value() + step_;
    // Like the platform's progress control, stepping past the end starts again.
    if (next > bar->maximum()) next = bar->minimum() + (next - bar->maximum());
    bar->setValue(next);
}

void QtProgressWindow::ShowBar(bool visible) {
    if (dialog_) dialog_->bar()->setVisible(visible);
}

bool QtProgressWindow::CancelRequested() {
    return dialog_ && dialog_->cancelRequested();
}

}  // namespace vxl::gui
