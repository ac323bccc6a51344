#include "modem/modem_base.h"

#include "params/modem_memory_image.h"
#include "ui/operator.h"
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
    status.clear();
    // Programming does not depend on the window: without one the bytes are still written.
    std::unique_ptr<vxl::ProgressWindow> window = vxl::Ui().OpenProgress(
        "Programming Modem",
        {"Programming modem with new settings", "Caution: Do not disconnect modem at this time."},
        false);
    std::unique_ptr<ModemMemoryImage> copy = image.Clone();
    if (!copy) return vxl::rc::kNoMemory;

    int result = Unlock(status);
    if (result != vxl::rc::kOk) return result;

    const int total = image.GetMainSize() + image.GetExtensionSize();
    const int step = total / 100;
    int threshold = total - 99 * step - 1;
    if (window) {
        window->SetRange(0, 100);
        window->SetStep(1);
        window->ShowBar(true);
    }
    const int base = image.GetBaseAddress();
    for (int i = 0; i < total; ++i) {
        uint8_t value = 0;
        result = image.ReadBytes(base + i, 1, &value);
        if (result != vxl::rc::kOk) return result;
        result = WriteMemoryLocation(status, value, base + i);
        if (result != vxl::rc::kOk) return result;
        if (i > threshold) {
            threshold += step;
            if (window) window->StepIt();
        }
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
