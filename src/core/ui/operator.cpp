#include "ui/operator.h"

#include "ui/headless_operator.h"

namespace vxl {

OperatorInterface& Ui() {
    static HeadlessOperator headless;
    return Installed<OperatorInterface>::Get(headless);
}

}  // namespace vxl
