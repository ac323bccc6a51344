// The road of a load (attach, read, the firmware fix-up) and the release of the modem.
#include <cmath>
#include <cstdlib>

#include "coordinator/coordinator.h"
#include "link/wire_trace.h"
#include "modem/modem_base.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/preferences.h"
#include "util/result_codes.h"

using vxl::Prefs;
namespace pid = vxl::pid;
namespace rc = vxl::rc;

namespace {

// Revisions have two decimals; comparing them as whole hundredths keeps 1.04 computed from the
// modem's identity bytes equal to 1.04 read back from a preference text.
long Hundredths(double revision) {
    return std::lround(revision * 100.0);
}

// The previous revision stored by a firmware upgrade; `current` when none (or none readable)
// was stored.
double PreviousRevision(double current) {
    std::string text = Prefs().GetText(vxl::kPrefLastFWRev, "");
    if (text.empty()) return current;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    return end == text.c_str() ? current : value;
}

}  // namespace

int CCoordinator::Attach(std::string& responseText, bool interactive) {
    if (session_.GetPort() < 0) return rc::kNoPort;
    // The settings' image refers to the modem it came from.
    settings_.Release();
    programming_.Forget();
    const int result = session_.Attach(responseText, interactive);
    StateChanged();
    return vxl::TraceResult("Attach", result);
}

int CCoordinator::Read(std::string& responseText, bool interactive) {
    settings_.Clear();
    programming_.Forget();
    std::unique_ptr<ModemMemoryImage> image;
    int result = session_.ReadImage(responseText, interactive, image);
    if (result != rc::kOk) return vxl::TraceResult("Read", result);
    programming_.Remember(image->Clone());
    std::string definitionsLocation;
    result = settings_.Load(std::move(image), &definitionsLocation);
    // The operator learns which definitions file could not be used.
    if (result == rc::kCannotOpenIni || result == rc::kBadIni) responseText = definitionsLocation;
    if (result != rc::kOk && result != rc::kNoDefinition) return vxl::TraceResult("Read", result);
    settings_.Announce(vxl::ParameterChanges::All());
    StateChanged();
    return vxl::TraceResult("Read", rc::kOk);
}

int CCoordinator::Detach(std::string& responseText, bool keepOpen) {
    const bool attached = session_.IsAttached();
    settings_.Release();
    programming_.Released();
    session_.Release(responseText, keepOpen);
    if (attached) StateChanged();
    if (attached) vxl::GetWireTrace().Event(keepOpen ? "released (keepopen)" : "released", true);
    return rc::kOk;
}

int CCoordinator::StartDemo() {
    if (session_.IsAttached()) return rc::kAlreadyDemo;
    settings_.Release();
    programming_.Released();
    int result = session_.AttachDemo();
    if (result != rc::kOk) return result;
    std::string response;
    return Read(response, true);
}

int CCoordinator::ReleaseLostDevice() {
    const int lost = session_.DetectLostDevice();
    if (lost == 0) return 0;
    std::string response;
    Detach(response, true);  // nothing can reach the modem any more
    return lost;
}

int CCoordinator::FirmwareFixUp(std::string& responseText) {
    ModemParameterSet* parameters = settings_.Parameters();
    const CModemBase* modem = session_.GetModem();
    if (parameters == nullptr || modem == nullptr) return rc::kOk;
    int serial = 0;
    bool serialRead = parameters->GetInt(pid::kSerialNumber, serial) == rc::kOk;
    double current = modem->GetFirmwareRevision();
    int lastSerial = Prefs().GetInt(vxl::kPrefLastSerialNumber, -1);
    double previous = PreviousRevision(current);

    int result = rc::kOk;
    if (serialRead && serial == lastSerial && Hundredths(previous) != Hundredths(current)) {
        bool changed = false;
        result = ApplyFirmwareChange(previous, current, changed);
        if (result != rc::kOk) return result;
        if (changed) {
            result = Program(responseText);
            settings_.Announce(vxl::ParameterChanges::All());
        }
    }
    // Written only when set: each write of the store goes to the disk.
    if (lastSerial != -1) Prefs().SetInt(vxl::kPrefLastSerialNumber, -1);
    if (!Prefs().GetText(vxl::kPrefLastFWRev, "").empty()) Prefs().SetText(vxl::kPrefLastFWRev, "");
    return result;
}

int CCoordinator::ApplyFirmwareChange(double previous, double current, bool& changed) {
    constexpr long kSecurityRevision = 104;   // ModemEnable and DataSecurityCode appear
    constexpr long kExtensionRevision = 200;  // the extension moved by one byte
    ModemParameterSet& parameters = *settings_.Parameters();
    const long p = Hundredths(previous);
    const long r = Hundredths(current);
    if (p < kSecurityRevision && r >= kSecurityRevision) {
        changed = true;
        int result =
            parameters.SetBool(pid::kModemEnable, parameters.GetDefaultBool(pid::kModemEnable));
        if (result != rc::kOk) return result;
        return parameters.SetInt(pid::kDataSecurityCode,
                                 parameters.GetDefaultInt(pid::kDataSecurityCode));
    }
    if (p < kExtensionRevision && r >= kExtensionRevision) {
        changed = true;
        settings_.Image()->ShiftExtension(+1);
        const uint8_t zero = 0;
        int result = parameters.WriteParameterBytes(pid::kModemEnable, &zero);
        if (result != rc::kOk) return result;
        return parameters.SetBool(pid::kModemEnable, parameters.GetDefaultBool(pid::kModemEnable));
    }
    if (p >= kExtensionRevision && r < kExtensionRevision) {
        changed = true;
        settings_.Image()->ShiftExtension(-1);
    }
    return rc::kOk;
}
