#include "modem/modem_base.h"

#include "params/modem_memory_image.h"
#include "ui/operator.h"
#include "ui/progress_steps.h"
#include "util/result_codes.h"

CModemBase::CModemBase() = default;

CModemBase::~CModemBase() = default;

int CModemBase::ReadMemoryImage(std::string& status, bool showProgress) {
    status.clear();
    image_.reset();
    auto image = std::make_unique<ModemMemoryImage>();
    image->LoadFromModem(this, status, showProgress);
    bool loaded = image->IsLoaded();
    image_ = std::move(image);
    return loaded ? vxl::rc::kOk : vxl::rc::kCannotReadImage;
}

int CModemBase::WriteMemoryImage(std::string& status, const ModemMemoryImage& image) {
    return WriteMemoryImage(status, image, image.ConfigurationAddresses());
}

int CModemBase::WriteMemoryImage(std::string& status, const ModemMemoryImage& image,
                                 const std::vector<int>& addresses) {
    status.clear();
    std::vector<uint8_t> values(addresses.size());
    for (size_t i = 0; i < addresses.size(); ++i) {
        int result = image.ReadBytes(addresses[i], 1, &values[i]);
        if (result != vxl::rc::kOk) return result;
    }
    // Programming does not depend on the window: without one the bytes are still written.
    std::unique_ptr<vxl::ProgressWindow> window = vxl::Ui().OpenProgress(
        "Programming Modem",
        {"Programming modem with new settings", "Caution: Do not disconnect modem at this time."},
        false);
    std::unique_ptr<ModemMemoryImage> copy = image.Clone();
    if (!copy) return vxl::rc::kNoMemory;

    int result = Unlock(status);
    if (result != vxl::rc::kOk) return result;

    if (window) window->ShowBar(true);
    vxl::HundredthSteps steps(window.get(), static_cast<int>(addresses.size()));
    for (size_t i = 0; i < addresses.size(); ++i) {
        result = WriteMemoryLocation(status, values[i], addresses[i]);
        if (result != vxl::rc::kOk) return result;
        steps.Done(static_cast<int>(i + 1));
    }
    // Only a completely written image becomes the modem's own: after a failure the edits still
    // count as not programmed and can be written again.
    image_ = std::move(copy);
    return vxl::rc::kOk;
}

std::unique_ptr<ModemMemoryImage> CModemBase::GetImage() const {
    return image_ ? image_->Clone() : nullptr;
}

const ModemMemoryImage* CModemBase::GetLoadedImage() const {
    return image_.get();
}

int CModemBase::GetConfigurationSize() {
    return configurationSize_;
}

int CModemBase::GetIdentityWord() {
    return identityWord_;
}

double CModemBase::GetFirmwareRevision() const {
    return firmwareRevision_;
}

int CModemBase::GetModemType() const {
    return modemType_;
}

bool CModemBase::IsModelIdMissing() const {
    return modelIdMissing_;
}

void CModemBase::ClearModelIdMissing() {
    modelIdMissing_ = false;
}
