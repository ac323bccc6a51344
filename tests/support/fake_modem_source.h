// A modem for tests of the parameter model: 64 KiB of memory in an array, a type, a firmware
// revision and a configuration size, with injectable read and unlock failures.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "params/modem_memory_image.h"
#include "params/modem_source.h"
#include "util/result_codes.h"

namespace vxl::test {

// One byte of an image, 0 where the address is refused.
inline uint8_t ByteAt(const ModemMemoryImage& image, int address) {
    uint8_t value = 0;
    image.ReadBytes(address, 1, &value);
    return value;
}
inline int WriteByte(ModemMemoryImage& image, int address, uint8_t value) {
    return image.WriteBytes(address, 1, &value);
}

class FakeModemSource : public IModemSource {
  public:
    FakeModemSource(int type, double revision, int configurationSize)
        : type_(type), revision_(revision), size_(configurationSize) {
        memory.fill(0);
    }

    int GetModemType() const override { return type_; }
    double GetFirmwareRevision() const override { return revision_; }
    int GetConfigurationSize() override { return size_; }
    int ReadMemoryLocation(std::string& status, uint8_t& value, int address,
                           int pollLimit) override {
        status.clear();
        readLog.push_back({address, pollLimit});
        if (address == failAddress) {
            status = "CModem::ReadMemoryLocation->";
            return rc::kTimeout;
        }
        if (address < 0 || address >= static_cast<int>(memory.size())) return rc::kBadAddress;
        value = memory[static_cast<size_t>(address)];
        // A byte damaged on the line reads as another value.
        if (address == damagedAddress && damagedReads != 0) {
            value ^= 0x10;
            --damagedReads;
        }
        return rc::kOk;
    }
    // Makes the configuration block's last byte its checksum, as in a healthy modem.
    void SetConfigChecksum() {
        if (size_ < 1 || size_ > 0x7F00) return;
        uint8_t sum = 0;
        for (int i = 0; i < size_ - 1; ++i) sum = static_cast<uint8_t>(sum + memory[0x100 + i]);
        memory[static_cast<size_t>(0x100 + size_ - 1)] = static_cast<uint8_t>(~sum);
    }
    int Unlock(std::string& status) override {
        status.clear();
        ++unlocks;
        if (unlockResult != rc::kOk) status = "Unlock1->";
        return unlockResult;
    }
    bool IsModelIdMissing() const override { return modelIdMissing; }
    void ClearModelIdMissing() override { modelIdMissing = false; }
    int GetIdentityWord() override { return identityWord; }
    const ModemMemoryImage* GetLoadedImage() const override { return loadedImage.get(); }

    // Reads this fake's memory into a fresh image and keeps it as the image "as loaded"; the
    // load's diagnostic goes to `loadStatus`.
    ModemMemoryImage& LoadImage(bool showProgress = false) {
        loadedImage = std::make_unique<ModemMemoryImage>();
        loadedImage->LoadFromModem(this, loadStatus, showProgress);
        return *loadedImage;
    }
    // Sizes an image for this modem and keeps it as the image "as loaded", without reading.
    ModemMemoryImage& InitialiseImage() {
        loadedImage = std::make_unique<ModemMemoryImage>();
        loadedImage->Initialise(this);
        return *loadedImage;
    }

    std::array<uint8_t, 0x10000> memory;
    int failAddress = -1;
    int damagedAddress = -1;
    int damagedReads = 0;  // how many reads of damagedAddress are damaged (-1: all)
    int unlockResult = rc::kOk;
    bool modelIdMissing = false;
    int identityWord = 0;
    struct Read {
        int address;
        int pollLimit;
    };
    std::vector<Read> readLog;
    int unlocks = 0;
    std::unique_ptr<ModemMemoryImage> loadedImage;
    std::string loadStatus;

  private:
    int type_;
    double revision_;
    int size_;
};

}  // namespace vxl::test
