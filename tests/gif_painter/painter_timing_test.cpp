#include "gif/painter/painter_timing.h"

#include <gtest/gtest.h>

#include <optional>

namespace zephlet::gif {
namespace {

TEST(PainterTiming, FrameDelayUnits) {
  struct Case {
    std::optional<std::uint16_t> delay;
    bool threaded;
    std::int32_t expected;
  };
  const Case cases[] = {
      {std::nullopt, false, 10},
      {std::nullopt, true, 10},
      {0, true, 10},
      {1, false, 3},
      {2, true, 3},
      {3, false, 3},
      {4, true, 4},
      {1000, false, 1000},
      {1001, false, 1000},
      {5000, false, 1000},
      {5000, true, 5000},
      {65535, true, 65535},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(frame_delay_units(c.delay, c.threaded), c.expected)
        << (c.delay ? *c.delay : -1) << (c.threaded ? " threaded" : " synchronous");
  }
}

TEST(PainterTiming, SpeedIsClamped) {
  EXPECT_EQ(clamp_speed_percent(-5), 0);
  EXPECT_EQ(clamp_speed_percent(0), 0);
  EXPECT_EQ(clamp_speed_percent(250), 250);
  EXPECT_EQ(clamp_speed_percent(5000), 1000);
  EXPECT_EQ(initial_wait_units(true), 0);
  EXPECT_EQ(initial_wait_units(false), 1);
}

TEST(PainterTiming, WaitBeforeAFrame) {
  struct Case {
    const char* name;
    WaitInput in;
    std::int32_t wait_ms;
    std::int32_t planned_wait;
  };
  // now - last_tick equal to the planned wait: no excess.
  const Case cases[] = {
      {"10 units at 100 %", {10, 100, false, 1120, 1000, 120}, 120, 120},
      {"10 units at 1000 %", {10, 1000, true, 1012, 1000, 12}, 12, 12},
      {"3 units at 1000 %: 3.6 rounds to 4", {3, 1000, true, 1004, 1000, 4}, 4, 4},
      {"first synchronous frame: 1 unit at 1000 %", {1, 1000, false, 5, 5, 0}, 1, 1},
      {"7 %: 1714.28", {10, 7, false, 0, 0, 0}, 1714, 1714},
      {"overrun 30: half taken off", {10, 100, false, 1150, 1000, 120}, 105, 105},
      {"overrun 31: half truncated", {10, 100, false, 1151, 1000, 120}, 105, 105},
      {"underrun 31: truncated toward zero", {10, 100, false, 1089, 1000, 120}, 135, 135},
      {"clock wrapped", {10, 100, false, 0x70, 0xFFFFFFF0u, 0}, 120 - 64, 56},
      {"overrun beyond the delay", {3, 100, true, 1200, 1000, 36}, 36 - 82, -46},
      {"speed 0, threaded: no time-out", {10, 0, true, 2000, 1000, 77}, -1, 77},
      {"speed 0, synchronous: 12 s", {10, 0, false, 2000, 1000, 77}, 12000, 77},
  };
  for (const Case& c : cases) {
    const FrameWait w = plan_frame_wait(c.in);
    EXPECT_FALSE(w.immediate) << c.name;
    EXPECT_EQ(w.wait_ms, c.wait_ms) << c.name;
    EXPECT_EQ(w.planned_wait, c.planned_wait) << c.name;
    EXPECT_EQ(w.last_tick, c.in.now) << c.name;
  }
}

TEST(PainterTiming, NoWaitBeforeTheFirstThreadedFrame) {
  const FrameWait w = plan_frame_wait({0, 100, true, 500, 100, 40});
  EXPECT_TRUE(w.immediate);
  EXPECT_EQ(w.last_tick, 100u);
  EXPECT_EQ(w.planned_wait, 40);
}

TEST(PainterTiming, HowEachPainterWaits) {
  EXPECT_TRUE(threaded_painter_waits(12, 1000));
  EXPECT_FALSE(threaded_painter_waits(0, 1000));
  EXPECT_FALSE(threaded_painter_waits(-46, 100));
  EXPECT_TRUE(threaded_painter_waits(-1, 0));
  EXPECT_EQ(synchronous_wait_ms(-46), 1);
  EXPECT_EQ(synchronous_wait_ms(0), 1);
  EXPECT_EQ(synchronous_wait_ms(250), 250);
  EXPECT_EQ(sleep_slice_ms(99), 99);
  EXPECT_EQ(sleep_slice_ms(100), 100);
  EXPECT_EQ(sleep_slice_ms(12000), 100);
}

}  // namespace
}  // namespace zephlet::gif
