// The names of the ProtocolMode values as the report and the XML export show them.
#pragma once

#include <string>

namespace vxl {

// The name of protocol mode `value` on a modem of `modemType`; empty when the value has no name
// on that type (a receive-only modem has no digipeater mode).
std::string ProtocolModeName(int modemType, int value);

}  // namespace vxl
