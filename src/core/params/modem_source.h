// What the memory image and the parameters need from the modem they were read from. The modem
// classes implement it; tests implement it over a plain byte array.
#pragma once

#include <cstdint>
#include <string>

class ModemMemoryImage;

class IModemSource {
  public:
    virtual ~IModemSource() = default;
    // 0 not recognised, 1..4 (see the modem types).
    virtual int GetModemType() const = 0;
    virtual double GetFirmwareRevision() const = 0;
    // N: the number of configuration bytes from 0x100 on.
    virtual int GetConfigurationSize() = 0;
    // One byte of modem memory; returns a result code (0 = success), diagnostic in status.
    virtual int ReadMemoryLocation(std::string& status, uint8_t& value, int address,
                                   int pollLimit) = 0;
    virtual int Unlock(std::string& status) = 0;
    // The mark set when the modem's model byte was 0.
    virtual bool IsModelIdMissing() const = 0;
    virtual void ClearModelIdMissing() = 0;
    // The identity word of the identity block (types 3 and 4), else 0.
    virtual int GetIdentityWord() = 0;
    // The image as last read from or written to the modem; nullptr before a read.
    virtual const ModemMemoryImage* GetLoadedImage() const = 0;
};
