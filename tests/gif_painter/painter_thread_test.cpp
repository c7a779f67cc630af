// Threaded painters on the virtual clock: frames painted on the main thread, one change
// notification each, loop counts, and the ways a painter is stopped.
#include <gtest/gtest.h>

#include <string>

#include "painter_fixture.h"
#include "platform/headless/virtual_clock.h"

namespace zephlet::painter_test {
namespace {

std::vector<FrameDef> Frames(int count, uint8_t disposal = 1) {
  std::vector<FrameDef> frames;
  for (int i = 0; i < count; ++i) {
    frames.push_back({.left = 0,
                      .width = 2,
                      .pixels = {static_cast<uint8_t>(i % 4), static_cast<uint8_t>(i % 4)},
                      .disposal = disposal,
                      .delay = 10});
  }
  return frames;
}

class ThreadedPainter : public ::testing::Test {
 protected:
  ThreadedPainter() : scope_(clock_) {}
  // Serves hand-overs, moving the virtual clock on a little every round.
  bool RunUntil(const std::function<bool()>& done) {
    return ServeUntilDone(done, [this] { clock_.Advance(25); });
  }

  // Every painter thread has ended before the next test (and the process exit).
  void TearDown() override {
    RunUntil([] { return RunningPainterThreads() == 0; });
  }

