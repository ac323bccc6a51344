#include "modem/modem.h"

#include "modem/command_exchange.h"
#include "modem/command_frame.h"
#include "modem/link_watch.h"
#include "util/format.h"
#include "util/result_codes.h"

using vxl::rc::kOk;

namespace {

constexpr int kCreateModemCaptureLine = 155;
constexpr int kCreateModemIdentifyLine = 170;
constexpr int kIdentifyPauseMs = 1000;

std::string ModemLocation(int line) {
    return vxl::Format("%s:%d", "Modem", line);
}

}  // namespace

CModem::CModem(ISerialLink* port) : port_(port) {}

CModem::~CModem() = default;

int CModem::GetPortNumber() const {
    return port_ ? port_->GetPortNumber() : 0;
}

std::string CModem::CaptureFailureLocation() {
    return ModemLocation(kCreateModemCaptureLine);
}

int CModem::CreateModem(std::string& status, ISerialLink* port, std::unique_ptr<CModem>& out,
                        int captureMethod, std::string& location, bool showDialogs) {
    status.clear();
    out = std::make_unique<CModem>(port);
    int result = out->Capture(status, captureMethod, showDialogs);
    if (result != kOk) {
        out.reset();
        location = ModemLocation(kCreateModemCaptureLine);
        return result;
    }
    // A device lost in the pause makes the identification's first read fail at once.
    vxl::SleepWatching(port, kIdentifyPauseMs);
    result = out->Identify(status);
    if (result == vxl::rc::kModelIdMissing) return result;
    if (result != kOk) {
        out.reset();
        location = ModemLocation(kCreateModemIdentifyLine);
    }
    return result;
}

int CModem::Reset(std::string& status) {
    status.clear();
    if (!port_) return kOk;
    uint8_t reply[5];
    int result =
        vxl::ExchangeCommand(port_, vxl::rules::kReset, vxl::BuildFrame(vxl::cmd::kReset, {0x00}),
                             vxl::rules::kReset.pollLimit, status, reply);
    if (result == kOk) vxl::SleepWatching(port_, vxl::kResetPauseMs);
    return result;
}

int CModem::Program(std::string& status) {
    status.clear();
    if (!port_) return kOk;
    uint8_t reply[5];
    return vxl::ExchangeCommand(port_, vxl::rules::kProgram,
                                vxl::BuildFrame(vxl::cmd::kProgram, {}),
                                vxl::rules::kProgram.pollLimit, status, reply);
}

int CModem::Unlock(std::string& status) {
    status.clear();
    if (!port_) return kOk;
    uint8_t key[vxl::addr::kUnlockKeyLength];
    for (int i = 0; i < vxl::addr::kUnlockKeyLength; ++i) {
        int result =
            ReadMemoryLocation(status, key[i], vxl::addr::kUnlockKey + i, vxl::polls::kSingleRead);
        // The unlock hands a failed read's code back negated.
        if (result != kOk) return -result;
    }
    uint8_t reply[5];
    return vxl::ExchangeCommand(
        port_, vxl::rules::kUnlock,
        vxl::BuildFrame(vxl::cmd::kUnlock, key, vxl::addr::kUnlockKeyLength),
        vxl::rules::kUnlock.pollLimit, status, reply);
}

int CModem::ReadMemoryLocation(std::string& status, uint8_t& value, int address, int pollLimit) {
    status.clear();
    if (!port_) return kOk;
    if (!vxl::IsModemAddress(address)) return vxl::rc::kBadAddress;
    uint8_t reply[5];
    int result = vxl::ExchangeCommand(port_, vxl::rules::kReadMemory, vxl::ReadMemoryFrame(address),
                                      pollLimit, status, reply);
    if (result == kOk) value = reply[2];
    return result;
}

int CModem::ReadMemoryLocationPort(std::string& status, ISerialLink* port, uint8_t& value,
                                   int address, int pollLimit) {
    status.clear();
    if (!port) return kOk;
    if (!vxl::IsModemAddress(address)) return vxl::rc::kBadAddress;
    uint8_t reply[5];
    int result = vxl::ExchangeCommand(port, vxl::rules::kReadMemoryPort,
                                      vxl::ReadMemoryFrame(address), pollLimit, status, reply);
    if (result == kOk) value = reply[2];
    return result;
}

int CModem::WriteMemoryLocation(std::string& status, uint8_t value, int address) {
    status.clear();
    if (!port_) return kOk;
    if (!vxl::IsModemAddress(address)) return vxl::rc::kBadAddress;
    uint8_t reply[5];
    return vxl::ExchangeCommand(port_, vxl::rules::kWriteMemory,
                                vxl::WriteMemoryFrame(address, value),
                                vxl::rules::kWriteMemory.pollLimit, status, reply);
}

int CModem::WriteBaudRate(std::string& status, int baud) {
    status.clear();
    if (!port_) return kOk;
    int code = vxl::BaudCode(baud);
    if (code < 0) return vxl::rc::kBadBaudRate;
    uint8_t reply[5];
    int result = vxl::ExchangeCommand(
        port_, vxl::rules::kWriteBaudRate,
        vxl::BuildFrame(vxl::cmd::kWriteBaudRate, {static_cast<uint8_t>(code)}),
        vxl::rules::kWriteBaudRate.pollLimit, status, reply);
    // The modem acknowledged the command but refused the rate.
    if (result == vxl::rc::kIncorrectResponse &&
        reply[1] == (vxl::cmd::kWriteBaudRate | vxl::cmd::kReplyBit))
        return vxl::rc::kBadBaudRate;
    return result;
}

void CModem::Sync() {
    SyncPort(port_);
}

void CModem::SyncPort(ISerialLink* port) {
    if (!port) return;
    std::vector<uint8_t> frame = vxl::BuildFrame(vxl::cmd::kSync, {});
    uint8_t reply[5];
    Transact(port, frame.data(), static_cast<int>(frame.size()), reply, vxl::kReplyLength,
             vxl::polls::kSync);
    vxl::SleepWatching(port, vxl::kSyncPauseMs);
}
