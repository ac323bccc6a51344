#include "coordinator/coordinator.h"

#include "backup/backup_store.h"
#include "coordinator/factory_tables.h"
#include "link/serial_link.h"
#include "modem/capture_methods.h"
#include "modem/modem_base.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "util/preferences.h"
#include "util/result_codes.h"

using vxl::Prefs;
namespace pid = vxl::pid;
namespace rc = vxl::rc;

namespace {

constexpr int kSupportedModel = 5;

}  // namespace

CCoordinator::CCoordinator()
    : linkFactory_(vxl::DefaultLinkFactory()),
      modemFactory_(vxl::DefaultModemFactory()),
      demoFactory_(vxl::DefaultDemoModemFactory()) {
    backupRoot_ = vxl::DefaultBackupRoot();
}

CCoordinator::~CCoordinator() {
    DropLoadedState();
    modem_.reset();
    link_.reset();
}

int CCoordinator::Init(int port, int captureMethod) {
    port_ = port >= 0 ? port : Prefs().GetInt(vxl::kPrefComPortNum, -1);
    verify_ = Prefs().GetInt(vxl::kPrefVerifyAfterProgramming, 1) != 0;
    if (captureMethod < 0) {
        captureMethod_ = Prefs().GetInt(vxl::kPrefCaptureMethod, vxl::kCapturePowerOn);
        return rc::kOk;
    }
    if (captureMethod == vxl::kCaptureSoftBreak || captureMethod == vxl::kCapturePowerOn) {
        captureMethod_ = captureMethod;
        return rc::kOk;
    }
    return rc::kBadCaptureMethod;
}

void CCoordinator::SetPort(int n) {
    if (n < 0) return;
    port_ = n;
    Prefs().SetInt(vxl::kPrefComPortNum, n);
}

void CCoordinator::SetCaptureMethod(int n) {
    if (n < 0) return;
    captureMethod_ = n;
    Prefs().SetInt(vxl::kPrefCaptureMethod, n);
}

void CCoordinator::SetLinkFactory(vxl::LinkFactory factory) {
    linkFactory_ = std::move(factory);
}

void CCoordinator::SetModemFactory(vxl::ModemFactory factory) {
    modemFactory_ = std::move(factory);
}

void CCoordinator::SetDemoModemFactory(vxl::DemoModemFactory factory) {
    demoFactory_ = std::move(factory);
}

void CCoordinator::SetVerifyAfterProgramming(bool on, bool remember) {
    verify_ = on;
    if (remember) Prefs().SetInt(vxl::kPrefVerifyAfterProgramming, on ? 1 : 0);
}

bool CCoordinator::IsModified() const {
    if (working_ == nullptr) return false;
    if (unverified_) return true;
    return programmedImage_ == nullptr || !working_->Equals(*programmedImage_);
}

int CCoordinator::GetModel() const {
    if (parameters_ == nullptr) return -1;
    return IntOf(pid::kModel);
}

bool CCoordinator::IsSupportedModel() const {
    return GetModel() == kSupportedModel;
}

int CCoordinator::GetAttachedModemType() const {
    return modem_ != nullptr ? modem_->GetModemType() : 0;
}

bool CCoordinator::MayProgram() const {
    if (!IsModified()) return false;
    if (modem_ == nullptr) return true;
    return !modem_->IsModelIdMissing() && IntOf(pid::kCurrentChannel) < pid::kChannelCount;
}

int CCoordinator::EnsureLoaded() const {
    return parameters_ != nullptr ? rc::kOk : rc::kMissingArgument;
}

// ---- small helpers shared by the operations ----

int CCoordinator::IntOf(int id, int fallback) const {
    int value = fallback;
    if (parameters_ == nullptr || parameters_->GetInt(id, value) != rc::kOk) return fallback;
    return value;
}

bool CCoordinator::BoolOf(int id) const {
    bool value = false;
    if (parameters_ == nullptr || parameters_->GetBool(id, value) != rc::kOk) return false;
    return value;
}

double CCoordinator::RealOf(int id) const {
    double value = 0.0;
    if (parameters_ == nullptr || parameters_->GetReal(id, value) != rc::kOk) return 0.0;
    return value;
}

int CCoordinator::ModemType() const {
    return parameters_ != nullptr ? parameters_->GetModemType() : 0;
}

void CCoordinator::ShowCurrentInt(int id) {
    if (view_ != nullptr) view_->ShowInt(id, IntOf(id));
}

void CCoordinator::ShowCurrentBool(int id) {
    if (view_ != nullptr) view_->ShowBool(id, BoolOf(id));
}

void CCoordinator::ShowCurrentReal(int id) {
    if (view_ != nullptr) view_->ShowReal(id, RealOf(id));
}

void CCoordinator::ShowModemId() {
    if (view_ == nullptr || parameters_ == nullptr) return;
    std::string text;
    parameters_->GetText(pid::kModemID, text);
    view_->ShowText(pid::kModemID, text);
}

void CCoordinator::FillPage(vxl::CoordinatorPage page) {
    if (view_ != nullptr && parameters_ != nullptr) view_->FillPage(page, *parameters_);
}

void CCoordinator::UpdateDialog() {
    if (view_ != nullptr) view_->UpdateDialog();
}

// A type-4 modem stored with a link rate that its modulation and bandwidth rule out (an older
// program, or a changed bandwidth) is shown, and then kept, with the rate that fits.
void CCoordinator::FitLinkRateToModulation() {
    if (ModemType() != vxl::kModemTypeVxl) return;
    const int linkRate = vxl::LinkRateForModulation(
        IntOf(pid::kChannelBandwidth), IntOf(pid::kModulationType), IntOf(pid::kLinkRate));
    if (linkRate >= 0) parameters_->SetInt(pid::kLinkRate, linkRate);
}

int CCoordinator::RefreshPages() {
    if (view_ == nullptr) return rc::kOk;
    if (parameters_ == nullptr) return rc::kMissingArgument;
    for (vxl::CoordinatorPage page : vxl::kPagesInFillOrder) {
        if (page == vxl::CoordinatorPage::RadioLink) FitLinkRateToModulation();
        int result = view_->FillPage(page, *parameters_);
        if (result != rc::kOk) return result;
    }
    return rc::kOk;
}

int CCoordinator::RefreshLinkPage() {
    if (view_ == nullptr) return rc::kOk;
    if (parameters_ == nullptr) return rc::kMissingArgument;
    FitLinkRateToModulation();
    return view_->FillPage(vxl::CoordinatorPage::RadioLink, *parameters_);
}
