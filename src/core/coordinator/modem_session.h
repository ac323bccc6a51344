// The modem the program talks to and the port it talks through: the configured port and capture
// method, opening the port and capturing the modem, reading its memory, the demo modem,
// releasing them, and what went wrong on the way (the diagnostic location, a device that went
// away).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CModemBase;
class ISerialLink;
class ModemMemoryImage;

namespace vxl {

// Opens serial port `port` for a modem (9600 baud, 8 data bits, no parity, one stop bit) with
// its monitor not yet started. On failure returns nullptr and the port's error code.
using LinkFactory = std::function<std::unique_ptr<ISerialLink>(int port, int& lastError)>;

// Creates the modem object on an open link, captures it by `captureMethod` and identifies it.
// On failure `location` names the failing step. Result 90 delivers a modem all the same.
using ModemFactory =
    std::function<int(std::string& status, ISerialLink* link, std::unique_ptr<CModemBase>& modem,
                      int captureMethod, std::string& location, bool interactive)>;

// The demo modem (no hardware).
using DemoModemFactory = std::function<std::unique_ptr<CModemBase>()>;

// The factories the program uses: a CComPort, CModem::CreateModem and CDemoModem.
LinkFactory DefaultLinkFactory();
ModemFactory DefaultModemFactory();
DemoModemFactory DefaultDemoModemFactory();

class ModemSession {
  public:
    ModemSession();
    ~ModemSession();
    ModemSession(const ModemSession&) = delete;
    ModemSession& operator=(const ModemSession&) = delete;

    // Start-up: port and capture method, each taken from the preferences when not given (< 0).
    // Returns 99 for a capture method other than soft break or power-on capture (the method
    // then stays unset).
    int Init(int port, int captureMethod);
    // n >= 0: port := n and the preference ComPortNum := n.
    void SetPort(int n);
    // n >= 0: capture method := n and the preference CaptureMethod := n.
    void SetCaptureMethod(int n);
    int GetPort() const { return port_; }
    int GetCaptureMethod() const { return captureMethod_; }

    // Replace how ports are opened and modems captured (tests attach without hardware).
    void SetLinkFactory(LinkFactory factory) { linkFactory_ = std::move(factory); }
    void SetModemFactory(ModemFactory factory) { modemFactory_ = std::move(factory); }
    void SetDemoModemFactory(DemoModemFactory factory) { demoFactory_ = std::move(factory); }

    // Opens the port and captures the modem. 0, or 90 (model ID missing; the modem stays
    // attached), or the failing step's code: 75 no port configured, the port's error, 74 no
    // modem delivered, or the capture's code. Whatever was attached before is released first.
    int Attach(std::string& responseText, bool interactive);
    // The demo modem in place of a real one; 103 while a modem is attached.
    int AttachDemo();
    // Reads the modem's configuration memory into `image`. Settings that do not match their
    // checksum even when read twice are offered to the operator (Continue or Cancel) when
    // `interactive`; Cancel fails the read with 73. Without a window they are read and
    // IsChecksumMismatch tells; the caller decides.
    int ReadImage(std::string& responseText, bool interactive,
                  std::unique_ptr<ModemMemoryImage>& image);
    // Returns the modem to normal operation (unless `keepOpen`) and closes the port.
    void Release(std::string& responseText, bool keepOpen);

    bool IsAttached() const { return modem_ != nullptr; }
    // The attached modem's type (0 without a modem).
    int GetAttachedModemType() const;
    CModemBase* GetModem() const { return modem_.get(); }
    ISerialLink* GetLink() const { return link_.get(); }

    // The rates at which the soft break of the last Attach found no modem (empty unless it
    // failed that way: no answer, or none that made sense, at any of them).
    const std::vector<int>& GetSoftBreakRatesTried() const { return softBreakRatesTried_; }
    // "Unit:number" of the last failing load step.
    const std::string& GetDiagnosticLocation() const { return location_; }
    // The settings of the last read did not match their checksum (a byte damaged on the line).
    bool IsChecksumMismatch() const { return checksumMismatch_; }
    // The device that went away during the last failing step (empty when none did). Such a
    // step returns the device's system error instead of its own code, and one interrupted by
    // a signal returns rc::kInterrupted.
    const std::string& GetLostDevice() const { return lostDevice_; }
    void ForgetLostDevice() { lostDevice_.clear(); }
    // A failed step's result as the operator should see it: rc::kInterrupted for an
    // interrupted run, the system error for a device that went away (naming the device in
    // `responseText`), else `result` unchanged. For workflows that drive the modem themselves.
    int ExplainFailure(int result, std::string& responseText);
    // When the attached modem's device has gone away (an adapter unplugged while nothing was
    // sent), drops any warning the port still holds, records the device for GetLostDevice and
    // returns its system error; 0 while the device is there or no port is open. Nothing is
    // released.
    int DetectLostDevice();

  private:
    int port_ = -1;
    int captureMethod_ = -1;
    std::string location_;
    std::string lostDevice_;
    std::vector<int> softBreakRatesTried_;
    bool checksumMismatch_ = false;

    LinkFactory linkFactory_;
    ModemFactory modemFactory_;
    DemoModemFactory demoFactory_;

    // The modem goes before the link it talks through.
    std::unique_ptr<ISerialLink> link_;
    std::unique_ptr<CModemBase> modem_;
};

}  // namespace vxl
