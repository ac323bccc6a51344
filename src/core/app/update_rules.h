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
};

struct ControlEnabling {
    bool enabled = true;
    bool clear = false;  // empty the text or remove the check mark
};

// `parameters` is null while nothing is loaded; `id` is the parameter the control shows.
ControlEnabling EvaluateRule(UpdateRule rule, bool loaded, ModemParameterSet* parameters, int id);

}  // namespace vxl
