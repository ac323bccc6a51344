#include "params/location_table.h"

#include <array>

#include "params/modem_parameter.h"
#include "params/modem_types.h"
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

constexpr int kRaw = kKindRaw;
constexpr int kInteger = kKindInteger;
constexpr int kReal = kKindReal;
constexpr int kText = kKindText;
constexpr int kFlag = kKindFlag;
constexpr int kDerived = kKindDerived;

// Channel frequencies are generated (channel n at 0x10B + 6n, receive then transmit); every
// other slot is listed here.
constexpr Entry kEntries[] = {
    Same(pid::kRawSlot0, 0x100, 1, kRaw),
    Same(pid::kRawSlot1, 0x101, 5, kRaw),
    Same(pid::kSerialNumber, 0x106, 4, kInteger),
    Same(pid::kRawModelByte, 0x10A, 1, kRaw),
    Same(pid::kOwner, 0x16B, 32, kText),
    {pid::kBaudRate, {At(0x18B, 1, kDerived), At(0x18B, 1, kInteger), At(0x18B, 1, kInteger)}},
    Same(pid::kParity, 0x18C, 1, kInteger),
    {pid::kRawSlot39, {At(0x18D, 1, kInteger), At(0x18D, 1, kDerived), At(0x18D, 1, kDerived)}},
    Same(pid::kCurrentChannel, 0x18E, 1, kInteger),
    Same(pid::kLinkRate, 0x18F, 1, kInteger),
    Same(pid::kProtocolMode, 0x190, 1, kInteger),
    Same(pid::kForwardErrorCorrection, 0x191, 1, kFlag),
    Same(pid::kScrambling, 0x192, 1, kFlag),
    Same(pid::kEOTCharacter, 0x193, 1, kInteger),
    Same(pid::kLocalAddress, 0x194, 1, kInteger),
    Same(pid::kTransmitRetries, 0x195, 1, kInteger),
    Same(pid::kRemoteAddress, 0x196, 1, kInteger),
    Same(pid::kDigisquelch, 0x197, 1, kInteger),
    Same(pid::kHighRSSICDLevel, 0x198, 1, kInteger),
    Same(pid::kHighRSSIHystLevel, 0x199, 1, kInteger),
    Same(pid::kMediumRSSICDLevel, 0x19A, 1, kInteger),
    Same(pid::kMediumRSSIHystLevel, 0x19B, 1, kInteger),
    Same(pid::kLowRSSICDLevel, 0x19C, 1, kInteger),
    Same(pid::kLowRSSIHystLevel, 0x19D, 1, kInteger),
    Same(pid::kTxAckTimeout, 0x19E, 2, kReal),
    Same(pid::kSynthesizerType, 0x1A0, 1, kInteger),
    Same(pid::kDigipeaterDelay, 0x1A1, 2, kReal),
    Same(pid::kBitPolarity, 0x1A3, 1, kInteger),
    Same(pid::kRXDelay, 0x1A4, 1, kInteger),
    Same(pid::kTXDelay, 0x1A5, 1, kInteger),
    Same(pid::kModulationType, 0x1A6, 1, kInteger),
    Same(pid::kFrequencyError, 0x1A7, 1, kInteger),
    {pid::kDACCompVoltageCount, {At(0x1A8, 7, kRaw), At(0x1A8, 15, kRaw), At(0x1A8, 15, kRaw)}},
    {pid::kCallSign, {Absent(kText), At(0x1B7, 8, kText), At(0x1B7, 10, kText)}},
    {pid::kLastFailure, {Absent(kInteger), Absent(kInteger), At(0x1C1, 1, kInteger)}},
    {pid::kPowerControl, {Absent(kInteger), Absent(kInteger), At(0x1C2, 1, kInteger)}},
    {pid::kChannelSelectType, {Absent(kInteger), Absent(kInteger), At(0x1C3, 1, kInteger)}},
    {pid::kRawSlot69, {At(0x1AF, 1, kRaw), At(0x1BF, 1, kRaw), At(0x8000, 1, kRaw)}},
    {pid::kSystemClock, {Absent(kInteger), Absent(kInteger), At(0x8001, 4, kInteger)}},
    Same(pid::kModel, 0x10A, 1, kDerived),
    Same(pid::kFrequency, 0x10A, 1, kDerived),
    {pid::kPower, {At(0x10A, 1, kDerived), At(0x10A, 1, kDerived), At(0x100, 1, kDerived)}},
    Same(pid::kCSMAMonitor, 0x1A3, 1, kFlag),
    {pid::kFirmwareRevision,
     {At(0xE002, 2, kDerived), At(0xE002, 2, kDerived), At(0x8402, 2, kDerived)}},
    Same(pid::kBREAKtoCommand, 0x190, 1, kFlag),
    Same(pid::kRepeater, 0x1A3, 1, kFlag),
    Same(pid::kEOTTimeout, 0x193, 1, kReal),
    {pid::kChannelBandwidth, {Absent(kDerived), At(0x18F, 1, kDerived), At(0x100, 1, kDerived)}},
    {pid::kCrystal, {Absent(kDerived), Absent(kDerived), At(0x18D, 1, kDerived)}},
    {pid::kRawSlot81, {Absent(kDerived), Absent(kDerived), At(0, 0, kDerived)}},
    {pid::kModemID, {Absent(kDerived), At(0xE005, 2, kDerived), At(0x8405, 2, kDerived)}},
    Same(pid::kEOTCount, 0x193, 1, kInteger),
    {pid::kRoverAutoOff, {Absent(kFlag), Absent(kFlag), At(0x18D, 1, kFlag)}},
    {pid::kModemEnable, {kZeroRow, kZeroRow, At(0x8005, 1, kFlag)}},
    {pid::kDataSecurityCode, {kZeroRow, kZeroRow, At(0x8006, 4, kInteger)}},
    {pid::kRawSlot87, {kZeroRow, kZeroRow, At(0x1F5, 1, kInteger)}},
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
        case kModemTypeQmxEarly:
            return 0;
        case kModemTypeQmx:
        case kModemTypeQmxReceiveOnly:
            return 1;
        case kModemTypeVxl:
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
