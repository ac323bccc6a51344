// Parameter edits from the pages and the rules that tie parameters to each other.
#include "coordinator/coordinator.h"
#include "coordinator/factory_tables.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/modem_types.h"
#include "params/parameter_ids.h"
#include "util/format.h"
#include "util/result_codes.h"

namespace pid = vxl::pid;
namespace rc = vxl::rc;
using vxl::CoordinatorPage;

namespace {

// ChannelSelectType values.
constexpr int kManual = 0;
constexpr int kAutoBase = 1;
constexpr int kAutoRover = 2;

}  // namespace

// Every edit ends with the Memory Map page and the dialog brought up to date.
int CCoordinator::FinishEdit(int result) {
    FillPage(CoordinatorPage::MemoryMap);
    UpdateDialog();
    return result;
}

int CCoordinator::SetBoolParameter(int id, bool value) {
    if (parameters_ == nullptr) return rc::kMissingArgument;
    return FinishEdit(parameters_->SetBool(id, value));
}

int CCoordinator::SetIntParameter(int id, int value) {
    if (parameters_ == nullptr || !parameters_->IsAvailable(id)) return rc::kMissingArgument;
    int result = parameters_->SetInt(id, value);
    if (result != rc::kOk) return result;
    ApplyRules(id, value);
    return FinishEdit(rc::kOk);
}

int CCoordinator::SetRealParameter(int id, double value) {
    if (parameters_ == nullptr) return rc::kMissingArgument;
    int result = parameters_->SetReal(id, value);
    if (id == pid::kEOTTimeout && view_ != nullptr) {
        // One byte read three ways: the character and count controls show it too.
        const int code = IntOf(pid::kEOTCharacter);
        view_->ShowInt(pid::kEOTCharacter, code);
        view_->ShowInt(pid::kEOTCount, code);
    }
    return FinishEdit(result);
}

int CCoordinator::SetTextParameter(int id, const std::string& text) {
    if (parameters_ == nullptr) return rc::kMissingArgument;
    return FinishEdit(parameters_->SetText(id, text));
}

int CCoordinator::WriteMemoryByte(int offset, uint8_t value) {
    int result = EnsureLoaded();
    if (result != rc::kOk) return result;
    result = parameters_->WriteBytes(working_->GetBaseAddress() + offset, 1, &value);
    RefreshPages();
    UpdateDialog();
    return result;
}

void CCoordinator::ReloadDefinitions() {
    std::string location;
    parameters_->LoadDefaults(location);
}

void CCoordinator::ApplyRules(int id, int value) {
    const bool type4 = ModemType() == vxl::kModemTypeVxl;
    switch (id) {
        case pid::kSerialNumber:
            if (view_ != nullptr)
                view_->ShowText(pid::kSerialNumber, vxl::Format("%*.*d", 8, 8, value));
            break;
        case pid::kEOTCharacter:
        case pid::kEOTCount:
            // The character and the count are the same byte: show it in the other control.
            if (view_ != nullptr) {
                view_->ShowInt(id == pid::kEOTCharacter ? pid::kEOTCount : pid::kEOTCharacter,
                               value);
            }
            ShowCurrentReal(pid::kEOTTimeout);
            break;
        case pid::kModel:
            ApplyModelRule(value);
            break;
        case pid::kFrequency:
            if (type4) ShowModemId();
            RefreshPages();
            if (view_ != nullptr) view_->ShowInt(id, value);
            break;
        case pid::kPower:
            if (view_ != nullptr) view_->ShowInt(id, value);
            ShowModemId();
            FillPage(CoordinatorPage::Identification);
            break;
        case pid::kCrystal:
            ShowModemId();
            break;
        case pid::kChannelBandwidth:
            ApplyBandwidthRule(value);
            break;
        case pid::kModulationType:
            if (view_ != nullptr) view_->ShowInt(id, value);
            ApplyModulationRule(value);
            ReloadDefinitions();
            RefreshPages();
            if (view_ != nullptr) view_->ShowInt(id, value);
            break;
        case pid::kLinkRate:
            if (type4) {
                ApplyLinkRateRule(value);
            } else if (view_ != nullptr) {
                view_->ShowInt(id, value);
            }
            ReloadDefinitions();
            RefreshPages();
            if (view_ != nullptr) view_->ShowInt(id, value);
            break;
        case pid::kProtocolMode:
            ApplyProtocolModeRule(value);
            break;
        default:
            break;
    }
}

