#include "gif/painter/gif_painter.h"

#include <iterator>
#include <optional>
#include <thread>

#include "gif/extensions.h"
#include "gif/gif_image.h"
#include "gif/painter/painter_disposal.h"
#include "gif/painter/painter_timing.h"
#include "graphics/raster_op.h"
#include "graphics/rect_layout.h"
#include "runtime/clock.h"
#include "runtime/synchronize.h"

namespace zephlet {

namespace {

constexpr uint32_t kSystemColorFlag = 0x80000000u;
constexpr uint32_t kWindowColor = 0x80000005u;

std::unique_ptr<graphics::Bitmap> MakeBuffer(const graphics::Rect& size) {
  return std::make_unique<graphics::Bitmap>(static_cast<int32_t>(size.width()),
                                            static_cast<int32_t>(size.height()),
                                            graphics::PixelFormat::k32Bit);
}

}  // namespace

graphics::Color ColorToRGB(uint32_t color) {
  if ((color & 0xFF000000u) != kSystemColorFlag) return color & 0x00FFFFFFu;
  // The standard scheme's colours of the system colour indices, 0x00BBGGRR.
  static constexpr graphics::Color kScheme[] = {
      0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
      0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
      0x808080, 0x808080, 0x000000, 0x000000, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
      0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xFF8000, 0xC8D0D4};
  const uint32_t index = color & 0xFFu;
  return index < std::size(kScheme) ? kScheme[index] : graphics::kBlack;
}

TGIFPainter::TGIFPainter(TGIFImage* image, graphics::Canvas& target,
                         const graphics::Rect& target_rect, TGIFPaintOptions options)
    : image_(image),
      target_(&target),
      target_rect_(target_rect),
      options_(options),
      speed_percent_(gif::clamp_speed_percent(image->SpeedPercent)) {
  const int frame_count = image->Frames().Count();
  if (Threaded() && HasOption(options_, AnimateOption) && frame_count > 1 && speed_percent_ >= 0) {
    wake_ = std::make_unique<WakeEvent>();
  }

  if (image->BackdropColor != kColorNone) {
    background_color_ = ColorToRGB(image->BackdropColor);
  } else if (image->GlobalMap().EntryCount() > 0) {
    background_color_ = image->GlobalMap().MapColor(image->ScreenHeader().BackgroundIndex);
  } else {
    background_color_ = ColorToRGB(kWindowColor);
  }

  bool restores = HasOption(options_, ClearAtStartOption);
  bool restores_previous = false;
  for (int i = 0; i < frame_count; ++i) {
    const TGIFGraphicControlExtension* control = image->Frames()[i].FrameControl;
    if (control == nullptr) continue;
    restores = restores || control->DisposalMode() == 2;
    restores_previous = restores_previous || control->DisposalMode() == 3;
  }

  const graphics::Rect buffer = BufferRect();
  if (restores && HasOption(options_, TransparentOption)) {
    backdrop_ = MakeBuffer(buffer);
    backdrop_->canvas().copy_rect(buffer, target, target_rect_);
  }
  if (restores || restores_previous) {
    composite_ = MakeBuffer(buffer);
    composite_->canvas().set_brush_color(background_color_);
    composite_->canvas().copy_rect(buffer, target, target_rect_);
    scratch_ = MakeBuffer(buffer);
    scratch_->canvas().set_brush_color(background_color_);
  }
}

TGIFPainter::~TGIFPainter() {
  Finish();
}

namespace {
std::atomic<int> running_threads{0};
}  // namespace

int RunningPainterThreads() {
  return running_threads;
}

void TGIFPainter::Launch() {
  if (!Threaded() || launched_.exchange(true)) return;
  ++running_threads;
  try {
    std::thread([this] { ThreadMain(); }).detach();
  } catch (...) {
    --running_threads;
    launched_ = false;
    throw;
  }
}

void TGIFPainter::Halt() {
  Terminate();
  if (!Threaded()) return;
  if (wake_) wake_->Signal();
  priority_ = kPriorityNormal;
  Launch();
}

void TGIFPainter::ChangeSpeed(int percent) {
  const int clamped = gif::clamp_speed_percent(percent);
  if (speed_percent_.exchange(clamped) == clamped) return;
  if (wake_) {
    wake_->Signal();
  } else {
    restart_requested_ = true;
  }
}

void TGIFPainter::ThreadMain() {
  Execute();
  // Finish belongs to the main thread. A painter detached from its image has nothing
  // left there; and once hand-overs are closed nothing runs there any more. In both
  // cases the painter finishes on its own thread.
  if (image_ == nullptr || !runtime::Synchronize([this] { Finish(); })) Finish();
  delete this;
  // The count goes last: once it reads 0 no painter thread touches shared state.
  runtime::NotifyMainThread();
  --running_threads;
}

void TGIFPainter::Finish() {
  if (finished_) return;
  finished_ = true;
  if (image_ != nullptr) {
    auto locked = image_->Painters.Lock();
    if (OwnerRef != nullptr && *OwnerRef == this) *OwnerRef = nullptr;
    image_->Painters.Remove(this);
    image_ = nullptr;
  }
  composite_.reset();
  scratch_.reset();
  backdrop_.reset();
}

TGIFSubImage& TGIFPainter::Frame(int index) const {
  return image_->Frames().SubImage(index);
}

int TGIFPainter::FrameCount() const {
  return image_->Frames().Count();
}

void TGIFPainter::Execute() {
  try {
    RunLoop();
  } catch (const std::exception&) {
    Terminate();
    saved_error_ = std::current_exception();
  } catch (...) {
    // An error of another kind leaves a synchronous painter's caller as it came; on a
    // painter's own thread nothing could handle it.
    Terminate();
    if (!Threaded()) throw;
    saved_error_ = std::current_exception();
  }
}

void TGIFPainter::RunLoop() {
  const bool threaded = Threaded();
  const bool animate = HasOption(options_, AnimateOption);
  const bool loop = HasOption(options_, LoopOption);
  const bool loop_forever = HasOption(options_, LoopForeverOption);
  if (HasOption(options_, CheckTargetOption)) target_surface_ = &target_->bitmap();

  restart_requested_ = true;
  while (restart_requested_ && !terminated_) {
    current_frame_ = 0;
    Raise(OnPaintBegin);
    has_painted_ = false;
    restart_requested_ = false;

    int32_t passes_left = 1;
    int pass_start = current_frame_;
    bool loop_seen = false;
    int32_t wait_units = gif::initial_wait_units(threaded);
    previous_disposal_ = 1;
    uint32_t last_tick = runtime::NowMs();
    int32_t planned_wait = 0;

    while ((passes_left != 0 || loop_forever) && !terminated_ && !restart_requested_) {
      current_frame_ = pass_start;
      if (has_painted_) Raise(OnNextPass);
      while (!terminated_ && !restart_requested_ && current_frame_ < FrameCount()) {
        TGIFSubImage& frame = Frame(current_frame_);
        if (frame.IsEmpty()) break;
        WaitBeforeFrame(frame, wait_units, last_tick, planned_wait);
        if (terminated_) break;
        Raise(OnFrameBegin);
        if (terminated_) break;

        disposal_ = 1;
        for (int i = 0; i < frame.ExtensionBlocks.Count(); ++i) {
          TGIFExtension& extension = frame.ExtensionBlocks[i];
          if (auto* loop_block = dynamic_cast<TGIFAppExtNSLoop*>(&extension)) {
            if (loop_seen) continue;
            loop_seen = true;
            passes_left = loop_block->LoopCount;
            if ((loop_block->LoopCount == 0 || loop_forever) && threaded) passes_left = -1;
            pass_start = current_frame_;
          } else if (auto* control = dynamic_cast<TGIFGraphicControlExtension*>(&extension)) {
            disposal_ = control->DisposalMode();
          }
        }

        const int index = current_frame_;
        RunInMainThread([this, &frame, index] { PaintFrame(frame, index); });
        previous_disposal_ = disposal_;
        if (terminated_) break;

        std::optional<uint16_t> delay;
        if (frame.FrameControl != nullptr) delay = frame.FrameControl->FrameDelay();
        wait_units = gif::frame_delay_units(delay, threaded);

        const int painted = current_frame_;
        Raise(OnFrameDone);
        if (terminated_) break;
        if (current_frame_ == painted) current_frame_ = painted + 1;
        if (!animate) break;
      }
      if (passes_left > 0) --passes_left;
      if (!(animate && loop)) break;
    }
  }
  current_frame_ = -1;
  Raise(OnPaintEnd);
}

void TGIFPainter::WaitBeforeFrame(TGIFSubImage& frame, int32_t& wait_units, uint32_t& last_tick,
                                  int32_t& planned_wait) {
  if (wait_units <= 0) {
    std::this_thread::yield();
    return;
  }
  // Render the bitmap before the clock is read, so that rendering does not count as
  // waiting. Frame caches are touched by the main thread only: two painters of one image,
  // or a painter and the image's own drawing, must never build them at the same time.
  RunInMainThread([&frame] { frame.FrameBitmap(); });
  const bool threaded = Threaded();
  const int speed = speed_percent_;
  const gif::FrameWait plan = gif::plan_frame_wait(
      {wait_units, speed, threaded, runtime::NowMs(), last_tick, planned_wait});
  planned_wait = plan.planned_wait;
  last_tick = plan.last_tick;
  const int32_t wait_ms = plan.wait_ms;

  if (threaded) {
    // Only an animated many-frame painter has a wake event, and only it ever waits
    // here with a positive time (the first frame of a run waits 0).
    if (wake_ && gif::threaded_painter_waits(wait_ms, speed) && wake_->Wait(wait_ms)) {
      planned_wait = 0;
      last_tick = runtime::NowMs();
    }
    return;
  }

  int32_t left = gif::synchronous_wait_ms(wait_ms);
  uint32_t start = runtime::NowMs();
  while (left > 0 && !terminated_ && !restart_requested_) {
    runtime::SleepMs(static_cast<uint32_t>(gif::sleep_slice_ms(left)));
    const uint32_t now = runtime::NowMs();
    left -= static_cast<int32_t>(now - start);
    start = now;
    // Keep the calling thread's hand-overs flowing while it waits.
    if (!terminated_ && !restart_requested_ && runtime::IsMainThread()) runtime::ServeHandOvers();
  }
}

void TGIFPainter::RunInMainThread(const std::function<void()>& step) {
  if (terminated_) return;
  const auto guarded = [this, &step] {
    if (terminated_) return;
    struct StepMark {
      bool& flag;
      ~StepMark() { flag = false; }
    } mark{in_main_step_};
    in_main_step_ = true;
    step();
  };
  if (Threaded()) {
    runtime::Synchronize(guarded);
  } else {
    guarded();
  }
}

void TGIFPainter::Raise(const PainterEvent& event) {
  if (!event) return;
  RunInMainThread([this, &event] {
    pending_event_ = &event;
    event(this);
    pending_event_ = nullptr;
  });
}

graphics::Rect TGIFPainter::BufferRect() const {
  return {0, 0, static_cast<int32_t>(target_rect_.width()),
          static_cast<int32_t>(target_rect_.height())};
}

bool TGIFPainter::TargetLost() const {
  // A canvas whose bitmap has lost its surface can no longer be drawn on.
  return target_surface_ != nullptr &&
         (&target_->bitmap() != target_surface_ || target_surface_->empty());
}

void TGIFPainter::PaintFrame(TGIFSubImage& frame, int index) {
  // The frame painted is the one the loop picked, whatever a handler did to CurrentFrame.
  if (composite_) {
    PaintComposited(frame, index);
  } else {
    PaintPlain(frame);
  }
}

void TGIFPainter::PaintPlain(TGIFSubImage& frame) {
  // One change notification for the frame, also when it is drawn tile by tile.
  graphics::Canvas::UpdateScope one_change(*target_);
  frame.DrawFrame(*target_, target_rect_, HasOption(options_, TileOption),
                  HasOption(options_, TransparentOption));
  has_painted_ = true;
}

void TGIFPainter::PaintComposited(TGIFSubImage& frame, int index) {
  if (HasOption(options_, CheckTargetOption) && TargetLost()) {
    Terminate();
    return;
  }
  const bool tile = HasOption(options_, TileOption);
  const bool transparent = HasOption(options_, TransparentOption);
  const bool clear_first = HasOption(options_, ClearAtStartOption) && index == 0;
  FrameDrawTarget where = ChooseDrawTarget(disposal_, previous_disposal_);
  // The target shows what Composite held before the restore: a frame drawn straight onto
  // it would keep the old picture under frame 0, so it is drawn over Scratch instead.
  if (clear_first && where == FrameDrawTarget::Target) where = FrameDrawTarget::Scratch;

  const graphics::Rect buffer = BufferRect();
  graphics::Canvas::UpdateScope one_change(*target_);
  if (clear_first) RestoreFrameArea(frame);
  switch (where) {
    case FrameDrawTarget::Composite:
      frame.DrawFrame(composite_->canvas(), buffer, tile, transparent);
      target_->set_copy_mode(graphics::kSrcCopy);
      target_->copy_rect(target_rect_, composite_->canvas(), buffer);
      break;
    case FrameDrawTarget::Target:
      frame.DrawFrame(*target_, target_rect_, tile, transparent);
      break;
    case FrameDrawTarget::Scratch:
      scratch_->canvas().copy_rect(buffer, composite_->canvas(), buffer);
      frame.DrawFrame(scratch_->canvas(), buffer, tile, transparent);
      target_->set_copy_mode(graphics::kSrcCopy);
      target_->copy_rect(target_rect_, scratch_->canvas(), buffer);
      break;
  }
  if (RestoresAfterShowing(disposal_)) RestoreFrameArea(frame);
  has_painted_ = true;
}

void TGIFPainter::RestoreFrameArea(TGIFSubImage& frame) {
  const graphics::Rect buffer = BufferRect();
  if (!HasOption(options_, TileOption)) {
    RestoreArea(frame.ScaledFrameRect(buffer));
    return;
  }
  // Tiled frames are drawn unscaled at their place in every screen-sized tile; their
  // restore covers the same tiles.
  graphics::for_each_tile(
      buffer, buffer.left + frame.FrameLeft, buffer.top + frame.FrameTop, image_->Width(),
      image_->Height(), [&](int32_t left, int32_t top) {
        RestoreArea({left, top, left + frame.FrameWidth, top + frame.FrameHeight});
      });
}

void TGIFPainter::RestoreArea(const graphics::Rect& area) {
  graphics::Canvas& canvas = composite_->canvas();
  if (HasOption(options_, TransparentOption) && backdrop_) {
    canvas.set_copy_mode(graphics::kSrcCopy);
    canvas.copy_rect(area, backdrop_->canvas(), area);
  } else {
    canvas.set_brush_color(background_color_);
    canvas.fill_rect(area);
  }
}

}  // namespace zephlet
