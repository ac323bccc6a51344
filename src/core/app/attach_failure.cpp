#include "app/attach_failure.h"

#include "link/port_diagnosis.h"
#include "link/port_table.h"
#include "util/format.h"
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

std::string SoftBreakNoAnswerText(int port, const std::vector<int>& rates) {
    const std::string device = PortTable::Instance().DevicePath(port);
    std::string list;
    for (size_t i = 0; i < rates.size(); ++i)
        list += (i == 0 ? "" : i + 1 == rates.size() ? " or " : ", ") + std::to_string(rates[i]);
    return Format(
        "No modem answered a soft break on %s at %s baud.\n"
        "Check that the modem is switched on and connected to this port, and that its serial "
        "rate is one of these.\n"
        "A modem at another rate, or one left in its boot loader, answers a power-on capture "
        "(Set Capture Method in the Modem menu, or 'poweroncapture').",
        device.empty() ? Format("serial port %d", port).c_str() : device.c_str(), list.c_str());
}

std::string AttachFailureText(int code, int port, const std::string& response,
                              const std::vector<int>& softBreakRates) {
    if (!softBreakRates.empty()) return SoftBreakNoAnswerText(port, softBreakRates);
    if (code == rc::kNothingReceived || code == rc::kTimeout) return kUnableToConnect;
    if (IsSystemError(code)) return PortFailureText(code, port);
    return ErrorText(code, response, true);
}

}  // namespace vxl
