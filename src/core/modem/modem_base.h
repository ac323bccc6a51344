// The abstract modem: everything the coordinator and the parameter model do to a modem goes
// through these operations. CModem talks to a real modem over a serial link; CDemoModem answers
// from memory held in the object.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "params/modem_source.h"

namespace vxl {
class ProgressWindow;
}

class CModemBase : public IModemSource {
  public:
    CModemBase();
    // Releases the memory image and the progress window.
    ~CModemBase() override;
    CModemBase(const CModemBase&) = delete;
    CModemBase& operator=(const CModemBase&) = delete;

    // The modem operations, in their fixed order. Every operation that takes a status text
    // empties it first and, on failure, leaves a one-line diagnostic in it.

    // Brings the modem into command mode. A method above 0 replaces the remembered method.
    virtual int Capture(std::string& status, int method, bool showDialogs) = 0;
    // Commits the written memory in the modem.
    virtual int Program(std::string& status) = 0;
    // Returns the modem to normal operation.
    virtual int Reset(std::string& status) = 0;
    int Unlock(std::string& status) override = 0;
    int ReadMemoryLocation(std::string& status, uint8_t& value, int address,
                           int pollLimit) override = 0;
    virtual int WriteMemoryLocation(std::string& status, uint8_t value, int address) = 0;
    // Replaces the memory image by a fresh read of the modem: 0, or 73 when the image could not
    // be read completely.
    virtual int ReadMemoryImage(std::string& status, bool showProgress);
    int GetConfigurationSize() override;
    virtual int GetPortNumber() const = 0;
    int GetIdentityWord() override;

    // Writes every byte of `image` (main block and extension) after an unlock, under the
    // "Programming Modem" window. The modem's own image becomes a copy of `image` once every
    // byte has been written; after a failure it keeps the image it had, so the edits still
    // count as not programmed.
    int WriteMemoryImage(std::string& status, const ModemMemoryImage& image);
    // The same for the bytes of `image` at `addresses` only (modem addresses as
    // ModemMemoryImage::ConfigurationAddresses gives them), in the order given: the caller knows
    // the modem holds the others already. The bar moves once per hundredth of these bytes. An
    // address outside the image writes nothing and gives 58.
    int WriteMemoryImage(std::string& status, const ModemMemoryImage& image,
                         const std::vector<int>& addresses);

    // A new copy of the image as last read from or written to the modem; nullptr without one.
    std::unique_ptr<ModemMemoryImage> GetImage() const;
    const ModemMemoryImage* GetLoadedImage() const override;
    double GetFirmwareRevision() const override;
    int GetModemType() const override;
    bool IsModelIdMissing() const override;
    void ClearModelIdMissing() override;
    // 0 automatic, 1 soft break, 3 power-on capture.
    int GetCaptureMethod() const { return captureMethod_; }
    // Where the modem keeps its running copy of the parameters (0 when not recognised).
    int GetParameterBase() const { return parameterBase_; }

    // Up to 4 bytes (high byte first) as one number, allowing 1000 polls a byte; more than 4
    // gives 54.
    int ReadMemoryNumber(std::string& status, int address, int count, uint32_t& value);

  protected:
    int modemType_ = 0;
    bool modelIdMissing_ = false;
    int parameterBase_ = 0;
    int identityWord_ = 0;
    double firmwareRevision_ = 0.0;
    int captureMethod_ = 0;
    int configurationSize_ = 0;
    std::unique_ptr<ModemMemoryImage> image_;
    // The firmware download window while an upgrade runs.
    std::unique_ptr<vxl::ProgressWindow> progressWindow_;
};
