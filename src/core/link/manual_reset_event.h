// An event that stays set until it is reset, for the rendezvous between a port's caller and its
// monitor thread.
#pragma once

#include <condition_variable>
#include <mutex>

namespace vxl {

class ManualResetEvent {
  public:
    void Set();
    void Reset();
    bool IsSet() const;
    // False when `ms` milliseconds passed without the event being set.
    bool WaitFor(int ms) const;

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool set_ = false;
};

}  // namespace vxl
