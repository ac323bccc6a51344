// How a modem is brought into command mode: the values of the CaptureMethod preference, the
// command line's capture switches and the window's capture menu.
#pragma once

namespace vxl {

constexpr int kCaptureAutomatic = 0;  // soft break, then power-on capture (inside the modem)
constexpr int kCaptureSoftBreak = 1;  // "+++" framed by guard times
constexpr int kCapturePowerOn = 3;    // the capture command while the modem is switched on

// The method in words, for transcripts and messages.
inline const char* CaptureMethodName(int method) {
    switch (method) {
        case kCaptureAutomatic:
            return "soft break, then power-on capture";
        case kCaptureSoftBreak:
            return "soft break";
        case kCapturePowerOn:
            return "power-on capture";
        default:
            return "an unknown method";
    }
}

}  // namespace vxl
