// Helpers of the painter tests: GIF fixtures made frame by frame, test clocks, and a
// target bitmap that records every change notification it raises.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "gif/gif_image.h"
#include "gif/painter/gif_painter.h"
#include "gif/stream.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "runtime/clock.h"
#include "runtime/synchronize.h"
#include "support/gif_writer.h"

namespace zephlet::painter_test {

// One frame of a fixture: its rectangle, pixels (indices into the 4-colour global table),
// disposal, delay and transparent index (-1: none). Without `control` it has no graphic
// control extension.
struct FrameDef {
  uint16_t left = 0;
  uint16_t top = 0;
  uint16_t width = 0;
  uint16_t height = 1;
  test::Bytes pixels;
  uint8_t disposal = 1;
  uint16_t delay = 10;
  int transparent = -1;
  bool control = true;
};

// A GIF of a width x height screen with a 4-entry global table (TestColor), an optional
// loop block before frame 0, and the frames.
inline test::Bytes MakeGif(uint16_t width, uint16_t height, const std::vector<FrameDef>& frames,
                           std::optional<uint16_t> loop_count = std::nullopt) {
  test::GifWriter gif;
  gif.Header(width, height, 4);
  if (loop_count) gif.NetscapeLoop(*loop_count);
  for (const FrameDef& f : frames) {
    if (f.control) {
      const uint8_t flags = static_cast<uint8_t>((f.disposal << 2) | (f.transparent >= 0 ? 1 : 0));
      gif.GraphicControl(flags, f.delay,
                         static_cast<uint8_t>(f.transparent < 0 ? 0 : f.transparent));
    }
    gif.Image(f.left, f.top, f.width, f.height, f.pixels);
  }
  gif.Trailer();
  return gif.Data();
}

inline std::unique_ptr<TGIFImage> LoadImage(const test::Bytes& bytes) {
  auto image = std::make_unique<TGIFImage>();
  image->PaintOptions = 0;  // no dithering: frames keep their exact colours
  MemoryStream stream(bytes);
  image->LoadFromStream(stream);
  return image;
}

// The colour of entry i of the fixtures' global table.
inline graphics::Color Entry(int i) {
  uint8_t rgb[3];
  test::TestColor(i, rgb);
  return graphics::rgb(rgb[0], rgb[1], rgb[2]);
}
constexpr graphics::Color W = graphics::kWhite;

// A clock whose sleeps pass at once: a synchronous painter's waits take no wall time.
class InstantClock final : public runtime::ClockSource {
 public:
  uint32_t NowMs() override { return now_; }
  void SleepMs(uint32_t ms) override { now_ += ms; }

 private:
  std::atomic<uint32_t> now_{1000};
};

// Installs a clock for the test's life and marks the test's thread as the main thread.
class ClockScope {
 public:
  explicit ClockScope(runtime::ClockSource& clock) {
    runtime::SetMainThread();
    runtime::SetClockSource(&clock);
  }
  ~ClockScope() { runtime::SetClockSource(nullptr); }
  ClockScope(const ClockScope&) = delete;
  ClockScope& operator=(const ClockScope&) = delete;
};

// A 32-bit white target that keeps a copy of its colours at every change notification,
// with the thread that raised it.
class RecordingTarget {
 public:
  RecordingTarget(int32_t width, int32_t height)
      : bitmap(width, height, graphics::PixelFormat::k32Bit) {
    bitmap.set_on_change([this](graphics::Bitmap& b) {
      std::vector<graphics::Color> picture;
      for (int32_t y = 0; y < b.height(); ++y)
        for (int32_t x = 0; x < b.width(); ++x) picture.push_back(b.pixel(x, y));
      pictures.push_back(std::move(picture));
      on_main_thread = on_main_thread && runtime::IsMainThread();
      count = static_cast<int>(pictures.size());
    });
  }
  graphics::Rect Whole() const { return {0, 0, bitmap.width(), bitmap.height()}; }
  void Fill(graphics::Color c) {
    graphics::Canvas::SilentScope quiet(bitmap.canvas());
    bitmap.canvas().set_brush_color(c);
    bitmap.canvas().fill_rect(Whole());
  }

  graphics::Bitmap bitmap;
  std::vector<std::vector<graphics::Color>> pictures;
  bool on_main_thread = true;
  std::atomic<int> count{0};
};

// Serves hand-overs until `done`, calling `step` (e.g. advancing a virtual clock) each
// round. Fails the test instead of hanging when the condition never comes.
inline bool ServeUntilDone(
    const std::function<bool()>& done, const std::function<void()>& step = [] {}) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  bool reached = false;
  runtime::ServeUntil([&] {
    if (done()) {
      reached = true;
      return true;
    }
    step();
    return std::chrono::steady_clock::now() > give_up;
  });
  EXPECT_TRUE(reached) << "condition not reached";
  return reached;
}

}  // namespace zephlet::painter_test
