#include "params/modem_memory_image.h"

#include <algorithm>

#include "params/modem_source.h"
#include "params/modem_types.h"
#include "ui/operator.h"
#include "ui/progress_steps.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace {

constexpr int kStoredBaudRateAddress = 0x18B;
constexpr int kStoredProtocolModeAddress = 0x190;

// Main blocks longer than this would run into the extension's addresses.
constexpr int kMaxMainSize = ModemMemoryImage::kExtensionAddress - ModemMemoryImage::kBaseAddress;

struct ActiveAddresses {
    int baudRate;
    int protocolMode;
};

// Where each modem type keeps the copies of the baud-rate and protocol-mode bytes it runs with.
ActiveAddresses ActiveAddressesFor(int modemType) {
    switch (modemType) {
        case 1:
        case 2:
            return {0xAE8B, 0xAE90};
        case 3:
            return {0xB68B, 0xB690};
        default:
            return {0xEE8B, 0xEE90};
    }
}

}  // namespace

ModemMemoryImage::ModemMemoryImage() = default;
ModemMemoryImage::~ModemMemoryImage() = default;

int ModemMemoryImage::ExtensionSizeFor(int modemType, double firmwareRevision) {
    if (modemType != vxl::kModemTypeVxl) return 0;
    // Revisions are two-decimal numbers held as doubles; compare in hundredths.
    return firmwareRevision * 100.0 + 0.5 < 104.0 ? 5 : 9;
}

bool ModemMemoryImage::Prepare(IModemSource* modem) {
    modem_ = modem;
    loaded_ = false;
    checksumMatched_ = true;
    runningNotStored_.clear();
    mainSize_ = 0;
    extensionSize_ = 0;
    bytes_.clear();
    if (modem == nullptr) return false;
    int type = modem->GetModemType();
    if (type < vxl::kModemTypeQmxEarly || type > vxl::kModemTypeVxl) return false;
    int size = modem->GetConfigurationSize();
    if (size < 1 || size > kMaxMainSize) return false;
    mainSize_ = size;
    extensionSize_ = ExtensionSizeFor(type, modem->GetFirmwareRevision());
    bytes_.assign(static_cast<size_t>(mainSize_ + kMaxExtensionSize), 0);
    ActiveAddresses active = ActiveAddressesFor(type);
    activeBaudRateAddress_ = active.baudRate;
    activeProtocolModeAddress_ = active.protocolMode;
    return true;
}

void ModemMemoryImage::Initialise(IModemSource* modem) {
    Prepare(modem);
}

void ModemMemoryImage::LoadFromModem(IModemSource* modem, std::string& status, bool showProgress) {
    if (!Prepare(modem)) return;
    if (!ReadAll(status, showProgress)) return;
    // Checked before the running copies go in: they may differ from the stored bytes.
    checksumMatched_ = ComputedChecksum() == bytes_[static_cast<size_t>(mainSize_ - 1)];
    if (!checksumMatched_) {
        if (!ReadAll(status, showProgress)) return;
        checksumMatched_ = ComputedChecksum() == bytes_[static_cast<size_t>(mainSize_ - 1)];
    }
    if (modem_->Unlock(status) != vxl::rc::kOk) return;
    if (ReadActiveValue(status, activeProtocolModeAddress_, kStoredProtocolModeAddress) !=
        vxl::rc::kOk)
        return;
    if (ReadActiveValue(status, activeBaudRateAddress_, kStoredBaudRateAddress) != vxl::rc::kOk)
        return;
    loaded_ = true;
}

bool ModemMemoryImage::ReadAll(std::string& status, bool showProgress) {
    std::unique_ptr<vxl::ProgressWindow> progress;
    if (showProgress)
        progress = vxl::Ui().OpenProgress("Reading Modem", {"Reading modem settings..."}, false);
    const int total = mainSize_ + extensionSize_;
    vxl::HundredthSteps steps(progress.get(), total);
    for (int i = 0; i < total; ++i) {
        uint8_t value = 0;
        // The extension is fetched from the addresses that follow the main block.
        if (modem_->ReadMemoryLocation(status, value, kBaseAddress + i, kLoadPollLimit) !=
            vxl::rc::kOk)
            return false;
        bytes_[static_cast<size_t>(i)] = value;
        steps.Done(i + 1);
    }
    return true;
}

int ModemMemoryImage::ReadActiveValue(std::string& status, int activeAddress, int storedAddress) {
    uint8_t value = 0;
    int code = modem_->ReadMemoryLocation(status, value, activeAddress, kActiveValuePollLimit);
    if (code != vxl::rc::kOk) return code;
    int index = IndexOf(storedAddress);
    if (index < 0) return vxl::rc::kOk;
    if (bytes_[static_cast<size_t>(index)] != value) runningNotStored_.push_back(storedAddress);
    bytes_[static_cast<size_t>(index)] = value;
    return vxl::rc::kOk;
}

std::unique_ptr<ModemMemoryImage> ModemMemoryImage::Clone() const {
    return std::make_unique<ModemMemoryImage>(*this);
}

