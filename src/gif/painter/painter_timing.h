// The frame painter's timing rules as pure functions: the delay of a frame in GIF delay
// units, and the wait before the next frame in milliseconds, scaled by the speed and
// corrected by half of the previous cycle's overrun. The painter keeps the state
// (WaitMs, LastTick, PlannedWait) and the clock; these functions only compute.
#pragma once

#include <cstdint>
#include <optional>

namespace zephlet::gif {

// Milliseconds per GIF delay unit (a nominal hundredth of a second): 12, not 10.
constexpr std::int32_t kDelayUnitMs = 12;
// Delay in units of a frame without graphic control extension or with delay 0.
constexpr std::int32_t kDefaultFrameDelay = 10;
// A smaller non-zero delay counts as this.
constexpr std::int32_t kMinFrameDelay = 3;
// A larger delay is cut to this for synchronous painters only.
constexpr std::int32_t kMaxFrameDelay = 1000;

constexpr std::int32_t kDefaultSpeedPercent = 100;
constexpr std::int32_t kMaxSpeedPercent = 1000;

// A speed in percent as stored: clamped to 0..1000.
constexpr std::int32_t clamp_speed_percent(std::int32_t percent) {
  return percent < 0 ? 0 : (percent > kMaxSpeedPercent ? kMaxSpeedPercent : percent);
}

// WaitMs at the start of a run, before the first frame: 0 for a threaded painter (the
// first frame is painted at once), 1 for a synchronous one.
constexpr std::int32_t initial_wait_units(bool threaded) {
  return threaded ? 0 : 1;
}

// WaitMs after a frame was painted, in delay units: the frame's FrameDelay when it has a
// graphic control extension with a delay above 0 (none: no extension), else 10; a delay
// below 3 counts as 3; above 1000 it counts as 1000 unless the painter is threaded.
std::int32_t frame_delay_units(std::optional<std::uint16_t> frame_delay, bool threaded);

// The state the wait before a frame reads and the clock reading it uses.
struct WaitInput {
  std::int32_t wait_units = 0;  // WaitMs before the wait: delay units
  std::int32_t speed_percent = kDefaultSpeedPercent;
  bool threaded = false;
  std::uint32_t now = 0;          // clock in milliseconds (wraps at 2^32)
  std::uint32_t last_tick = 0;    // LastTick
  std::int32_t planned_wait = 0;  // PlannedWait
};

struct FrameWait {
  // WaitMs was 0 or less: yield once and paint at once; nothing else changes.
  bool immediate = false;
  // Milliseconds to wait; -1 waits without time-out (a threaded painter at speed 0).
  std::int32_t wait_ms = 0;
  std::int32_t planned_wait = 0;  // the new PlannedWait
  std::uint32_t last_tick = 0;    // the new LastTick
};

// The wait before a frame. At a speed above 0: Excess = (now - LastTick - PlannedWait)
// / 2, truncated toward zero; WaitMs = MulDiv(units * 12 - Excess, 100, speed) and
// PlannedWait = WaitMs. At speed 0: -1 for a threaded painter, 12000 for a synchronous
// one, PlannedWait unchanged. LastTick becomes now.
FrameWait plan_frame_wait(const WaitInput& input);

// Whether a threaded painter waits on its wake event with the planned time.
constexpr bool threaded_painter_waits(std::int32_t wait_ms, std::int32_t speed_percent) {
  return wait_ms > 0 || speed_percent == 0;
}

// The time a synchronous painter waits in all: at least 1 ms.
constexpr std::int32_t synchronous_wait_ms(std::int32_t wait_ms) {
  return wait_ms <= 0 ? 1 : wait_ms;
}

// One sleep of a synchronous wait: the rest when below 100 ms, else 100 ms.
constexpr std::int32_t sleep_slice_ms(std::int32_t remaining_ms) {
  return remaining_ms < 100 ? remaining_ms : 100;
}

}  // namespace zephlet::gif
