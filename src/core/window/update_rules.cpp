#include "window/update_rules.h"

#include "params/modem_parameter_set.h"

namespace vxl {

ControlEnabling EvaluateRule(UpdateRule rule, bool loaded, ModemParameterSet* parameters, int id,
                             int choice) {
    const bool available = parameters != nullptr && parameters->IsAvailable(id);
    auto editable = [&] { return parameters != nullptr && parameters->IsEditable(id); };
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
        case UpdateRule::AvailableEditable:
            out.enabled = loaded && available && editable();
            out.clear = !(available && editable());
            break;
        case UpdateRule::EditableOnly:
            out.enabled = loaded && editable();
            out.clear = !(available && editable());
            break;
        case UpdateRule::EditableKept:
            out.enabled = loaded && editable();
            break;
        case UpdateRule::LabelEditable:
            out.enabled = loaded && available && editable();
            break;
        case UpdateRule::Never:
            out.enabled = false;
            break;
        case UpdateRule::Choice:
            out.enabled =
                loaded && parameters != nullptr && parameters->IsChoiceEnabled(id, choice);
            break;
        case UpdateRule::SeveralChoices:
            out.enabled = loaded;
            break;
    }
    return out;
}

}  // namespace vxl
