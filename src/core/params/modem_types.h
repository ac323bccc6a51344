// The modem types an identification tells apart. Memory layout, choices and which parameters a
// modem has depend on them; 0 is a modem that was not recognised.
#pragma once

namespace vxl {

constexpr int kModemTypeQmxEarly = 1;        // QMX modems with firmware below 3.41
constexpr int kModemTypeQmx = 2;             // QMX modems from firmware 3.41 on
constexpr int kModemTypeQmxReceiveOnly = 3;  // QMXRXO receive-only modems
constexpr int kModemTypeVxl = 4;             // the VXL/KTR family, this program's own

// The older QMX family: types 1 to 3.
constexpr bool IsQmxType(int modemType) {
    return modemType >= kModemTypeQmxEarly && modemType <= kModemTypeQmxReceiveOnly;
}

}  // namespace vxl
