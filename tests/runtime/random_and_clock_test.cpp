#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/headless/virtual_clock.h"
#include "runtime/clock.h"
#include "runtime/random.h"

namespace zephlet::runtime {
namespace {

TEST(Random, LinearCongruentialSequence) {
  SetRandSeed(0);
  EXPECT_EQ(Random(100), 0);  // seed 1
  EXPECT_EQ(RandSeed(), 1u);
  EXPECT_EQ(Random(100), 3);  // seed 0x08088406: 134775814 * 100 >> 32
  EXPECT_EQ(RandSeed(), 0x08088406u);
}

TEST(Random, StaysInRange) {
  SetRandSeed(12345);
  for (int i = 0; i < 10000; ++i) {
    const int32_t r = Random(7);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 7);
    const double x = RandomReal();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
  }
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
}

TEST(Random, SeedsFromTheClock) {
  headless::VirtualClock clock;
  SetClockSource(&clock);
  clock.Advance(4242);
  Randomize();
  EXPECT_EQ(RandSeed(), 4242u);
  SetClockSource(nullptr);
}

TEST(VirtualClock, SleepersWakeWhenTheirTimeComes) {
  headless::VirtualClock clock;
  SetClockSource(&clock);
  std::atomic<bool> woke{false};
  std::thread sleeper([&] {
    SleepMs(100);
    woke = true;
  });
  while (clock.Sleepers() == 0) std::this_thread::yield();
  clock.Advance(99);
  EXPECT_FALSE(woke);
  clock.Advance(1);
  sleeper.join();
  EXPECT_TRUE(woke);
  EXPECT_EQ(NowMs(), 100u);
  SetClockSource(nullptr);
}

}  // namespace
}  // namespace zephlet::runtime
