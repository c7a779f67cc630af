#include "gif/painter/painter_timing.h"

#include "graphics/mul_div.h"

namespace zephlet::gif {

std::int32_t frame_delay_units(std::optional<std::uint16_t> frame_delay, bool threaded) {
  if (!frame_delay || *frame_delay == 0) return kDefaultFrameDelay;
  const std::int32_t units = *frame_delay;
  if (units < kMinFrameDelay) return kMinFrameDelay;
  if (units > kMaxFrameDelay && !threaded) return kMaxFrameDelay;
  return units;
}

FrameWait plan_frame_wait(const WaitInput& in) {
  FrameWait out;
  out.planned_wait = in.planned_wait;
  out.last_tick = in.last_tick;
  if (in.wait_units <= 0) {
    out.immediate = true;
    out.wait_ms = in.wait_units;
    return out;
  }
  if (in.speed_percent > 0) {
    // The clock wraps: the elapsed time is the unsigned difference.
    const auto elapsed =
        static_cast<std::int64_t>(static_cast<std::uint32_t>(in.now - in.last_tick));
    const std::int64_t excess = (elapsed - in.planned_wait) / 2;
    const std::int64_t nominal = std::int64_t{in.wait_units} * kDelayUnitMs - excess;
    // MulDiv takes 32-bit operands; a value beyond them is a clock fault and gives the
    // same -1 as an overflowing MulDiv (no wait).
    out.wait_ms =
        (nominal > INT32_MAX || nominal < INT32_MIN)
            ? -1
            : graphics::mul_div(static_cast<std::int32_t>(nominal), 100, in.speed_percent);
    out.planned_wait = out.wait_ms;
  } else {
    out.wait_ms = in.threaded ? -1 : kMaxFrameDelay * kDelayUnitMs;
  }
  out.last_tick = in.now;
  return out;
}

}  // namespace zephlet::gif
