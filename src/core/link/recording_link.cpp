#include "link/recording_link.h"

#include <algorithm>
#include <vector>

#include "link/wire_trace.h"
#include "util/format.h"

namespace vxl {

bool RecordingLink::Recording() {
    WireTrace& trace = GetWireTrace();
    if (!trace.IsRecording()) return false;
    if (announced_ != trace.Generation()) {
        announced_ = trace.Generation();
        if (baud_ == 0) baud_ = link_->GetBaud();
        // The program opens every modem's line as 8 data bits, no parity, one stop bit.
        trace.Event(Format("line: port %d, %s, %d baud, 8 data bits, no parity, 1 stop bit",
                           link_->GetPortNumber(), link_->DevicePath().c_str(), baud_));
    }
    return true;
}

void RecordingLink::Write(const uint8_t* bytes, int length) {
    link_->Write(bytes, length);
    if (length > 0 && Recording())
        GetWireTrace().Bytes(TranscriptDirection::FromHost, bytes, static_cast<size_t>(length),
                             baud_);
}

void RecordingLink::TakeReceived(uint8_t* dest, int* length) {
    link_->TakeReceived(dest, length);
    if (*length > 0 && Recording())
        GetWireTrace().Bytes(TranscriptDirection::ToHost, dest, static_cast<size_t>(*length),
                             baud_);
}

void RecordingLink::Purge() {
    if (Recording()) {
        // What the purge throws away arrived all the same: the trace shows it.
        // Bytes may arrive between the count and the take: room for a full receive buffer.
        constexpr int kReceiveBuffer = 1000;
        std::vector<uint8_t> pending(
            static_cast<size_t>(std::max(link_->ReceivedCount(), 0) + kReceiveBuffer));
        int length = 0;
        TakeReceived(pending.data(), &length);
        if (length > 0) GetWireTrace().Event("purge: the bytes above were thrown away");
    }
    link_->Purge();
}

int RecordingLink::GetBaud() {
    const int baud = link_->GetBaud();
    if (baud > 0) baud_ = baud;
    return baud;
}

bool RecordingLink::SetBaud(int baud) {
    const bool set = link_->SetBaud(baud);
    if (set) baud_ = baud;
    if (Recording())
        GetWireTrace().Event(set ? Format("line set to %d baud", baud)
                                 : Format("line could not be set to %d baud", baud));
    return set;
}

}  // namespace vxl
