#include "support/fake_serial_link.h"

#include <algorithm>

#include "util/clock.h"

namespace vxl::test {

void FakeSerialLink::Write(const uint8_t* bytes, int length) {
    std::vector<uint8_t> data(bytes, bytes + std::max(length, 0));
    writes.push_back(data);
    Log("write");
    GetClock().SleepMs(writeCostMs);
    if (onWrite) onWrite(data);
}

void FakeSerialLink::Purge() {
    ++purges;
    Log("purge");
    received_.clear();
    pending_.clear();
}

int FakeSerialLink::Advance(bool poll) {
    for (auto it = pending_.begin(); it != pending_.end();) {
        if ((it->pollsLeft -= poll ? 1 : 0) > 0) {
            ++it;
            continue;
        }
        received_.insert(received_.end(), it->bytes.begin(), it->bytes.end());
        it = pending_.erase(it);
    }
    return static_cast<int>(received_.size());
}

void FakeSerialLink::TakeReceived(uint8_t* dest, int* length) {
    std::copy(received_.begin(), received_.end(), dest);
    *length = static_cast<int>(received_.size());
    received_.clear();
}

bool FakeSerialLink::SetBaud(int baud) {
    // A serial port runs at one of its table's rates; anything else runs at 9600.
    static const int kRates[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400};
    baud_ = std::find(std::begin(kRates), std::end(kRates), baud) != std::end(kRates) ? baud : 9600;
    return Log("baud " + std::to_string(baud_));
}

}  // namespace vxl::test
