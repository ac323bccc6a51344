// What the coordinator tells whoever shows its modem (the main window): which parameters
// changed, and that its state changed. The view reads what it shows from the coordinator; a run
// without windows has no view, and nothing is told.
#pragma once

#include "params/parameter_changes.h"

namespace vxl {

class CoordinatorView {
  public:
    virtual ~CoordinatorView() = default;

    // The working settings changed: these parameters read differently now (every one after a
    // load, an undo, a restore or an import), and the image's bytes changed with them.
    virtual void ValuesChanged(const ParameterChanges& changes) = 0;
    // A modem was attached, loaded, programmed or released, or the changes became pending or
    // not: enabling, marks and what the pages show without a modem follow.
    virtual void StateChanged() = 0;
};

}  // namespace vxl
