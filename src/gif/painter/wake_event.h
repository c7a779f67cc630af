// The painter's wake event: auto-reset, signalled from any thread, waited on by the
// painter's own thread with a time-out on the program's clock (runtime/clock.h).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace zephlet {

class WakeEvent {
 public:
  void Signal();
  // Waits until the event is signalled (true, and the event is reset) or until
  // `timeout_ms` milliseconds of the program's clock have passed (false). A negative
  // time-out waits for the signal only.
  bool Wait(int32_t timeout_ms);

 private:
  std::mutex lock_;
  std::condition_variable signalled_;
  bool set_ = false;
};

}  // namespace zephlet
