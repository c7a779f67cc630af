// The cost of one painted frame: a 100-frame, 320 x 240 transparent animation with
// disposal 2 (restore to background), painted by a synchronous painter on a clock whose
// sleeps pass at once, so that no frame delay is timed. Reported beside the floor, one
// plain 32-bit copy of a 320 x 240 frame, measured in the same process: x_floor is the
// painted frame's time divided by the copy's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>

#include "gif/extensions.h"
#include "gif/gif_image.h"
#include "gif/painter/paint_options.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "runtime/clock.h"
#include "runtime/synchronize.h"

namespace zephlet {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFrames = 100;
constexpr uint8_t kTransparent = 15;

class InstantClock final : public runtime::ClockSource {
 public:
  uint32_t NowMs() override { return now_; }
  void SleepMs(uint32_t ms) override { now_ += ms; }

 private:
  std::atomic<uint32_t> now_{0};
};

// The animation is built in memory: 16 global colours, every frame the whole screen, a
// moving band of colours over transparent pixels, disposal 2, delay 3.
std::unique_ptr<TGIFImage> LoadAnimation() {
  auto image = std::make_unique<TGIFImage>();
  image->PaintOptions = 0;
  image->ScreenHeader().LogicalWidth = kWidth;
  image->ScreenHeader().LogicalHeight = kHeight;
  TGIFGlobalColorMap& colors = image->GlobalMap();
  colors.Grow(16);
  colors.SetEntryCount(16);
  for (int i = 0; i < 16; ++i) {
    colors.SetEntry(i, {static_cast<uint8_t>(16 * i), static_cast<uint8_t>(255 - 16 * i),
                        static_cast<uint8_t>(7 * i)});
  }
  for (int f = 0; f < kFrames; ++f) {
    auto frame = std::make_unique<TGIFSubImage>(image.get());
    frame->FrameWidth = kWidth;
    frame->FrameHeight = kHeight;
    frame->AllocatePixels(kTransparent);
    uint8_t* pixels = frame->Pixels();
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (((x + 3 * f) / 16 + y / 16) % 3 == 0) continue;
        pixels[y * kWidth + x] = static_cast<uint8_t>((x / 8 + y / 8 + f) % 15);
      }
    }
    auto control = std::make_unique<TGIFGraphicControlExtension>(frame.get());
    control->SetDisposalMode(2);
    control->SetFrameDelay(3);
    control->SetTransparentIndex(kTransparent);
    control->SetTransparencyFlag(true);
    frame->HasTransparency = true;
    frame->ExtensionBlocks.Add(std::move(control));
    image->AddFrame(std::move(frame));
  }
  return image;
}

// Seconds per plain copy of a 320 x 240 32-bit frame: the best of several runs.
double CopyFloorSeconds() {
  graphics::Bitmap frame(kWidth, kHeight, graphics::PixelFormat::k32Bit);
  graphics::Bitmap target(kWidth, kHeight, graphics::PixelFormat::k32Bit);
  double best = 1e9;
  for (int run = 0; run < 20; ++run) {
    constexpr int kCopies = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCopies; ++i) {
      target.canvas().bit_blt(0, 0, kWidth, kHeight, frame.canvas(), 0, 0, graphics::kSrcCopy);
      benchmark::DoNotOptimize(target.pixels().data());
      benchmark::ClobberMemory();
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count() / kCopies);
  }
  return best;
}

void Report(benchmark::State& state, double seconds, int64_t frames) {
  static const double floor = CopyFloorSeconds();
  const double per_frame = seconds / static_cast<double>(frames);
  state.SetItemsProcessed(frames);
  state.counters["frame_us"] = per_frame * 1e6;
  state.counters["floor_us"] = floor * 1e6;
  state.counters["x_floor"] = per_frame / floor;
}

constexpr uint16_t kOptions = AnimateOption | TransparentOption;

// Steady state: the frame bitmaps and masks are built; one pass of 100 frames per
// iteration, the painter's buffers made once per pass.
void BM_PaintedFrame(benchmark::State& state) {
  InstantClock clock;
  runtime::SetMainThread();
  runtime::SetClockSource(&clock);
  auto image = LoadAnimation();
  graphics::Bitmap capture(kWidth, kHeight, graphics::PixelFormat::k32Bit);
  image->StartPainter(capture.canvas(), {0, 0, kWidth, kHeight}, kOptions);  // builds bitmaps
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    image->StartPainter(capture.canvas(), {0, 0, kWidth, kHeight}, kOptions);
    benchmark::DoNotOptimize(capture.pixels().data());
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  Report(state, seconds, state.iterations() * kFrames);
  runtime::SetClockSource(nullptr);
}
BENCHMARK(BM_PaintedFrame)->Unit(benchmark::kMillisecond);

// The capture's first pass: every frame's bitmap and mask are built as it is painted.
void BM_FirstPassFrame(benchmark::State& state) {
  InstantClock clock;
  runtime::SetMainThread();
  runtime::SetClockSource(&clock);
  graphics::Bitmap capture(kWidth, kHeight, graphics::PixelFormat::k32Bit);
  double seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto image = LoadAnimation();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    image->StartPainter(capture.canvas(), {0, 0, kWidth, kHeight}, kOptions);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    image.reset();
    state.ResumeTiming();
  }
  Report(state, seconds, state.iterations() * kFrames);
  runtime::SetClockSource(nullptr);
}
BENCHMARK(BM_FirstPassFrame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zephlet
