// Ctrl-C (SIGINT), SIGTERM and SIGHUP during a run without windows. The handlers only note the
// signal; the modem protocol looks at the note before every exchange and during its waits, and
// stops there, so the run can release the modem and end with one line. Where no handlers are
// installed (the window) nothing is ever noted.
#pragma once

namespace vxl {

// Installs the handlers for its lifetime; the previous ones come back afterwards.
class InterruptHandlers {
  public:
    InterruptHandlers();
    ~InterruptHandlers();
    InterruptHandlers(const InterruptHandlers&) = delete;
    InterruptHandlers& operator=(const InterruptHandlers&) = delete;
};

// The signal noted and not yet taken (0 = none).
int PendingInterrupt();
// Takes the noted signal (0 = none), so that the modem can still be released.
// `duringWarnedStep` tells whether it came while an InterruptWarning was in force.
int TakeInterrupt(bool* duringWarnedStep = nullptr);

// While one exists, a first SIGINT only prints `warning` on standard error; a second one is
// noted as usual. For steps that leave the modem unusable when cut short.
class InterruptWarning {
  public:
    explicit InterruptWarning(const char* warning);
    ~InterruptWarning();
    InterruptWarning(const InterruptWarning&) = delete;
    InterruptWarning& operator=(const InterruptWarning&) = delete;
};

// "SIGINT", "SIGTERM", "SIGHUP" or "a signal".
const char* InterruptName(int signal);

}  // namespace vxl
