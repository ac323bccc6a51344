// A serial link that tells the diagnostic trace (link/wire_trace.h) every byte that passes and
// every change of the line, and otherwise hands every call on to the link it wraps. It costs
// nothing while no trace is recorded, so every link the program opens for a modem is wrapped:
// a trace started while a modem is attached records from then on.
#pragma once

#include <memory>

#include "link/serial_link.h"

namespace vxl {

class RecordingLink : public ISerialLink {
  public:
    explicit RecordingLink(std::unique_ptr<ISerialLink> link) : link_(std::move(link)) {}

    bool IsOpen() const override { return link_->IsOpen(); }
    bool StartMonitor() override { return link_->StartMonitor(); }
    bool SuspendMonitor() override { return link_->SuspendMonitor(); }
    bool ResumeMonitor() override { return link_->ResumeMonitor(); }
    void Write(const uint8_t* bytes, int length) override;
    void Purge() override;
    int ReceivedCount() override { return link_->ReceivedCount(); }
    void TakeReceived(uint8_t* dest, int* length) override;
    int GetBaud() override;
    bool SetBaud(int baud) override;
    int GetPortNumber() const override { return link_->GetPortNumber(); }
    int LostError() const override { return link_->LostError(); }
    std::string DevicePath() const override { return link_->DevicePath(); }
    void DiscardPendingErrors() override { link_->DiscardPendingErrors(); }

  private:
    // True while a trace is recorded; tells a trace started since the last call the line's
    // settings first.
    bool Recording();

    std::unique_ptr<ISerialLink> link_;
    int baud_ = 0;
    int announced_ = 0;  // the trace generation told the line's settings
};

}  // namespace vxl
