#include "gui/event_pump.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <thread>

namespace vxl::gui {

namespace {

int pumpDepth = 0;

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

// The top-level widget an event is for: input and close requests reach a window's QWindow
// before its widgets.
QWidget* TopLevelOf(QObject* receiver) {
    if (auto* widget = qobject_cast<QWidget*>(receiver)) return widget->window();
    if (auto* window = qobject_cast<QWindow*>(receiver)) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->windowHandle() == window) return top;
    }
    return nullptr;
}

// Installed on the application while events are pumped.
class InputGate : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (pumpDepth == 0 || !IsUserInput(event->type())) return false;
        QWidget* top = TopLevelOf(watched);
        if (top != nullptr && top->property(kTakesInputWhileBusy).toBool()) return false;
        if (event->type() == QEvent::Close) event->ignore();
        return true;
    }
};

InputGate& Gate() {
    static InputGate gate;
    return gate;
}

class GateScope {
  public:
    GateScope() {
        if (pumpDepth++ == 0) qApp->installEventFilter(&Gate());
    }
    ~GateScope() {
        if (--pumpDepth == 0) qApp->removeEventFilter(&Gate());
    }
    GateScope(const GateScope&) = delete;
    GateScope& operator=(const GateScope&) = delete;
};

}  // namespace

bool Pumping() {
    return pumpDepth > 0;
}

void PumpEvents(int ms) {
    if (qApp == nullptr || QThread::currentThread() != qApp->thread()) {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    GateScope gate;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (ms <= 0) return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec(QEventLoop::AllEvents);
}

}  // namespace vxl::gui
