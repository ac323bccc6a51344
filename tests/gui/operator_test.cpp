// The Qt operator interface with real windows: message boxes answered by their buttons, progress
// windows and the countdown's cancel, and the event pump that keeps windows alive but drops
// input meant for anything but a progress window.
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "gui/event_pump.h"
#include "gui/qt_operator.h"
#include "gui_test.h"

namespace vxl::gui::test {

namespace {

// Clicks the button named `button` of the next modal box, noting what the box showed.
struct BoxAnswerer {
    explicit BoxAnswerer(const char* button) {
        QObject::connect(&timer, &QTimer::timeout, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            timer.stop();
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton* b : box->buttons()) names << b->objectName();
            if (auto* target = box->findChild<QPushButton*>(QString::fromLatin1(button)))
                target->click();
            else
                box->reject();
        });
        timer.start(10);
    }
    QTimer timer;
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList names;
};

QWidget* VisibleProgressWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QLatin1String("progressWindow")) return w;
    return nullptr;
}

}  // namespace

class Operator : public QObject {
    Q_OBJECT
  private slots:
    void messageBoxesShowTheirTextAndAnswerByButton() {
        const struct {
            MsgButtons buttons;
            MsgIcon icon;
            const char* click;  // the button clicked; none: the box is closed
            QStringList names;
            MsgAnswer answer;
            QMessageBox::Icon shownIcon;
        } cases[] = {
            // clang-format off
            {MsgButtons::RetryCancel, MsgIcon::Stop, "Retry", {"Retry", "Cancel"}, MsgAnswer::Retry, QMessageBox::Critical},
            {MsgButtons::ContinueCancel, MsgIcon::Exclamation, "none", {"Continue", "Cancel"}, MsgAnswer::Cancel, QMessageBox::Warning},
            // clang-format on
        };
        for (const auto& c : cases) {
            BoxAnswerer answerer(c.click);
            QCOMPARE(op.MessageBox("Connection lost.\n\n<b>Code</b> 7", "Load Failed", c.icon,
                                   c.buttons),
                     c.answer);
            QCOMPARE(answerer.caption, QStringLiteral("Load Failed"));
            QCOMPARE(answerer.text, QStringLiteral("Connection lost.\n\n<b>Code</b> 7"));
            QCOMPARE(answerer.icon, c.shownIcon);
            QCOMPARE(answerer.names, c.names);
        }
    }

    // A plain progress window cannot be closed by the operator, only by the core.
    void progressWindowsCloseOnlyWhenTheCoreIsDone() {
        std::unique_ptr<ProgressWindow> window = op.OpenProgress("Programming Modem", {"a"}, false);
        QVERIFY(VisibleProgressWindow() != nullptr);
        VisibleProgressWindow()->close();
        QVERIFY(!window->CancelRequested() && VisibleProgressWindow() != nullptr);
        window.reset();
        QCoreApplication::processEvents();
        QCOMPARE(VisibleProgressWindow(), nullptr);
    }

    // While the core waits, the countdown's Cancel, Escape and close box each ask to cancel (the
    // core closes the window, not the operator), timers run, and input meant for any other window
    // is dropped.
    void whileTheCoreWaitsTheCountdownCancelsAndOtherInputIsDropped() {
        QWidget main;
        auto* button = new QPushButton(QStringLiteral("Load"), &main);
        main.show();
        int clicks = 0;
        connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
        for (const char* how : {"Cancel", "Escape", "close"}) {
            std::unique_ptr<ProgressWindow> countdown =
                op.OpenProgress("Capturing Modem", {"Power-cycle your modem now", "10"}, true);
            QWidget* dialog = VisibleProgressWindow();
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Capturing Modem"));
            QVERIFY(!countdown->CancelRequested());
            int ticks = 0;
            QTimer ticker;
            connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
            ticker.start(5);
            bool acted = false;
            QTimer::singleShot(10, button, [button, dialog, how, &acted] {
                QTest::mouseClick(button, Qt::LeftButton);
                if (how[0] == 'C')
                    QTest::mouseClick(dialog->findChild<QPushButton*>(how), Qt::LeftButton);
                else if (how[0] == 'E')
                    QTest::keyClick(dialog, Qt::Key_Escape);
                else
                    dialog->close();
                acted = true;
            });
            // The operator acts while the core waits, however late a busy machine runs the timer.
            for (int i = 0; i < 300 && (!acted || ticks < 2); ++i) PumpEvents(10);
            QVERIFY2(acted && ticks >= 2, how);
            QVERIFY2(countdown->CancelRequested(), how);
            QVERIFY2(dialog->isVisible(), how);
        }
        QCOMPARE(clicks, 0);
        QVERIFY(!Pumping());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks, 1);  // input reaches the window again once the wait is over
    }

  private:
    QtOperator op{VersionTexts()};
};

VXL_GUI_SUITE(Operator);

}  // namespace vxl::gui::test

#include "operator_test.moc"
