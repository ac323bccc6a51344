#include "window/level_page_actions.h"

#include "coordinator/coordinator.h"
#include "coordinator/factory_operations.h"
#include "ui/operator.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr const char* kChannelInUse =
    "This channel cannot be cleared while it is the channel in use.";
constexpr const char* kNoFactoryFrequencies =
    "Cannot set factory frequencies for this modem.\n\nThis version of VXL Configuration "
    "Software does not have factory frequencies\nfor the frequency range used by this modem.";

}  // namespace

int EditChannelFrequency(CCoordinator& coordinator, int id, double mhz) {
    // The grid shows the channel as stored whatever the outcome: an emptied channel empty, a
    // frequency as the synthesizer holds it, the channel in use with its old frequency.
    const int result = coordinator.Settings().SetReal(id, mhz);
    if (result == rc::kZeroCurrentChannel) {
        Ui().MessageBox(kChannelInUse, "Error Changing Channel Frequencies", MsgIcon::Exclamation,
                        MsgButtons::Ok);
        ParameterChanges unchanged;
        unchanged.Add(id);
        coordinator.Settings().Announce(unchanged);
    }
    return result;
}

int EditMemoryByte(CCoordinator& coordinator, int offset, uint8_t value) {
    std::string problem;
    const int result = coordinator.Settings().WriteByte(offset, value, &problem);
    if (!problem.empty()) {
        // The page shows the byte as it is before it says why.
        coordinator.Settings().Announce(ParameterChanges());
        Ui().MessageBox(problem, "Error Changing Memory", MsgIcon::Exclamation, MsgButtons::Ok);
    }
    return result;
}

int SetFactoryFrequenciesCommand(CCoordinator& coordinator) {
    const int result = vxl::SetFactoryFrequencies(coordinator);
    // Without a modem the page cannot be reached; a modem is needed to say it has no table.
    if (result != rc::kOk && coordinator.IsLoaded()) {
        Ui().MessageBox(kNoFactoryFrequencies, "Set Factory Frequencies", MsgIcon::Exclamation,
                        MsgButtons::Ok);
    }
    return result;
}

}  // namespace vxl
