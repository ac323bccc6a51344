// The byte image of a modem's configuration memory: N bytes from modem address 0x100 (the last
// one a checksum) followed by an extension of E bytes addressed as 0x8001 onward.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IModemSource;

class ModemMemoryImage {
  public:
    ModemMemoryImage();
    virtual ~ModemMemoryImage();

    // Reads the modem byte by byte (poll limit 10), unlocks it, then reads its two running
    // copies of the baud-rate and protocol-mode bytes (poll limit 1000) over the stored ones.
    // Replies carry no checksum, so a byte damaged on the line reads as a value: when the
    // configuration block as read does not match its checksum byte, it is read once more, and
    // ChecksumMatched tells whether the second read matched. Stops at the first failure,
    // leaving the image not loaded and the modem's diagnostic in `status`. With `showProgress`
    // a progress window advances 100 steps.
    void LoadFromModem(IModemSource* modem, std::string& status, bool showProgress);
    // Sizes the image for `modem` with zero bytes without reading anything (not loaded).
    void Initialise(IModemSource* modem);

    bool IsLoaded() const { return loaded_; }
    // False when the configuration block read from the modem did not match its checksum byte,
    // even when read twice (true for images not read from a modem).
    bool ChecksumMatched() const { return checksumMatched_; }
    // The stored baud-rate and protocol-mode bytes show the values the modem runs with (read from
    // its running copies); these are the addresses at which the modem, when this image was read,
    // stored other values than it ran with.
    const std::vector<int>& RunningValuesNotStored() const { return runningNotStored_; }
    void SetLoaded(bool loaded) { loaded_ = loaded; }
    std::unique_ptr<ModemMemoryImage> Clone() const;
    // True when both hold the same N + E bytes (two empty images are equal).
    bool Equals(const ModemMemoryImage& other) const;
    // True when the image differs from the modem's image as loaded; false without a modem or
    // before the modem has an image.
    bool IsModified() const;

    // Copy `count` bytes through the address mapping: 0 on success, 57 without a buffer, 58 when
    // any address lies outside the image, 62 for a negative count. A refused call changes
    // nothing. WriteBytes recomputes the checksum byte.
    int ReadBytes(int address, int count, uint8_t* out) const;
    int WriteBytes(int address, int count, const uint8_t* in);
    // The N + E configuration bytes in order (the extension after the main block), and the
    // same written back: 62 when `bytes` holds another number of bytes.
    std::vector<uint8_t> ConfigurationBytes() const;
    int WriteConfigurationBytes(const std::vector<uint8_t>& bytes);
    // The modem addresses the N + E configuration bytes are read from and written to, in the
    // same order: the extension follows the main block (its bytes map to 0x8001 on in the
    // image, and ReadBytes maps these addresses too).
    std::vector<int> ConfigurationAddresses() const;
    // The main block's last byte, the checksum.
    int ChecksumAddress() const { return kBaseAddress + mainSize_ - 1; }
    // Moves the extension window by `delta` bytes (N and E stay); the firmware fix-up uses +1/-1.
    void ShiftExtension(int delta);

    int GetModemType() const;
    double GetFirmwareRevision() const;
    std::string GetFirmwareRevisionText() const;
    int GetBaseAddress() const { return kBaseAddress; }
    int GetMainSize() const { return mainSize_; }
    int GetExtensionSize() const { return extensionSize_; }
    IModemSource* GetModem() const { return modem_; }

    // E for a modem: 5 for type 4 below firmware 1.04, 9 from 1.04 on, 0 otherwise.
    static int ExtensionSizeFor(int modemType, double firmwareRevision);

    static constexpr int kBaseAddress = 0x100;
    static constexpr int kExtensionAddress = 0x8001;
    static constexpr int kMaxExtensionSize = 9;
    static constexpr int kLoadPollLimit = 10;
    static constexpr int kActiveValuePollLimit = 1000;

  private:
    // The byte index of `address`, or -1 when it lies outside the image.
    int IndexOf(long long address) const;
    // The byte indexes of a range; 57, 62 or 58 as ReadBytes/WriteBytes return them.
    int MapRange(const void* buffer, int address, int count, std::vector<size_t>& indexes) const;
    void RecomputeChecksum();
    uint8_t ComputedChecksum() const;
    // Sizes the image for the modem; false (and no bytes) when the modem cannot be imaged.
    bool Prepare(IModemSource* modem);
    bool ReadAll(std::string& status, bool showProgress);
    int ReadActiveValue(std::string& status, int activeAddress, int storedAddress);

    int mainSize_ = 0;
    int extensionSize_ = 0;
    std::vector<uint8_t> bytes_;
    IModemSource* modem_ = nullptr;
    int activeBaudRateAddress_ = 0;
    int activeProtocolModeAddress_ = 0;
    bool loaded_ = false;
    bool checksumMatched_ = true;
    std::vector<int> runningNotStored_;
};
