#include "coordinator/modem_session.h"

#include <cerrno>

#include "link/recording_link.h"
#include "link/serial_link.h"
#include "link/wire_trace.h"
#include "modem/capture_methods.h"
#include "modem/capture_steps.h"
#include "modem/modem.h"
#include "modem/modem_base.h"
#include "params/modem_memory_image.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/interrupt.h"
#include "util/preferences.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr const char* kUnitName = "Coordinator";
constexpr int kLocationOpenFailed = 239;
constexpr int kLocationNoModem = 277;
constexpr int kLocationReadFailed = 316;

constexpr const char* kDamagedCaption = "Settings May Be Damaged";
constexpr const char* kDamagedText =
    "The settings read from the modem do not match their checksum, even when read a second "
    "time: a byte may have been damaged on the line.\n\nProgramming them back would store the "
    "damaged byte for good. Cancel, check the connection and load the modem again, unless you "
    "know these settings are right.\n\nContinue with these settings?";

std::string Location(int number) {
    return Format("%s:%d", kUnitName, number);
}

// What a soft break that found no modem returns: the last rate's read got no answer, a wrong
// one, or one with bytes too many.
bool NoModemAnswered(int result) {
    return result == rc::kTimeout || result == rc::kIncorrectResponse || result == rc::kExcessBytes;
}

}  // namespace

ModemSession::ModemSession()
    : linkFactory_(DefaultLinkFactory()),
      modemFactory_(DefaultModemFactory()),
      demoFactory_(DefaultDemoModemFactory()) {}

ModemSession::~ModemSession() {
    modem_.reset();
    link_.reset();
}

int ModemSession::Init(int port, int captureMethod) {
    port_ = port >= 0 ? port : Prefs().GetInt(kPrefComPortNum, -1);
    if (captureMethod < 0) {
        captureMethod_ = Prefs().GetInt(kPrefCaptureMethod, kCapturePowerOn);
        return rc::kOk;
    }
    if (captureMethod == kCaptureSoftBreak || captureMethod == kCapturePowerOn) {
        captureMethod_ = captureMethod;
        return rc::kOk;
    }
    return rc::kBadCaptureMethod;
}

void ModemSession::SetPort(int n) {
    if (n < 0) return;
    port_ = n;
    Prefs().SetInt(kPrefComPortNum, n);
}

void ModemSession::SetCaptureMethod(int n) {
    if (n < 0) return;
    captureMethod_ = n;
    Prefs().SetInt(kPrefCaptureMethod, n);
}

int ModemSession::GetAttachedModemType() const {
    return modem_ != nullptr ? modem_->GetModemType() : 0;
}

int ModemSession::ExplainFailure(int result, std::string& responseText) {
    if (result == rc::kOk) return result;
    if (PendingInterrupt() != 0) return rc::kInterrupted;
    const int lost = link_ != nullptr ? link_->LostError() : 0;
    if (lost == 0) return result;
    lostDevice_ = link_->DevicePath();
    responseText = Format("the serial device %s went away", lostDevice_.c_str());
    return lost;
}

int ModemSession::DetectLostDevice() {
    const int lost = link_ != nullptr ? link_->LostError() : 0;
    if (lost == 0) return 0;
    lostDevice_ = link_->DevicePath();
    link_->DiscardPendingErrors();
    return lost;
}

int ModemSession::Attach(std::string& responseText, bool interactive) {
    if (port_ < 0) return rc::kNoPort;
    lostDevice_.clear();
    softBreakRatesTried_.clear();
    modem_.reset();
    link_.reset();

    int lastError = 0;
    GetWireTrace().Event(
        Format("attach: port %d, capture by %s", port_, CaptureMethodName(captureMethod_)));
    std::unique_ptr<ISerialLink> opened = linkFactory_ ? linkFactory_(port_, lastError) : nullptr;
    if (opened == nullptr) {
        location_ = Location(kLocationOpenFailed);
        return lastError != 0 ? lastError : EIO;
    }
    // The diagnostic trace sees every byte of the modem's line.
    link_ = std::make_unique<RecordingLink>(std::move(opened));
    link_->StartMonitor();

    responseText.clear();
    const int portBaud = link_->GetBaud();
    std::unique_ptr<CModemBase> modem;
    int result = modemFactory_ ? modemFactory_(responseText, link_.get(), modem, captureMethod_,
                                               location_, interactive)
                               : rc::kBadParameters;
    if ((result == rc::kOk || result == rc::kModelIdMissing) && modem != nullptr) {
        modem_ = std::move(modem);
        return result;
    }
    modem.reset();
    result = ExplainFailure(result, responseText);
    link_.reset();
    if (captureMethod_ == kCaptureSoftBreak && location_ == CModem::CaptureFailureLocation() &&
        NoModemAnswered(result)) {
        // The last read's diagnostic says nothing the rates do not say better.
        softBreakRatesTried_ = SoftBreakRates(portBaud);
        responseText.clear();
    }
    if (result == rc::kOk) {
        location_ = Location(kLocationNoModem);
        return rc::kNothingReceived;
    }
    return result;
}

int ModemSession::AttachDemo() {
    if (modem_ != nullptr) return rc::kAlreadyDemo;
    link_.reset();
    modem_ = demoFactory_ ? demoFactory_() : nullptr;
    return modem_ != nullptr ? rc::kOk : rc::kBadParameters;
}

int ModemSession::ReadImage(std::string& responseText, bool interactive,
                            std::unique_ptr<ModemMemoryImage>& image) {
    image.reset();
    checksumMismatch_ = false;
    lostDevice_.clear();
    if (modem_ == nullptr) return rc::kMissingArgument;
    int result = modem_->ReadMemoryImage(responseText, interactive);
    if (result == rc::kOk) {
        image = modem_->GetImage();
        if (image == nullptr) result = rc::kCannotReadImage;
    }
    if (result != rc::kOk) {
        location_ = Location(kLocationReadFailed);
        return ExplainFailure(result, responseText);
    }
    if (!image->ChecksumMatched()) {
        checksumMismatch_ = true;
        if (interactive && Ui().MessageBox(kDamagedText, kDamagedCaption, MsgIcon::Exclamation,
                                           MsgButtons::ContinueCancel) != MsgAnswer::Continue) {
            image.reset();
            location_ = Location(kLocationReadFailed);
            return rc::kCannotReadImage;
        }
    }
    return rc::kOk;
}

void ModemSession::Release(std::string& responseText, bool keepOpen) {
    if (modem_ != nullptr && !keepOpen) modem_->Reset(responseText);
    modem_.reset();
    link_.reset();
}

}  // namespace vxl
