#include "capture_frames.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <fstream>
#include <memory>
#include <vector>

#include "gif/gif_image.h"
#include "gif/painter/gif_painter.h"
#include "gif/painter/paint_options.h"
#include "gif/painter/painter_wait.h"
#include "gif/tidy_frames.h"
#include "graphics/bitmap.h"
#include "graphics/bmp.h"
#include "runtime/clock.h"
#include "runtime/file_errors.h"
#include "runtime/synchronize.h"

namespace zephlet {

namespace {

// The pictures do not depend on the timing, only on the order of the frames; on this
// clock every reading is a second later than the one before, so every wait ends at its
// first look at the clock and no run waits for the frames' delays.
class FastForwardClock final : public runtime::ClockSource {
 public:
  uint32_t NowMs() override { return now_ += 1000; }
  void SleepMs(uint32_t ms) override { now_ += ms; }

 private:
  std::atomic<uint32_t> now_{0};
};

class ClockInstalled {
 public:
  explicit ClockInstalled(runtime::ClockSource& clock) { runtime::SetClockSource(&clock); }
  ~ClockInstalled() { runtime::SetClockSource(nullptr); }
  ClockInstalled(const ClockInstalled&) = delete;
  ClockInstalled& operator=(const ClockInstalled&) = delete;
};

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw FileCreateError(path);
}

}  // namespace

int WriteCapturedFrames(const std::string& dir, const std::string& file_name) {
  runtime::SetMainThread();
  FastForwardClock clock;
  ClockInstalled installed(clock);

  // The player adds DirectOption to the unit's defaults before it makes its image.
  DefaultPaintOptions |= DirectOption;
  auto image = std::make_unique<TGIFImage>();
  try {
    image->LoadFromFile(file_name);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }

  int result = 0;
  int written = 0;
  bool first_pass_over = false;
  std::exception_ptr write_error;
  try {
    image->TidyFrames(CleanUpOption, 0, 0, 0);
    image->SetSpeedPercent(1000);
    const int32_t width = image->Width();
    const int32_t height = image->Height();
    graphics::Bitmap capture(width, height, graphics::PixelFormat::k32Bit);
    capture.set_on_change([&](graphics::Bitmap& bitmap) {
      if (first_pass_over || write_error) return;
      char name[32];
      std::snprintf(name, sizeof name, "/frame-%03d.bmp", written);
      try {
        WriteFile(dir + name, graphics::write_bmp24(bitmap));
        ++written;
      } catch (...) {
        write_error = std::current_exception();
      }
    });
    image->OnNextPass = [&](TGIFPainter*) { first_pass_over = true; };
    image->OnPaintEnd = [&](TGIFPainter*) { first_pass_over = true; };

    image->StartPainter(capture.canvas(), {0, 0, width, height}, kCapturePaintOptions);
    // A threaded painter hands its frames to this thread: serve them until the first
    // pass is over or the painter has ended.
    WaitServingHandOvers(
        [&] { return first_pass_over || write_error || image->Painters.Count() == 0; });
    image.reset();  // stops the painter before the capture bitmap goes
    if (write_error) std::rethrow_exception(write_error);
  } catch (const std::exception& e) {
    image.reset();
    std::fprintf(stderr, "%s\n", e.what());
    result = 1;
  }
  // A stopped painter's thread ends right after it finished; let it end before the
  // program does.
  WaitServingHandOvers([] { return RunningPainterThreads() == 0; });
  return result;
}

}  // namespace zephlet