void CCoordinator::ApplyModelRule(int value) {
    if (ModemType() == vxl::kModemTypeVxl) {
        ShowModemId();
        if (const vxl::ModelRule* rule = vxl::FindModelRule(value)) {
            const int power = IntOf(pid::kPower);
            if (power < 0 || power > 3 || !rule->powerAllowed[power]) {
                parameters_->SetInt(pid::kPower, rule->defaultPower);
            }
            const int selection = IntOf(pid::kChannelSelectType);
            // A base station does not select its channel as a rover, nor a rover as a base.
            if (selection == (rule->base ? kAutoRover : kAutoBase)) {
                parameters_->SetInt(pid::kChannelSelectType, kManual);
            }
            if (view_ != nullptr) view_->SetTransmitColumnEditable(rule->base);
        }
        RefreshPages();
    }
    if (view_ != nullptr) view_->ShowInt(pid::kModel, value);
    ReloadDefinitions();
    RefreshPages();
}

void CCoordinator::ApplyBandwidthRule(int value) {
    if (view_ != nullptr) view_->ShowInt(pid::kChannelBandwidth, value);
    if (ModemType() == vxl::kModemTypeVxl) ApplyLinkRateRule(IntOf(pid::kLinkRate));
    ApplyModulationRule(IntOf(pid::kModulationType));
    RefreshPages();
    if (view_ != nullptr) view_->ShowInt(pid::kChannelBandwidth, value);
    ReloadDefinitions();
}

// Type 4: some link rates need a given modulation.
void CCoordinator::ApplyLinkRateRule(int linkRate) {
    if (ModemType() != vxl::kModemTypeVxl) return;
    const int modulation = vxl::ModulationForLinkRate(IntOf(pid::kChannelBandwidth), linkRate);
    if (modulation >= 0) parameters_->SetInt(pid::kModulationType, modulation);
}

// Type 4: a modulation rules out some link rates.
void CCoordinator::ApplyModulationRule(int modulation) {
    if (ModemType() != vxl::kModemTypeVxl) return;
    const int linkRate = vxl::LinkRateForModulation(IntOf(pid::kChannelBandwidth), modulation,
                                                    IntOf(pid::kLinkRate));
    if (linkRate >= 0) parameters_->SetInt(pid::kLinkRate, linkRate);
}

void CCoordinator::ApplyProtocolModeRule(int value) {
    constexpr int kTransparentTimeout = 0;
    constexpr int kTransparentCharacter = 1;
    constexpr int kPacketSwitched = 2;
    constexpr int kDigipeater = 3;
    constexpr int kFastAsync = 4;
    constexpr int kTrimMark = 5;
    constexpr int kTrimTalk = 6;
    constexpr int kGmsk = 0;
    switch (value) {
        case kTransparentTimeout:
        case kTransparentCharacter:
            ShowCurrentInt(pid::kLocalAddress);
            ShowCurrentInt(pid::kRemoteAddress);
            ShowCurrentBool(pid::kForwardErrorCorrection);
            break;
        case kPacketSwitched:
            ShowCurrentInt(pid::kLocalAddress);
            ShowCurrentBool(pid::kForwardErrorCorrection);
            break;
        case kDigipeater:
        case kFastAsync:
            parameters_->SetBool(pid::kRepeater, value == kDigipeater);
            if (view_ != nullptr) view_->ShowBool(pid::kRepeater, value == kDigipeater);
            if (value == kDigipeater) ShowCurrentBool(pid::kForwardErrorCorrection);
            break;
        case kTrimMark:
        case kTrimTalk:
            if (ModemType() == vxl::kModemTypeVxl) {
                parameters_->SetInt(pid::kModulationType, kGmsk);
                if (view_ != nullptr) view_->ShowInt(pid::kModulationType, kGmsk);
                const int linkRate = IntOf(pid::kLinkRate);
                if (linkRate != 2 && linkRate != 3) {
                    parameters_->SetInt(pid::kLinkRate, 3);
                    if (view_ != nullptr) view_->ShowInt(pid::kLinkRate, 3);
                }
            }
            ShowCurrentBool(pid::kForwardErrorCorrection);
            break;
        default:
            ShowCurrentBool(pid::kForwardErrorCorrection);
            break;
    }
    // The timeout's scale and the scrambling byte both depend on the protocol mode.
    double minimum = 0.0;
    double maximum = 0.0;
    int decimals = 0;
    if (view_ != nullptr &&
        parameters_->GetRealRange(pid::kEOTTimeout, minimum, maximum, decimals) == rc::kOk) {
        view_->SetRealRange(pid::kEOTTimeout, minimum, maximum, decimals);
    }
    ShowCurrentReal(pid::kEOTTimeout);
    parameters_->SetBool(pid::kScrambling, BoolOf(pid::kScrambling));
}
