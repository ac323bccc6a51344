// The real port, modem and demo modem behind the coordinator's factories.
#include "coordinator/modem_session.h"
#include "link/com_port.h"
#include "link/line_settings.h"
#include "modem/demo_modem.h"
#include "modem/modem.h"

namespace vxl {

namespace {

constexpr int kAttachBaud = 9600;
constexpr uint8_t kDataBits = 8;
constexpr uint32_t kAttachEvents = kEventReceivedChar | kEventCtsChange;
constexpr int kTransmitBufferSize = 100000;

}  // namespace

LinkFactory DefaultLinkFactory() {
    return [](int port, int& lastError) -> std::unique_ptr<ISerialLink> {
        auto link = std::make_unique<CComPort>();
        if (!link->Open(true, port, kAttachBaud, kParityNone, kDataBits, kStopBitsOne,
                        kAttachEvents, kTransmitBufferSize)) {
            lastError = link->GetLastError();
            return nullptr;
        }
        return link;
    };
}

ModemFactory DefaultModemFactory() {
    return [](std::string& status, ISerialLink* link, std::unique_ptr<CModemBase>& modem,
              int captureMethod, std::string& location, bool interactive) {
        std::unique_ptr<CModem> created;
        int result =
            CModem::CreateModem(status, link, created, captureMethod, location, interactive);
        modem = std::move(created);
        return result;
    };
}

DemoModemFactory DefaultDemoModemFactory() {
    return []() -> std::unique_ptr<CModemBase> { return std::make_unique<CDemoModem>(); };
}

}  // namespace vxl
