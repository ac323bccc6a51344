// What makes the protocol stop at once instead of waiting out its time-outs: a device that went
// away, and a run interrupted by a signal.
#pragma once

class ISerialLink;

namespace vxl {

// Why nothing more should be sent over `port`: the system error with which its device went
// away, rc::kInterrupted when the run was interrupted, 0 to go on.
int StopReason(const ISerialLink* port);
// Sleeps `ms`, looking at StopReason at least every 50 ms; returns it early when it becomes
// non-zero, else 0.
int SleepWatching(const ISerialLink* port, int ms);
// True for the codes StopReason gives (system errors, below 50).
bool IsStopCode(int code);

}  // namespace vxl
