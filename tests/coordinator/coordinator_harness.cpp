#include "coordinator_harness.h"

#include "params/modem_parameter_set.h"
#include "util/result_codes.h"

namespace vxl::test {

CoordinatorHarness::CoordinatorHarness(const ModemIdentity& identity)
    : prefs(dir.File("prefs.conf")),
      modem(identity),
      scopedDefinitions_(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini"),
      scopedClock_(clock),
      scopedUi_(ui),
      scopedPrefs_(prefs) {
    // A modem whose channel 0 is in use (455.0 MHz both ways) and selected.
    const uint8_t word455rx[3] = {0x02, 0x7C, 0x68};
    for (int i = 0; i < 3; ++i) modem.memory[static_cast<size_t>(0x10B + i)] = word455rx[i];
    modem.memory[0x1A0] = 4;  // synthesizer type
    coordinator.SetLinkFactory([this](int, int& lastError) -> std::unique_ptr<ISerialLink> {
        ++linksOpened;
        if (openError != 0) {
            lastError = openError;
            return nullptr;
        }
        return std::make_unique<ForwardingLink>(modem);
    });
    coordinator.Init(3, 1);
}

int CoordinatorHarness::Load() {
    int result = coordinator.Attach(response, false);
    if (result != rc::kOk && result != rc::kModelIdMissing) return result;
    return coordinator.Read(response, false);
}

int CoordinatorHarness::LoadDemo() {
    return coordinator.StartDemo();
}

int CoordinatorHarness::Int(int id) const {
    int value = -999;
    ModemParameterSet* set = coordinator.GetParameterSet();
    if (set == nullptr || set->GetInt(id, value) != rc::kOk) return -999;
    return value;
}

bool CoordinatorHarness::Bool(int id) const {
    bool value = false;
    ModemParameterSet* set = coordinator.GetParameterSet();
    if (set != nullptr) set->GetBool(id, value);
    return value;
}

double CoordinatorHarness::Real(int id) const {
    double value = -999.0;
    ModemParameterSet* set = coordinator.GetParameterSet();
    if (set == nullptr || set->GetReal(id, value) != rc::kOk) return -999.0;
    return value;
}

std::string CoordinatorHarness::Text(int id) const {
    std::string text;
    ModemParameterSet* set = coordinator.GetParameterSet();
    if (set != nullptr) set->GetText(id, text);
    return text;
}

}  // namespace vxl::test
