#include "support/fake_serial_link.h"

#include <algorithm>

#include "util/clock.h"

namespace vxl::test {

namespace {

// The rates a serial port can run at; anything else runs at 9600.
int TableRate(int baud) {
    static const int kRates[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400};
    return std::find(std::begin(kRates), std::end(kRates), baud) != std::end(kRates) ? baud : 9600;
}

}  // namespace

void FakeSerialLink::Deliver(const std::vector<uint8_t>& bytes, int afterPolls) {
    if (afterPolls <= 0)
        received_.insert(received_.end(), bytes.begin(), bytes.end());
    else
        pending_.push_back({bytes, afterPolls});
}

bool FakeSerialLink::StartMonitor() {
    monitorRunning = true;
    log.push_back("start");
    return true;
}

bool FakeSerialLink::SuspendMonitor() {
    log.push_back("suspend");
    return true;
}

bool FakeSerialLink::ResumeMonitor() {
    log.push_back("resume");
    return true;
}

void FakeSerialLink::Write(const uint8_t* bytes, int length) {
    std::vector<uint8_t> data(bytes, bytes + std::max(length, 0));
    writes.push_back(data);
    log.push_back("write");
    GetClock().SleepMs(writeCostMs);
    if (onWrite) onWrite(data);
}

void FakeSerialLink::Purge() {
    ++purges;
    log.push_back("purge");
    received_.clear();
    pending_.clear();
}

int FakeSerialLink::ReceivedCount() {
    ++countPolls;
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (--it->pollsLeft <= 0) {
            received_.insert(received_.end(), it->bytes.begin(), it->bytes.end());
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
    return static_cast<int>(received_.size());
}

void FakeSerialLink::TakeReceived(uint8_t* dest, int* length) {
    std::copy(received_.begin(), received_.end(), dest);
    *length = static_cast<int>(received_.size());
    received_.clear();
}

bool FakeSerialLink::SetBaud(int baud) {
    baud_ = TableRate(baud);
    log.push_back("baud " + std::to_string(baud_));
    return true;
}

}  // namespace vxl::test