bool ModemMemoryImage::Equals(const ModemMemoryImage& other) const {
    const int size = mainSize_ + extensionSize_;
    if (size != other.mainSize_ + other.extensionSize_) return false;
    return std::equal(bytes_.begin(), bytes_.begin() + size, other.bytes_.begin());
}

bool ModemMemoryImage::IsModified() const {
    if (modem_ == nullptr) return false;
    const ModemMemoryImage* loaded = modem_->GetLoadedImage();
    if (loaded == nullptr) return false;
    return !Equals(*loaded);
}

int ModemMemoryImage::IndexOf(long long address) const {
    long long index =
        address > 0x8000 ? mainSize_ + address - kExtensionAddress : address - kBaseAddress;
    if (index < 0 || index >= mainSize_ + extensionSize_) return -1;
    return static_cast<int>(index);
}

int ModemMemoryImage::MapRange(const void* buffer, int address, int count,
                               std::vector<size_t>& indexes) const {
    if (buffer == nullptr) return vxl::rc::kMissingArgument;
    if (count < 0) return vxl::rc::kBadOffsetOrLength;
    indexes.clear();
    for (int k = 0; k < count; ++k) {
        int index = IndexOf(static_cast<long long>(address) + k);
        if (index < 0) return vxl::rc::kBadAddress;
        indexes.push_back(static_cast<size_t>(index));
    }
    return vxl::rc::kOk;
}

int ModemMemoryImage::ReadBytes(int address, int count, uint8_t* out) const {
    std::vector<size_t> indexes;
    int code = MapRange(out, address, count, indexes);
    if (code != vxl::rc::kOk) return code;
    for (size_t k = 0; k < indexes.size(); ++k) out[k] = bytes_[indexes[k]];
    return vxl::rc::kOk;
}

int ModemMemoryImage::WriteBytes(int address, int count, const uint8_t* in) {
    std::vector<size_t> indexes;
    int code = MapRange(in, address, count, indexes);
    if (code != vxl::rc::kOk) return code;
    for (size_t k = 0; k < indexes.size(); ++k) bytes_[indexes[k]] = in[k];
    RecomputeChecksum();
    return vxl::rc::kOk;
}

uint8_t ModemMemoryImage::ComputedChecksum() const {
    uint8_t sum = 0;
    for (int i = 0; i < mainSize_ - 1; ++i) sum = static_cast<uint8_t>(sum + bytes_[i]);
    return static_cast<uint8_t>(~sum);
}

void ModemMemoryImage::RecomputeChecksum() {
    if (mainSize_ < 1) return;
    bytes_[static_cast<size_t>(mainSize_ - 1)] = ComputedChecksum();
}

std::vector<uint8_t> ModemMemoryImage::ConfigurationBytes() const {
    std::vector<uint8_t> bytes(static_cast<size_t>(mainSize_ + extensionSize_), 0);
    ReadBytes(kBaseAddress, mainSize_, bytes.data());
    if (extensionSize_ > 0) ReadBytes(kExtensionAddress, extensionSize_, bytes.data() + mainSize_);
    return bytes;
}

std::vector<int> ModemMemoryImage::ConfigurationAddresses() const {
    std::vector<int> addresses(static_cast<size_t>(mainSize_ + extensionSize_));
    for (size_t i = 0; i < addresses.size(); ++i) addresses[i] = kBaseAddress + static_cast<int>(i);
    return addresses;
}

int ModemMemoryImage::WriteConfigurationBytes(const std::vector<uint8_t>& bytes) {
    if (bytes.size() != static_cast<size_t>(mainSize_ + extensionSize_))
        return vxl::rc::kBadOffsetOrLength;
    int result = WriteBytes(kBaseAddress, mainSize_, bytes.data());
    if (result == vxl::rc::kOk && extensionSize_ > 0)
        result = WriteBytes(kExtensionAddress, extensionSize_, bytes.data() + mainSize_);
    return result;
}

void ModemMemoryImage::ShiftExtension(int delta) {
    if (delta == 0 || bytes_.empty()) return;
    const long long size = static_cast<long long>(bytes_.size());
    // Taken from the old bytes first: the source window may overlap the extension.
    std::vector<uint8_t> moved(static_cast<size_t>(extensionSize_), 0);
    for (int k = 0; k < extensionSize_; ++k) {
        long long from = static_cast<long long>(mainSize_) - static_cast<long long>(delta) + k;
        if (from >= 0 && from < size)
            moved[static_cast<size_t>(k)] = bytes_[static_cast<size_t>(from)];
    }
    std::copy(moved.begin(), moved.end(), bytes_.begin() + mainSize_);
}

int ModemMemoryImage::GetModemType() const {
    return modem_ == nullptr ? 0 : modem_->GetModemType();
}

double ModemMemoryImage::GetFirmwareRevision() const {
    return modem_ == nullptr ? 0.0 : modem_->GetFirmwareRevision();
}

std::string ModemMemoryImage::GetFirmwareRevisionText() const {
    return modem_ == nullptr ? std::string() : vxl::Format("%3.2f", GetFirmwareRevision());
}