  headless::VirtualClock clock_;
  ClockScope scope_;
};

// The capture of a many-frame character: frames 0 to N - 1, then every frame of every
// later pass, each with exactly one notification, all on the main thread.
TEST_F(ThreadedPainter, EveryPaintedFrameNotifiesOnceOnTheMainThread) {
  constexpr int kFrames = 5;
  auto image = LoadImage(MakeGif(2, 1, Frames(kFrames, 2), 0));
  image->SetSpeedPercent(1000);
  RecordingTarget target(2, 1);
  int painted = 0;
  image->OnFrameDone = [&](TGIFPainter*) { ++painted; };
  TGIFPainter* painter =
      image->StartPainter(target.bitmap.canvas(), target.Whole(), kCapturePaintOptions);
  ASSERT_NE(painter, nullptr);
  RunUntil([&] { return painted >= 3 * kFrames; });
  image.reset();  // stops the painter; the halted painter paints nothing more
  EXPECT_TRUE(target.on_main_thread);
  EXPECT_EQ(target.count, 3 * kFrames);
  for (int i = 0; i < target.count; ++i) {
    EXPECT_EQ(target.pictures[static_cast<size_t>(i)][0], Entry(i % kFrames % 4)) << i;
  }
}

// A loop count of 3 without LoopForeverOption gives three passes, then OnPaintEnd, and the
// painter finishes by itself; a count of 0 is endless.
TEST_F(ThreadedPainter, LoopCounts) {
  for (const uint16_t count : {3, 0}) {
    SCOPED_TRACE(count);
    auto image = LoadImage(MakeGif(2, 1, Frames(2), count));
    RecordingTarget target(2, 1);
    std::string log;
    image->OnNextPass = [&](TGIFPainter*) { log += "N"; };
    image->OnPaintEnd = [&](TGIFPainter*) { log += "E"; };
    image->StartPainter(target.bitmap.canvas(), target.Whole(),
                        ThreadedOption | AnimateOption | LoopOption);
    if (count == 3) {
      RunUntil([&] { return image->Painters.Count() == 0; });
      EXPECT_EQ(target.count, 6);
      EXPECT_EQ(log, "NNE");
    } else {
      RunUntil([&] { return target.count >= 10; });
      EXPECT_EQ(image->Painters.Count(), 1u);
      image->StopPainters();
      EXPECT_EQ(log.find('E'), std::string::npos);
    }
  }
}

// A painter at speed 0 waits without time-out; a speed change wakes it at once.
TEST_F(ThreadedPainter, SpeedZeroWaitsUntilTheSpeedChanges) {
  auto image = LoadImage(MakeGif(2, 1, Frames(3)));
  image->SetSpeedPercent(0);
  RecordingTarget target(2, 1);
  TGIFPainter* painter =
      image->StartPainter(target.bitmap.canvas(), target.Whole(), ThreadedOption | AnimateOption);
  ASSERT_NE(painter, nullptr);
  RunUntil([&] { return target.count == 1; });  // frame 0 is painted at once
  clock_.Advance(1000000);
  runtime::ServeHandOvers();
  EXPECT_EQ(target.count, 1);
  {
    auto locked = image->Painters.Lock();
    ASSERT_EQ(locked.items().size(), 1u);
    locked.items()[0]->ChangeSpeed(100);
  }
  RunUntil([&] { return image->Painters.Count() == 0; });
  EXPECT_EQ(target.count, 3);
}

// The painter is blocked in the hand-over of its first frame when StopPainters comes:
// the halted step paints nothing and the painter finishes.
TEST_F(ThreadedPainter, StopPaintersReturnsWhileAPainterIsBlockedInAHandOver) {
  auto image = LoadImage(MakeGif(2, 1, Frames(3)));
  RecordingTarget target(2, 1);
  std::atomic<bool> queued{false};
  runtime::SetWakeHandler([&] { queued = true; });
  image->StartPainter(target.bitmap.canvas(), target.Whole(), kCapturePaintOptions);
  while (!queued) std::this_thread::yield();
  runtime::SetWakeHandler(nullptr);
  image->StopPainters();
  EXPECT_EQ(image->Painters.Count(), 0u);
  EXPECT_EQ(target.count, 0);
}

TEST_F(ThreadedPainter, HaltOfANeverLaunchedPainterFinishesIt) {
  auto image = LoadImage(MakeGif(2, 1, Frames(3)));
  RecordingTarget target(2, 1);
  int events = 0;
  image->OnPaintBegin = image->OnPaintEnd = [&](TGIFPainter*) { ++events; };
  TGIFPainter* slot = nullptr;
  TGIFPainter* painter =
      image->CreatePainter(&slot, target.bitmap.canvas(), target.Whole(), kCapturePaintOptions);
  ASSERT_NE(painter, nullptr);
  EXPECT_EQ(slot, painter);
  EXPECT_EQ(image->Painters.Count(), 1u);
  painter->Halt();
  RunUntil([&] { return image->Painters.Count() == 0; });
  EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(events, 0);
  EXPECT_EQ(target.count, 0);
}

// Destroying the image stops its painters first: no deadlock, and no painter touches the
// freed image (the sanitizers watch). Also from inside the painter's own event handler,
// where the painter cannot end before the handler returns.
TEST_F(ThreadedPainter, DestroyingTheImageWithARunningPainter) {
  for (const bool from_handler : {false, true}) {
    SCOPED_TRACE(from_handler ? "from OnFrameDone" : "from the main loop");
    auto image = LoadImage(MakeGif(2, 1, Frames(4, 2), 0));
    RecordingTarget target(2, 1);
    bool destroyed = false;
    if (from_handler) {
      image->OnFrameDone = [&](TGIFPainter* p) {
        if (p->CurrentFrame() == 2) {
          image.reset();
          destroyed = true;
        }
      };
    }
    image->StartPainter(target.bitmap.canvas(), target.Whole(), kCapturePaintOptions);
    if (from_handler) {
      RunUntil([&] { return destroyed; });
      // The detached painter ends on its own and paints nothing more.
      const int count = target.count;
      RunUntil([] { return RunningPainterThreads() == 0; });
      EXPECT_EQ(target.count, count);
    } else {
      RunUntil([&] { return target.count >= 6; });
      image.reset();
    }
  }
}

// An animated Draw without DirectOption: the first call starts the draw painter, waits
// for its first frame and stretches the cache; later calls only stretch the cache.
TEST_F(ThreadedPainter, DrawKeepsOnePainterAndItsCache) {
  auto image = LoadImage(MakeGif(2, 1, Frames(3)));
  image->PaintOptions = ThreadedOption | AnimateOption | LoopOption;
  RecordingTarget control(4, 2);
  int changes = 0;
  image->OnChange = [&](TGIFObject*) { ++changes; };
  image->Draw(control.bitmap.canvas(), control.Whole());
  ASSERT_NE(image->DrawPainter, nullptr);
  ASSERT_NE(image->DrawCache, nullptr);
  EXPECT_EQ(control.count, 1);
  EXPECT_EQ(control.bitmap.pixel(3, 1), Entry(0));
  TGIFPainter* first = image->DrawPainter;
  RunUntil([&] { return changes >= 3; });  // the painter goes on in the cache
  image->Draw(control.bitmap.canvas(), {0, 0, 2, 1});
  EXPECT_EQ(image->DrawPainter, first);
  EXPECT_EQ(control.count, 2);
  image->SetSpeedPercent(500);
  EXPECT_EQ(first->SpeedPercent(), 500);
  image->StopDrawPainter();
  EXPECT_EQ(image->DrawPainter, nullptr);
  EXPECT_EQ(image->DrawCache, nullptr);
  EXPECT_EQ(image->Painters.Count(), 0u);
}

// With DirectOption Draw paints straight onto the control and returns at once; the same
// canvas and rectangle keep the painter, another rectangle replaces it.
TEST_F(ThreadedPainter, DirectDrawPaintsOnTheControl) {
  auto image = LoadImage(MakeGif(2, 1, Frames(3)));
  image->PaintOptions = ThreadedOption | AnimateOption | LoopOption | DirectOption;
  RecordingTarget control(4, 1);
  image->Draw(control.bitmap.canvas(), control.Whole());
  TGIFPainter* first = image->DrawPainter;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(image->DrawCache, nullptr);
  image->Draw(control.bitmap.canvas(), control.Whole());
  EXPECT_EQ(image->DrawPainter, first);
  RunUntil([&] { return control.count >= 2; });
  image->Draw(control.bitmap.canvas(), {0, 0, 2, 1});
  ASSERT_NE(image->DrawPainter, nullptr);
  EXPECT_EQ(image->DrawPainter->TargetRect(), (graphics::Rect{0, 0, 2, 1}));
  EXPECT_EQ(image->Painters.Count(), 1u);
  image->StopPainters();
  EXPECT_EQ(image->DrawPainter, nullptr);
}

}  // namespace
}  // namespace zephlet::painter_test
