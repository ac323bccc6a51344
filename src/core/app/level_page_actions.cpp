#include "app/level_page_actions.h"

#include "coordinator/coordinator.h"
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
    const int result = coordinator.SetRealParameter(id, mhz);
    if (result == rc::kOk) {
        coordinator.RefreshLinkPage();
    } else if (result == rc::kZeroCurrentChannel) {
        Ui().MessageBox(kChannelInUse, "Error Changing Channel Frequencies", MsgIcon::Exclamation,
                        MsgButtons::Ok);
    } else {
        // Any other refusal leaves the typed text until the next filling.
        return result;
    }
    // The grid shows the channel as stored: an emptied channel empty, a frequency as the
    // synthesizer holds it, the channel in use with its old frequency.
    CoordinatorView* view = coordinator.GetView();
    if (view != nullptr && coordinator.GetParameterSet() != nullptr)
        view->FillPage(CoordinatorPage::Frequencies, *coordinator.GetParameterSet());
    return result;
}

int SetFactoryFrequenciesCommand(CCoordinator& coordinator) {
    const int result = coordinator.SetFactoryFrequencies();
    // Without a modem the page cannot be reached; a modem is needed to say it has no table.
    if (result != rc::kOk && coordinator.IsLoaded()) {
        Ui().MessageBox(kNoFactoryFrequencies, "Set Factory Frequencies", MsgIcon::Exclamation,
                        MsgButtons::Ok);
    }
    return result;
}

}  // namespace vxl
