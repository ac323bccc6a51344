// A real modem behind a serial link: the binary command protocol (one command frame, one 4-byte
// reply per exchange), capture, identification and the boot loader's text protocol.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/serial_link.h"
#include "modem/modem_base.h"

class CFirmwareFile;

class CModem : public CModemBase {
  public:
    // `port` is not owned; nullptr means no port, and every exchange then succeeds at once.
    explicit CModem(ISerialLink* port);
    ~CModem() override;

    // The diagnostic location CreateModem gives a failed capture (a failed identification
    // has another).
    static std::string CaptureFailureLocation();
    // Creates a modem on `port`, captures it and identifies it. On a capture failure `location`
    // becomes "Modem:155", on an identification failure "Modem:170", and `out` stays empty.
    // Identification result 90 (model ID missing) keeps the modem and returns 90.
    static int CreateModem(std::string& status, ISerialLink* port, std::unique_ptr<CModem>& out,
                           int captureMethod, std::string& location, bool showDialogs);

    int Capture(std::string& status, int method, bool showDialogs) override;
    int Program(std::string& status) override;
    int Reset(std::string& status) override;
    int Unlock(std::string& status) override;
    int ReadMemoryLocation(std::string& status, uint8_t& value, int address,
                           int pollLimit) override;
    int WriteMemoryLocation(std::string& status, uint8_t value, int address) override;
    int GetPortNumber() const override;

    // Reads the model byte and the identity block: type, parameter base, firmware revision,
    // configuration size, identity word. 0, 90 (model byte 0), or the code of a failed read.
    int Identify(std::string& status);
    // Asks the modem to change its serial rate; 55 for a rate without a baud code (nothing is
    // sent) or when the modem refuses the rate.
    int WriteBaudRate(std::string& status, int baud);
    // Command 0x02; the reply is not examined.
    void Sync();
    static void SyncPort(ISerialLink* port);
    // The memory read on a port that has no modem object (several ports probed at once).
    static int ReadMemoryLocationPort(std::string& status, ISerialLink* port, uint8_t& value,
                                      int address, int pollLimit);

    // Searches the 8 ports at once (nullptr or closed ports are skipped). `found` receives the
    // index of the port on which a modem answered and is left unchanged otherwise.
    static int LocateBySoftBreak(std::string& status, ISerialLink* ports[8], int& found);
    static int LocateByPowerOn(std::string& status, ISerialLink* ports[8], int& found);
    // The same searches over `count` ports (a machine may list more than 8).
    static int LocateBySoftBreak(std::string& status, ISerialLink* const* ports, int count,
                                 int& found);
    static int LocateByPowerOn(std::string& status, ISerialLink* const* ports, int count,
                               int& found);

    // Lower layer. Purges the port, writes the bytes and waits for their line time.
    // 0, 105 for a missing port or bytes or a length below 1, or (sending nothing) the system
    // error of a device that went away or 4 for an interrupted run.
    static int SendRaw(ISerialLink* port, const uint8_t* bytes, int length);
    // Sends a command and waits for exactly `replyLen` bytes; `reply` must hold replyLen + 1
    // bytes (it may be nullptr when replyLen is 0). 0, -77 (no complete reply before the poll
    // limit, counted in ms, or the reply's line time plus an adapter allowance if longer), -89
    // (more bytes than expected; the first replyLen are still delivered), 105, or the negated
    // code of a device that went away or an interrupted run (at once).
    static int Transact(ISerialLink* port, const uint8_t* cmd, int cmdLen, uint8_t* reply,
                        int replyLen, int pollLimit);
    // Collects text until it contains `terminator`. 0, -77 (text keeps what arrived), 105, or
    // the negated code of a device that went away or an interrupted run.
    static int ReadUntil(ISerialLink* port, std::string& text, char terminator, int pollLimit);

    // Boot loader and firmware upgrade (modem_loader.cpp).
    int UpgradeFirmware(std::string& status, CFirmwareFile& file,
                        const std::vector<std::string>& preamble);
    int StartBootloader(std::string& status);
    int Download(std::string& status, CFirmwareFile& file,
                 const std::vector<std::string>& preamble);
    int DownloadSrecord(std::string& status, const char* record, int length, const char* prefix,
                        bool last);
    int ProgramEEPROM(std::string& status);
    int Go(std::string& status, int startAddress);
    ISerialLink* GetPort() const;
    // From the command that starts the boot loader until the new firmware is started: the modem
    // answers only its loader, and only switching it off and on brings its firmware back.
    bool InBootLoader() const { return inBootLoader_; }

  private:
    int SoftBreak(std::string& status, bool showDialog);
    int PowerOnCapture(std::string& status);
    // Capture method 0: soft break first, power-on capture when the modem then does not answer.
    int AutomaticCapture(std::string& status, bool showDialogs);

    ISerialLink* port_;
    bool inBootLoader_ = false;
};
