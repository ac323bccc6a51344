// A modem without hardware: answers like a type 4 modem with firmware 2.20 from 256 bytes of
// memory (addresses 0x100 to 0x1FF) held in the object, and takes a little time per operation
// so that progress windows behave as with a real modem.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "modem/modem_base.h"

class CDemoModem : public CModemBase {
  public:
    CDemoModem();
    ~CDemoModem() override;

    int Capture(std::string& status, int method, bool showDialogs) override;
    int Program(std::string& status) override;
    int Reset(std::string& status) override;
    int Unlock(std::string& status) override;
    int ReadMemoryLocation(std::string& status, uint8_t& value, int address,
                           int pollLimit) override;
    int WriteMemoryLocation(std::string& status, uint8_t value, int address) override;
    int GetPortNumber() const override;

    static constexpr int kPortNumber = 99;
    static constexpr int kMemoryStart = 0x100;
    static constexpr int kMemorySize = 256;

  private:
    std::array<uint8_t, kMemorySize> memory_;
};
