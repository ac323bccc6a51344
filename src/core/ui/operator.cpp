#include "ui/operator.h"

#include "ui/headless_operator.h"

namespace vxl {

namespace {
HeadlessOperator& DefaultUi() {
    static HeadlessOperator ui;
    return ui;
}
OperatorInterface* g_ui = nullptr;
}  // namespace

OperatorInterface& Ui() {
    return g_ui ? *g_ui : DefaultUi();
}

void SetUi(OperatorInterface* ui) {
    g_ui = ui;
}

ScopedUi::ScopedUi(OperatorInterface& ui) : previous_(g_ui) {
    g_ui = &ui;
}

ScopedUi::~ScopedUi() {
    g_ui = previous_;
}

}  // namespace vxl
