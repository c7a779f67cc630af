// A clock whose time moves only when a test advances it. Threads sleeping on it
// wake when the time they wait for has been reached.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "runtime/clock.h"

namespace zephlet::headless {

class VirtualClock final : public runtime::ClockSource {
 public:
  uint32_t NowMs() override;
  void SleepMs(uint32_t ms) override;

  // Moves the time forward and wakes the sleepers whose time has come.
  void Advance(uint32_t ms);
  // Number of threads currently sleeping on this clock.
  int Sleepers();

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  uint64_t now_ = 0;
  int sleepers_ = 0;
};

}  // namespace zephlet::headless
