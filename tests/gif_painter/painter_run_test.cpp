// The synchronous painter's run: the one-frame capture, events, restarts, kept errors,
// and what creates no painter at all.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "painter_fixture.h"

namespace zephlet::painter_test {
namespace {

std::vector<FrameDef> ThreeFrames() {
  return {{.left = 0, .width = 2, .pixels = {1, 1}},
          {.left = 0, .width = 2, .pixels = {2, 2}},
          {.left = 0, .width = 2, .pixels = {3, 3}}};
}

// The player's capture of a one-frame character: 1631 paints it once, inside the call,
// without a thread, and the wait before the frame keeps the caller's hand-overs flowing.
TEST(PainterRun, OneFrameImageIsPaintedOnceInsideStartPainter) {
  InstantClock clock;
  ClockScope scope(clock);
  auto image = LoadImage(test::CharacterGif());
  RecordingTarget target(186, 32);

  // A worker's hand-over waits in the queue when the capture starts.
  std::atomic<bool> queued{false};
  runtime::SetWakeHandler([&] { queued = true; });
  bool inside_start = false;
  bool served_inside = false;
  std::thread worker([&] { runtime::Synchronize([&] { served_inside = inside_start; }); });
  while (!queued) std::this_thread::yield();
  runtime::SetWakeHandler(nullptr);

  inside_start = true;
  TGIFPainter* painter =
      image->StartPainter(target.bitmap.canvas(), target.Whole(), kCapturePaintOptions);
  inside_start = false;
  runtime::ServeHandOvers();
  worker.join();

  EXPECT_EQ(painter, nullptr);
  EXPECT_EQ(target.count, 1);
  EXPECT_TRUE(target.on_main_thread);
  EXPECT_TRUE(served_inside);
  EXPECT_EQ(image->Painters.Count(), 0u);
  // The character's opaque pixels reached the capture bitmap.
  const test::Bytes pixels = test::CharacterPixels();
  int opaque = 0;
  for (size_t i = 0; i < pixels.size(); ++i) {
    const int32_t x = static_cast<int32_t>(i % 186), y = static_cast<int32_t>(i / 186);
    if (pixels[i] == 15) {
      EXPECT_EQ(target.bitmap.pixel(x, y), W);
    } else {
      ++opaque;
      EXPECT_EQ(target.bitmap.pixel(x, y), Entry(pixels[i]));
    }
  }
  EXPECT_GT(opaque, 0);
}

TEST(PainterRun, NothingIsPaintedForAnEmptyImageOrRectangle) {
  InstantClock clock;
  ClockScope scope(clock);
  auto image = LoadImage(MakeGif(2, 1, ThreeFrames()));
  TGIFImage empty;
  RecordingTarget target(2, 1);
  int begins = 0;
  image->OnPaintBegin = [&](TGIFPainter*) { ++begins; };
  static char sentinel;
  TGIFPainter* slot = reinterpret_cast<TGIFPainter*>(&sentinel);
  for (const graphics::Rect r : {graphics::Rect{0, 0, 0, 1}, graphics::Rect{1, 0, 1, 1},
                                 graphics::Rect{0, 1, 2, 1}, graphics::Rect{2, 0, 1, 1}}) {
    EXPECT_EQ(image->CreatePainter(&slot, target.bitmap.canvas(), r, kCapturePaintOptions),
              nullptr);
    EXPECT_EQ(slot, nullptr);
  }
  EXPECT_EQ(empty.StartPainter(target.bitmap.canvas(), target.Whole(), kCapturePaintOptions),
            nullptr);
  EXPECT_EQ(target.count, 0);
  EXPECT_EQ(begins, 0);
  EXPECT_EQ(image->Painters.Count(), 0u);
}

// Events run in order with the painter as sender; OnFrameDone may move CurrentFrame.
TEST(PainterRun, EventsAndFrameJumps) {
  InstantClock clock;
  ClockScope scope(clock);
  auto image = LoadImage(MakeGif(2, 1, ThreeFrames(), 2));
  std::string log;
  image->OnPaintBegin = [&](TGIFPainter* p) { log += "B" + std::to_string(p->CurrentFrame()); };
  image->OnFrameBegin = [&](TGIFPainter* p) { log += " f" + std::to_string(p->CurrentFrame()); };
  image->OnFrameDone = [&](TGIFPainter* p) {
    log += "d";
    if (p->CurrentFrame() == 0) p->SetCurrentFrame(2);  // skip frame 1
  };
  image->OnNextPass = [&](TGIFPainter* p) { log += " N" + std::to_string(p->CurrentFrame()); };
  image->OnPaintEnd = [&](TGIFPainter* p) { log += " E" + std::to_string(p->CurrentFrame()); };
  RecordingTarget target(2, 1);
  image->StartPainter(target.bitmap.canvas(), target.Whole(), AnimateOption | LoopOption);
  EXPECT_EQ(log, "B0 f0d f2d N0 f0d f2d E-1");
  EXPECT_EQ(target.count, 4);
}

TEST(PainterRun, ChangeSpeedRestartsASynchronousPainterFromFrameZero) {
  InstantClock clock;
  ClockScope scope(clock);
  auto image = LoadImage(MakeGif(2, 1, ThreeFrames()));
  std::string frames;
  int begins = 0;
  image->OnPaintBegin = [&](TGIFPainter*) { ++begins; };
  image->OnFrameDone = [&](TGIFPainter* p) {
    frames += std::to_string(p->CurrentFrame());
    if (p->CurrentFrame() == 1 && begins == 1) p->ChangeSpeed(5000);
    EXPECT_FALSE(p->HasWakeEvent());
  };
  RecordingTarget target(2, 1);
  image->StartPainter(target.bitmap.canvas(), target.Whole(), AnimateOption);
  EXPECT_EQ(frames, "01012");
  EXPECT_EQ(begins, 2);
}

TEST(PainterRun, AnErrorEndsTheRunAndReachesTheCallerOnceThePainterIsGone) {
  InstantClock clock;
  ClockScope scope(clock);
  auto image = LoadImage(MakeGif(2, 1, ThreeFrames()));
  int ends = 0;
  image->OnFrameDone = [&](TGIFPainter* p) {
    if (p->CurrentFrame() == 1) throw std::runtime_error("handler failed");
  };
  image->OnPaintEnd = [&](TGIFPainter*) { ++ends; };
  RecordingTarget target(2, 1);
  try {
    image->StartPainter(target.bitmap.canvas(), target.Whole(), AnimateOption);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "handler failed");
  }
  EXPECT_EQ(target.count, 2);
  EXPECT_EQ(ends, 0);
  EXPECT_EQ(image->Painters.Count(), 0u);
}

// The image's own speed is clamped; painters copy it when they are made.
TEST(PainterRun, SpeedIsClampedAndCopied) {
  InstantClock clock;
  ClockScope scope(clock);
  auto image = LoadImage(MakeGif(2, 1, ThreeFrames()));
  image->SetSpeedPercent(-5);
  EXPECT_EQ(image->SpeedPercent, 0);
  image->SetSpeedPercent(5000);
  EXPECT_EQ(image->SpeedPercent, 1000);
  int speed = -1;
  image->OnPaintBegin = [&](TGIFPainter* p) { speed = p->SpeedPercent(); };
  RecordingTarget target(2, 1);
  image->StartPainter(target.bitmap.canvas(), target.Whole(), 0);
  EXPECT_EQ(speed, 1000);
}

// A synchronous painter waits its frames' delays on the program's clock: 12 ms a unit,
// scaled by the speed, at least 1 ms before the first frame.
TEST(PainterRun, SynchronousWaitsFollowTheDelays) {
  InstantClock clock;
  ClockScope scope(clock);
  auto image = LoadImage(MakeGif(2, 1,
                                 {{.left = 0, .width = 2, .pixels = {1, 1}, .delay = 5},
                                  {.left = 0, .width = 2, .pixels = {2, 2}, .delay = 1},
                                  {.left = 0, .width = 2, .pixels = {3, 3}, .delay = 5000}}));
  std::vector<uint32_t> at;
  image->OnFrameBegin = [&](TGIFPainter*) { at.push_back(clock.NowMs()); };
  RecordingTarget target(2, 1);
  image->StartPainter(target.bitmap.canvas(), target.Whole(), AnimateOption);
  ASSERT_EQ(at.size(), 3u);
  EXPECT_EQ(at[0], 1012u);        // 1 unit
  EXPECT_EQ(at[1] - at[0], 60u);  // 5 units
  EXPECT_EQ(at[2] - at[1], 36u);  // 1 counts as 3
}

TEST(PainterRun, DrawOfAStillImageDrawsFrameZero) {
  InstantClock clock;
  ClockScope scope(clock);
  auto image = LoadImage(MakeGif(2, 1, ThreeFrames()));
  image->PaintOptions = TransparentOption;  // not animated
  RecordingTarget target(4, 1);
  image->Draw(target.bitmap.canvas(), target.Whole());
  EXPECT_EQ(target.pictures,
            (std::vector<std::vector<graphics::Color>>{{Entry(1), Entry(1), Entry(1), Entry(1)}}));
  EXPECT_EQ(image->DrawPainter, nullptr);
  EXPECT_EQ(image->DrawCache, nullptr);
}

}  // namespace
}  // namespace zephlet::painter_test
