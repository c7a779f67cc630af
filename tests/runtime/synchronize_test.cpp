#include "runtime/synchronize.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace zephlet::runtime {
namespace {

class SynchronizeTest : public ::testing::Test {
 protected:
  void SetUp() override { SetMainThread(); }
  void TearDown() override { SetWakeHandler(nullptr); }
};

TEST_F(SynchronizeTest, StepRunsOnTheMainThreadWhileTheWorkerWaits) {
  std::atomic<bool> returned{false};
  std::thread::id ran_on;
  std::thread worker([&] {
    EXPECT_TRUE(Synchronize([&] { ran_on = std::this_thread::get_id(); }));
    returned = true;
  });
  ServeUntil([&] { return returned.load(); });
  worker.join();
  EXPECT_EQ(ran_on, std::this_thread::get_id());
}

TEST_F(SynchronizeTest, OnTheMainThreadTheStepRunsAtOnce) {
  int runs = 0;
  EXPECT_TRUE(Synchronize([&] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(ServeHandOvers());
}

TEST_F(SynchronizeTest, WakeHandlerIsCalledAndErrorsReachTheCaller) {
  std::atomic<int> wakes{0};
  SetWakeHandler([&] { ++wakes; });
  std::atomic<bool> caught{false};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    try {
      Synchronize([] { throw std::runtime_error("step failed"); });
    } catch (const std::runtime_error&) {
      caught = true;
    }
    done = true;
  });
  ServeUntil([&] { return done.load(); });
  worker.join();
  EXPECT_TRUE(caught);
  EXPECT_EQ(wakes, 1);
}

TEST_F(SynchronizeTest, ClosingReleasesWaitingWorkers) {
  std::atomic<bool> queued{false};
  SetWakeHandler([&] { queued = true; });
  bool result = true;
  bool ran = false;
  std::thread worker([&] { result = Synchronize([&] { ran = true; }); });
  while (!queued) std::this_thread::yield();
  CloseHandOvers();
  worker.join();
  EXPECT_FALSE(result);
  EXPECT_FALSE(ran);
  // After closing, hand-overs are refused at once.
  std::thread late([&] { result = Synchronize([&] { ran = true; }); });
  late.join();
  EXPECT_FALSE(result);
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace zephlet::runtime
