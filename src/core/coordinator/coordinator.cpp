#include "coordinator/coordinator.h"

#include "link/wire_trace.h"
#include "modem/modem_base.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/result_codes.h"

namespace pid = vxl::pid;
namespace rc = vxl::rc;

namespace {

constexpr int kSupportedModel = 5;

}  // namespace

CCoordinator::CCoordinator() = default;

CCoordinator::~CCoordinator() {
    settings_.Release();
}

int CCoordinator::Init(int port, int captureMethod) {
    programming_.Init();
    return session_.Init(port, captureMethod);
}

void CCoordinator::SetView(vxl::CoordinatorView* view) {
    view_ = view;
    settings_.SetView(view);
}

void CCoordinator::StateChanged() {
    if (view_ != nullptr) view_->StateChanged();
}

bool CCoordinator::IsSupportedModel() const {
    return GetModel() == kSupportedModel;
}

bool CCoordinator::MayProgram() const {
    if (!IsModified()) return false;
    const CModemBase* modem = session_.GetModem();
    if (modem == nullptr) return true;
    int channel = -1;
    settings_.Parameters()->GetInt(pid::kCurrentChannel, channel);
    return !modem->IsModelIdMissing() && channel < pid::kChannelCount;
}

int CCoordinator::Program(std::string& responseText) {
    const int result = programming_.Program(responseText);
    StateChanged();
    return vxl::TraceResult("Program", result);
}

int CCoordinator::Undo() {
    const ModemMemoryImage* held = programming_.HeldImage();
    if (!settings_.IsLoaded() || held == nullptr) return rc::kMissingArgument;
    // A definitions problem was reported when the modem was loaded.
    settings_.Load(held->Clone());
    settings_.Announce(vxl::ParameterChanges::All());
    return rc::kOk;
}
