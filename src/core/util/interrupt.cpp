#include "util/interrupt.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>

namespace vxl {

namespace {

volatile std::sig_atomic_t g_pending = 0;
volatile std::sig_atomic_t g_warned = 0;
volatile std::sig_atomic_t g_pendingWarned = 0;
std::atomic<const char*> g_warning{nullptr};
std::atomic<std::size_t> g_warningLength{0};

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
struct sigaction g_previous[kSignalCount];

extern "C" void NoteSignal(int signal) {
    const char* warning = g_warning.load();
    if (signal == SIGINT && warning != nullptr && !g_warned) {
        g_warned = 1;
        // write(2) is the only way to print from a handler.
        [[maybe_unused]] ssize_t written = ::write(STDERR_FILENO, warning, g_warningLength.load());
        return;
    }
    g_pendingWarned = warning != nullptr;
    g_pending = signal;
}

}  // namespace

InterruptHandlers::InterruptHandlers() {
    g_pending = 0;
    g_pendingWarned = 0;
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    // Restarted system calls keep file and terminal I/O unaffected; the protocol polls the note.
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &action, &g_previous[i]);
}

InterruptHandlers::~InterruptHandlers() {
    for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &g_previous[i], nullptr);
}

int PendingInterrupt() {
    return g_pending;
}

int TakeInterrupt(bool* duringWarnedStep) {
    const int signal = g_pending;
    if (duringWarnedStep != nullptr) *duringWarnedStep = signal != 0 && g_pendingWarned;
    g_pending = 0;
    g_pendingWarned = 0;
    return signal;
}

InterruptWarning::InterruptWarning(const char* warning) {
    g_warned = 0;
    g_warningLength = std::strlen(warning);
    g_warning = warning;
}

InterruptWarning::~InterruptWarning() {
    g_warning = nullptr;
}

const char* InterruptName(int signal) {
    switch (signal) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "a signal";
    }
}

}  // namespace vxl
