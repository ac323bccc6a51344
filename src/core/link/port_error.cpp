#include "link/port_error.h"

#include <cstring>

#include "ui/operator.h"
#include "util/format.h"

namespace vxl {

namespace {

// strerror_r comes in two flavours; whichever the C library offers, take its text.
[[maybe_unused]] const char* ErrorTextFrom(int result, const char* buffer) {
    return result == 0 ? buffer : "Unknown error";
}
[[maybe_unused]] const char* ErrorTextFrom(const char* result, const char*) {
    return result;
}

}  // namespace

std::string SystemErrorText(int error) {
    char buffer[256] = {0};
    return ErrorTextFrom(strerror_r(error, buffer, sizeof buffer), buffer);
}

std::string PortErrorMessage(const std::string& operation, int error, int portNumber,
                             const std::string& device) {
    const std::string port = device.empty() ? Format("%d", portNumber) : device;
    return Format("WARNING:  %s Failed with the following error: \n%s\nPort: %s\n",
                  operation.c_str(), SystemErrorText(error).c_str(), port.c_str());
}

void ShowPortErrorMessage(const std::string& message) {
    Ui().MessageBox(message, kPortErrorCaption, MsgIcon::Stop, MsgButtons::Ok);
}

}  // namespace vxl
