#include "params/location_table.h"

#include <array>

#include "params/modem_parameter.h"
#include "params/parameter_ids.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr int kLayoutCount = 3;  // type 1; types 2 and 3; type 4
constexpr int kSelf = -2;        // the row holds its own id
constexpr int kAbsent = -1;

struct Cell {
    int address;
    int length;
    int kind;
    int rowId;
};

constexpr Cell At(int address, int length, int kind) {
    return {address, length, kind, kSelf};
}
constexpr Cell Absent(int kind) {
    return {0, 0, kind, kAbsent};
}
// Rows that hold id 0 with nothing in them; every lookup refuses them.
constexpr Cell kZeroRow{0, 0, 0, 0};

struct Entry {
    int id;
    Cell layout[kLayoutCount];
};

// Ids that are the same in every layout are written once.
constexpr Entry Same(int id, int address, int length, int kind) {
    return {id, {At(address, length, kind), At(address, length, kind), At(address, length, kind)}};
}

// One-byte values that follow each other in every layout: ids first..last from `address` on.
struct ByteRun {
    int first;
    int last;
    int address;
    int kind;
};
constexpr ByteRun kByteRuns[] = {
    {38, 42, 0x18C, kKindInteger},
    {43, 44, 0x191, kKindFlag},
    {45, 55, 0x193, kKindInteger},
    {59, 63, 0x1A3, kKindInteger},
};

// Channel frequencies (ids 4..35) are generated like the byte runs; the entries listed here are
// laid over both.
constexpr Entry kEntries[] = {
    Same(0, 0x100, 1, 0),
    Same(1, 0x101, 5, 0),
    Same(2, 0x106, 4, 1),
    Same(3, 0x10A, 1, 0),
    Same(36, 0x16B, 32, 4),
    {37, {At(0x18B, 1, 6), At(0x18B, 1, 1), At(0x18B, 1, 1)}},
    {39, {At(0x18D, 1, 1), At(0x18D, 1, 6), At(0x18D, 1, 6)}},
    Same(56, 0x19E, 2, 2),
    Same(57, 0x1A0, 1, 1),
    Same(58, 0x1A1, 2, 2),
    {64, {At(0x1A8, 7, 0), At(0x1A8, 15, 0), At(0x1A8, 15, 0)}},
    {65, {Absent(4), At(0x1B7, 8, 4), At(0x1B7, 10, 4)}},
    {66, {Absent(1), Absent(1), At(0x1C1, 1, 1)}},
    {67, {Absent(1), Absent(1), At(0x1C2, 1, 1)}},
    {68, {Absent(1), Absent(1), At(0x1C3, 1, 1)}},
    {69, {At(0x1AF, 1, 0), At(0x1BF, 1, 0), At(0x8000, 1, 0)}},
    {70, {Absent(1), Absent(1), At(0x8001, 4, 1)}},
    Same(71, 0x10A, 1, 6),
    Same(72, 0x10A, 1, 6),
    {73, {At(0x10A, 1, 6), At(0x10A, 1, 6), At(0x100, 1, 6)}},
    Same(74, 0x1A3, 1, 5),
    {75, {At(0xE002, 2, 6), At(0xE002, 2, 6), At(0x8402, 2, 6)}},
    Same(76, 0x190, 1, 5),
    Same(77, 0x1A3, 1, 5),
    Same(78, 0x193, 1, 2),
    {79, {Absent(6), At(0x18F, 1, 6), At(0x100, 1, 6)}},
    {80, {Absent(6), Absent(6), At(0x18D, 1, 6)}},
    {81, {Absent(6), Absent(6), At(0, 0, 6)}},
    {82, {Absent(6), At(0xE005, 2, 6), At(0x8405, 2, 6)}},
    Same(83, 0x193, 1, 1),
    {84, {Absent(5), Absent(5), At(0x18D, 1, 5)}},
    {85, {kZeroRow, kZeroRow, At(0x8005, 1, 5)}},
    {86, {kZeroRow, kZeroRow, At(0x8006, 4, 1)}},
    {87, {kZeroRow, kZeroRow, At(0x1F5, 1, 1)}},
};

using LayoutTable = std::array<std::array<LocationRow, pid::kParameterCount>, kLayoutCount>;

LocationRow RowOf(int id, const Cell& cell) {
    return {cell.rowId == kSelf ? id : cell.rowId, cell.address, cell.length, cell.kind};
}

LayoutTable BuildTable() {
    LayoutTable table{};
    for (auto& layout : table)
        for (LocationRow& row : layout) row = {kAbsent, 0, 0, 0};
    for (auto& layout : table) {
        for (const ByteRun& run : kByteRuns)
            for (int id = run.first; id <= run.last; ++id)
                layout[id] = {id, run.address + id - run.first, 1, run.kind};
        for (int n = 0; n < pid::kChannelCount; ++n) {
            layout[pid::RxChannelId(n)] = {pid::RxChannelId(n), 0x10B + 6 * n, 3,
                                           kKindChannelFrequency};
            layout[pid::TxChannelId(n)] = {pid::TxChannelId(n), 0x10E + 6 * n, 3,
                                           kKindChannelFrequency};
        }
    }
    for (const Entry& entry : kEntries)
        for (int layout = 0; layout < kLayoutCount; ++layout)
            table[layout][entry.id] = RowOf(entry.id, entry.layout[layout]);
    return table;
}

const LayoutTable& Table() {
    static const LayoutTable table = BuildTable();
    return table;
}

int LayoutOf(int modemType) {
    switch (modemType) {
        case 1:
            return 0;
        case 2:
        case 3:
            return 1;
        case 4:
            return 2;
        default:
            return -1;
    }
}

}  // namespace

int FindLocationRow(int id, int modemType, LocationRow& row) {
    int layout = LayoutOf(modemType);
    if (layout < 0 || id < 0 || id >= pid::kParameterCount) return rc::kBadModemTypeForLayout;
    row = Table()[layout][id];
    return row.id == id || row.id == kAbsent ? rc::kOk : rc::kNotInLocationTable;
}

bool LookupLocation(int id, int modemType, int& address, int& length, int& kind) {
    LocationRow row;
    if (FindLocationRow(id, modemType, row) != rc::kOk || row.id != id || row.length < 1)
        return false;
    address = row.address;
    length = row.length;
    kind = row.kind;
    return true;
}

}  // namespace vxl
