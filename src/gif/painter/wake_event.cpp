#include "gif/painter/wake_event.h"

#include <chrono>

#include "runtime/clock.h"

namespace zephlet {

namespace {
// The clock can be replaced (tests run on a virtual one), so the time-out is checked
// against it every few milliseconds instead of being handed to the condition variable.
constexpr uint32_t kClockPollMs = 2;
}  // namespace

void WakeEvent::Signal() {
  {
    std::lock_guard guard(lock_);
    set_ = true;
  }
  signalled_.notify_all();
}

bool WakeEvent::Wait(int32_t timeout_ms) {
  std::unique_lock guard(lock_);
  if (timeout_ms < 0) {
    signalled_.wait(guard, [this] { return set_; });
    set_ = false;
    return true;
  }
  const uint32_t start = runtime::NowMs();
  for (;;) {
    if (set_) {
      set_ = false;
      return true;
    }
    const uint32_t elapsed = runtime::NowMs() - start;
    if (elapsed >= static_cast<uint32_t>(timeout_ms)) return false;
    const uint32_t left = static_cast<uint32_t>(timeout_ms) - elapsed;
    const uint32_t slice = left < kClockPollMs ? left : kClockPollMs;
    signalled_.wait_for(guard, std::chrono::milliseconds(slice));
  }
}

}  // namespace zephlet
