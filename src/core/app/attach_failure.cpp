#include "app/attach_failure.h"

#include "link/port_diagnosis.h"
#include "util/result_codes.h"

namespace vxl {

namespace {
constexpr const char* kUnableToConnect =
    "Unable to connect to modem. Please check your connection,\npower-cycle your modem, and "
    "retry.";
}  // namespace

bool IsSystemError(int code) {
    return code > 0 && code < rc::kPowerOnCancelled;
}

std::string PortFailureText(int code, int port) {
    return DiagnosePortOpen(port, code).Advice();
}

std::string AttachFailureText(int code, int port, const std::string& response) {
    if (code == rc::kNothingReceived || code == rc::kTimeout) return kUnableToConnect;
    if (IsSystemError(code)) return PortFailureText(code, port);
    return ErrorText(code, response, true);
}

}  // namespace vxl
