#include "runtime/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace zephlet::runtime {
namespace {

class RealClock final : public ClockSource {
 public:
  uint32_t NowMs() override {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
  }
  void SleepMs(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

RealClock real_clock;
std::atomic<ClockSource*> current{&real_clock};

}  // namespace

uint32_t NowMs() {
  return current.load()->NowMs();
}
void SleepMs(uint32_t ms) {
  current.load()->SleepMs(ms);
}
void SetClockSource(ClockSource* source) {
  current.store(source ? source : &real_clock);
}

}  // namespace zephlet::runtime
