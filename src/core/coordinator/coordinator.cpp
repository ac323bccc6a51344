#include "coordinator/coordinator.h"

#include "util/preferences.h"
#include "util/result_codes.h"

using vxl::Prefs;

CCoordinator::~CCoordinator() = default;

int CCoordinator::Init(int port, int captureMethod) {
    port_ = port >= 0 ? port : Prefs().GetInt(vxl::kPrefComPortNum, -1);
    if (captureMethod < 0) {
        captureMethod_ = Prefs().GetInt(vxl::kPrefCaptureMethod, 3);
        return vxl::rc::kOk;
    }
    if (captureMethod == 1 || captureMethod == 3) {
        captureMethod_ = captureMethod;
        return vxl::rc::kOk;
    }
    return vxl::rc::kBadCaptureMethod;
}

void CCoordinator::SetPort(int n) {
    if (n < 0) return;
    port_ = n;
    Prefs().SetInt(vxl::kPrefComPortNum, n);
}

void CCoordinator::SetCaptureMethod(int n) {
    if (n < 0) return;
    captureMethod_ = n;
    Prefs().SetInt(vxl::kPrefCaptureMethod, n);
}
