// The rule by which a page control is enabled in the idle-time pass, built from three facts:
// L = a modem is loaded, A = the parameter is available, E = the parameter is editable.
#pragma once

class ModemParameterSet;

namespace vxl {

enum class UpdateRule {
    None,              // always enabled (read-only texts)
    Plain,             // L
    Available,         // L and A; cleared when not A
    Editable,          // L and A and E; cleared when not A
    Label,             // A
    LabelOrNotLoaded,  // A or not L
    // Rules of single controls:
    AvailableEditable,  // L and A and E; cleared unless A and E
    EditableOnly,       // L and E; cleared unless A and E
    EditableKept,       // L and E
    LabelEditable,      // L and A and E
    Never,              // always disabled (shown, never changed by the operator)
    Choice,             // L and the control's choice of the parameter is enabled (radio buttons)
    SeveralChoices,     // L; the page also disables a list that holds exactly one item
};

struct ControlEnabling {
    bool enabled = true;
    bool clear = false;  // empty the text or remove the check mark
};

// `parameters` is null while nothing is loaded; `id` is the parameter the control shows and
// `choice` the choice a radio button stands for.
ControlEnabling EvaluateRule(UpdateRule rule, bool loaded, ModemParameterSet* parameters, int id,
                             int choice = 0);

}  // namespace vxl
