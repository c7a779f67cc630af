// The program's clock: milliseconds since an arbitrary start, and sleeping.
// Tests replace the source with a virtual clock so that no test waits for wall time.
#pragma once

#include <cstdint>

namespace zephlet::runtime {

class ClockSource {
 public:
  virtual ~ClockSource() = default;
  // Milliseconds since an arbitrary start; wraps like a 32-bit tick counter.
  virtual uint32_t NowMs() = 0;
  // Blocks the calling thread for `ms` milliseconds of this clock's time.
  virtual void SleepMs(uint32_t ms) = 0;
};

uint32_t NowMs();
void SleepMs(uint32_t ms);

// Installs `source` as the program's clock; nullptr restores the real clock.
// The caller keeps ownership and must outlive its use.
void SetClockSource(ClockSource* source);

}  // namespace zephlet::runtime
