// Where each parameter's bytes lie in modem memory, for the three memory layouts (type 1;
// types 2 and 3; type 4).
#pragma once

namespace vxl {

struct LocationRow {
    int id;  // the parameter id, -1 when the parameter is absent from the layout
    int address;
    int length;
    int kind;
};

// The row of `id` for a modem type: 0 when the row holds the id or is absent from the layout
// (length 0), 63 when it holds another id (its values are still copied to `row`), 60 for a type
// outside 1..4 or an id outside 0..87 (nothing copied).
int FindLocationRow(int id, int modemType, LocationRow& row);

// True when the parameter has bytes in the layout of `modemType` (its row holds the id and a
// length of at least one byte).
bool LookupLocation(int id, int modemType, int& address, int& length, int& kind);

}  // namespace vxl
