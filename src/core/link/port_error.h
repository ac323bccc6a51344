// The error box a serial port shows when a device operation fails.
#pragma once

#include <string>

namespace vxl {

constexpr const char* kPortErrorCaption = "Application Error";

// The system's text for an errno value.
std::string SystemErrorText(int error);

// "WARNING:  <operation> Failed with the following error: ..." for the operation, the system's
// text of `error` and the port: its device, or its number when the device is not known.
std::string PortErrorMessage(const std::string& operation, int error, int portNumber,
                             const std::string& device);

// Shows the message modally with the stop icon through the operator interface.
void ShowPortErrorMessage(const std::string& message);

}  // namespace vxl
