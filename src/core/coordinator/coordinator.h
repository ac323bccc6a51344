// The Configuration Coordinator: the one object that ties the serial port, the modem, the
// modem's memory image and the parameter set together.
#pragma once

#include <string>

class CCoordinator {
public:
    CCoordinator() = default;
    ~CCoordinator();
    CCoordinator(const CCoordinator&) = delete;
    CCoordinator& operator=(const CCoordinator&) = delete;

    // Start-up: port and capture method, each taken from the preferences when not given (< 0).
    // Returns 99 for a capture method other than 1 or 3 (the method then stays unset).
    int Init(int port, int captureMethod);
    // n >= 0: port := n and the preference ComPortNum := n.
    void SetPort(int n);
    // n >= 0: capture method := n and the preference CaptureMethod := n.
    void SetCaptureMethod(int n);
    int GetPort() const { return port_; }
    int GetCaptureMethod() const { return captureMethod_; }

private:
    int port_ = -1;
    int captureMethod_ = -1;
};
