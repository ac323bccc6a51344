#include "ui/operator.h"

#include "ui/headless_operator.h"

namespace vxl {

bool OperatorInterface::ChooseOpenFile(const std::string&, const std::string&, const std::string&,
                                       std::string&) {
    return false;
}

bool OperatorInterface::ChooseSaveFile(const std::string&, const std::string&, const std::string&,
                                       std::string&) {
    return false;
}

OperatorInterface& Ui() {
    static HeadlessOperator headless;
    return Installed<OperatorInterface>::Get(headless);
}

}  // namespace vxl
