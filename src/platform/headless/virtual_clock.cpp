#include "platform/headless/virtual_clock.h"

namespace zephlet::headless {

uint32_t VirtualClock::NowMs() {
  std::lock_guard guard(lock_);
  return static_cast<uint32_t>(now_);
}

void VirtualClock::SleepMs(uint32_t ms) {
  std::unique_lock guard(lock_);
  const uint64_t until = now_ + ms;
  ++sleepers_;
  changed_.notify_all();
  changed_.wait(guard, [&] { return now_ >= until; });
  --sleepers_;
}

void VirtualClock::Advance(uint32_t ms) {
  {
    std::lock_guard guard(lock_);
    now_ += ms;
  }
  changed_.notify_all();
}

int VirtualClock::Sleepers() {
  std::lock_guard guard(lock_);
  return sleepers_;
}

}  // namespace zephlet::headless
