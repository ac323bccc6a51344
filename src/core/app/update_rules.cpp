#include "app/update_rules.h"

#include "params/modem_parameter_set.h"

namespace vxl {

ControlEnabling EvaluateRule(UpdateRule rule, bool loaded, ModemParameterSet* parameters, int id) {
    const bool available = parameters != nullptr && parameters->IsAvailable(id);
    ControlEnabling out;
    switch (rule) {
        case UpdateRule::None:
            break;
        case UpdateRule::Plain:
            out.enabled = loaded;
            break;
        case UpdateRule::Available:
            out.enabled = loaded && available;
            out.clear = !available;
            break;
        case UpdateRule::Editable:
            out.enabled = loaded && available && parameters->IsEditable(id);
            out.clear = !available;
            break;
        case UpdateRule::Label:
            out.enabled = available;
            break;
        case UpdateRule::LabelOrNotLoaded:
            out.enabled = available || !loaded;
            break;
    }
    return out;
}

}  // namespace vxl
