#include "gui/qt_operator.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "gui/event_pump.h"
#include "gui/logo_panel.h"
#include "gui/progress_window.h"

namespace vxl::gui {

namespace {

QMessageBox::Icon BoxIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Stop:
            return QMessageBox::Critical;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSpec {
    MsgAnswer answer;
    const char* name;
    const char* text;
    QMessageBox::ButtonRole role;
};

std::vector<ButtonSpec> Buttons(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::YesNo:
            return {{MsgAnswer::Yes, "Yes", "&Yes", QMessageBox::YesRole},
                    {MsgAnswer::No, "No", "&No", QMessageBox::NoRole}};
        case MsgButtons::RetryCancel:
            return {{MsgAnswer::Retry, "Retry", "&Retry", QMessageBox::AcceptRole},
                    {MsgAnswer::Cancel, "Cancel", "Cancel", QMessageBox::RejectRole}};
        case MsgButtons::ContinueCancel:
            return {{MsgAnswer::Continue, "Continue", "&Continue", QMessageBox::AcceptRole},
                    {MsgAnswer::Cancel, "Cancel", "Cancel", QMessageBox::RejectRole}};
        case MsgButtons::Ok:
            break;
    }
    return {{MsgAnswer::Ok, "Ok", "OK", QMessageBox::AcceptRole}};
}

// The answer a box gives when it is closed without a button: its Cancel or No, else its only
// button.
MsgAnswer EscapeAnswer(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::YesNo:
            return MsgAnswer::No;
        case MsgButtons::RetryCancel:
        case MsgButtons::ContinueCancel:
            return MsgAnswer::Cancel;
        case MsgButtons::Ok:
            break;
    }
    return MsgAnswer::Ok;
}

}  // namespace

QWidget* QtOperator::Owner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return mainWindow_.data();
}

MsgAnswer QtOperator::MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                                 MsgButtons buttons) {
    QMessageBox box(Owner());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowTitle(QString::fromStdString(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text));
    box.setIcon(BoxIcon(icon));
    std::vector<std::pair<QAbstractButton*, MsgAnswer>> answers;
    for (const ButtonSpec& spec : Buttons(buttons)) {
        QPushButton* button = box.addButton(QString::fromLatin1(spec.text), spec.role);
        button->setObjectName(QString::fromLatin1(spec.name));
        answers.emplace_back(button, spec.answer);
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(answers.front().first));
    // The question needs the normal pointer even while the wait cursor shows.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
    for (const auto& [button, answer] : answers) {
        if (box.clickedButton() == button) return answer;
    }
    return EscapeAnswer(buttons);
}

std::unique_ptr<ProgressWindow> QtOperator::OpenProgress(const std::string& title,
                                                         const std::vector<std::string>& lines,
                                                         bool cancellable) {
    auto window = std::make_unique<QtProgressWindow>(Owner(), title, lines, cancellable);
    // Show the window at once, before the work that it reports on starts.
    PumpEvents(0);
    return window;
}

void QtOperator::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtOperator::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void QtOperator::KeepAlive() {
    PumpEvents(0);
}

void QtOperator::ShowLogo(const std::string& logoPath, int ms) {
    ShowLogoWindow(QString::fromStdString(logoPath), version_, ms);
}

bool QtOperator::ChooseOpenFile(const std::string& title, const std::string& filter,
                                const std::string& startDir, std::string& path) {
    const QString chosen = QFileDialog::getOpenFileName(Owner(), QString::fromStdString(title),
                                                        QString::fromStdString(startDir),
                                                        QString::fromStdString(filter));
    if (chosen.isEmpty()) return false;
    path = chosen.toStdString();
    return true;
}

bool QtOperator::ChooseSaveFile(const std::string& title, const std::string& filter,
                                const std::string& startPath, std::string& path) {
    // The dialog asks before it replaces a file that exists.
    const QString chosen = QFileDialog::getSaveFileName(Owner(), QString::fromStdString(title),
                                                        QString::fromStdString(startPath),
                                                        QString::fromStdString(filter));
    if (chosen.isEmpty()) return false;
    path = chosen.toStdString();
    return true;
}

}  // namespace vxl::gui
