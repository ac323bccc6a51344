// The serial line between the host and the modem, in simulated time. Bytes from the host are
// decoded at the modem's current rate (garbage when the rates differ) and, with line timing,
// reach the modem one wire time apart; the modem's transmissions go out one after another and
// are decoded at the host's rate. A USB adapter's latency timer and bytes dribbled apart can be
// added (FaultPlan). Everything is driven by explicit times, so tests can run it
// without a terminal or a real clock.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "sim/lib/modem_firmware.h"
#include "sim/lib/uart_resampler.h"

namespace vxl::sim {

class LineModel {
  public:
    // `firmware` must outlive the line.
    LineModel(ModemFirmware& firmware, bool lineTiming);

    // Bytes the host wrote, seen on the line at `nowUs`, sent at `hostBaud`.
    void FromHost(const uint8_t* data, size_t length, int hostBaud, int64_t nowUs);
    // The host set its line to another rate.
    void HostRateChanged(int oldBaud, int newBaud, int64_t nowUs);
    // Runs everything due up to `nowUs`; appends the bytes that reached the host (as a
    // receiver at `hostBaud` decodes them).
    void Advance(int64_t nowUs, int hostBaud, std::vector<uint8_t>* toHost);
    // When something is next due (kNever when the line and the modem are idle).
    int64_t NextDueUs() const;

    // True once the modem's planned hang-up is due (shortly after its last reply is out).
    bool HangUpDue(int64_t nowUs) const { return nowUs >= hangUpAtUs_; }
    void ClearHangUp() { hangUpAtUs_ = kNever; }

    // Power cycle: whatever was on the wire is lost; the modem restarts with its capture window.
    void PowerCycle(int64_t nowUs);

    bool lineTiming() const { return lineTiming_; }

  private:
    void CollectTransmissions();
    // A byte that reached the host's side of the line: to the host, or into the adapter.
    void ToHostSide(uint8_t value, int64_t atUs, std::vector<uint8_t>* toHost);
    void StartTransmission(const Transmission& tx, int hostBaud);
    static void InsertByTime(std::deque<TimedByte>& queue, TimedByte byte);

    ModemFirmware& firmware_;
    bool lineTiming_;
    std::deque<TimedByte> toModem_;
    std::deque<TimedByte> toHost_;
    std::vector<Transmission> pending_;
    int64_t inputFreeUs_ = 0;
    int64_t outputFreeUs_ = 0;
    int64_t hangUpAtUs_ = kNever;
    // Bytes a USB adapter holds until its latency timer runs out.
    std::vector<uint8_t> adapterHeld_;
    int64_t adapterReleaseUs_ = kNever;
};

}  // namespace vxl::sim
