// TGIFPainter: plays an image's frames onto a target canvas in file order, waiting each
// frame's delay, applying each frame's disposal and following the loop rules.
//
// A threaded painter (ThreadedOption) runs its loop on a thread of its own; every step
// that touches the target, the disposal buffers, a frame bitmap or an event handler is
// handed to the main thread (runtime::Synchronize) and none runs once the painter is
// halted. A synchronous painter runs inline in the call that creates it.
//
// Lifetime: a painter is in its image's Painters list from its creation until Finish.
// A threaded painter frees itself when its thread ends, right after Finish has run on
// the main thread; a synchronous one is freed by CreatePainter when its loop ends. Any
// other thread reaches a painter only through the Painters list or the DrawPainter
// slot, under the list's lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

#include "gif/painter/paint_options.h"
#include "gif/painter/painter_event.h"
#include "gif/painter/wake_event.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/color.h"
#include "graphics/geometry.h"

namespace zephlet {

class TGIFImage;
class TGIFSubImage;
// The platform's thread priorities; std::thread has none, so the value is kept only.
inline constexpr int kPriorityNormal = 3;

class TGIFPainter {
 public:
  // Construction: stores the target and options, copies the image's speed, makes the
  // wake event of an animated threaded painter and the disposal buffers a frame needs.
  // Reading the target here raises no change notification on it.
  TGIFPainter(TGIFImage* image, graphics::Canvas& target, const graphics::Rect& target_rect,
              TGIFPaintOptions options);
  TGIFPainter(const TGIFPainter&) = delete;
  TGIFPainter& operator=(const TGIFPainter&) = delete;
  // Runs Finish when it has not run yet.
  ~TGIFPainter();

  // Threaded: starts the thread (once). Synchronous: nothing.
  void Launch();
  // Ends the painter: it paints nothing more and raises no further event. Any thread.
  // A threaded painter is woken from its wait and started when it never was, so that
  // its thread can end.
  void Halt();
  // Clamps to 0..1000; a different value is stored and wakes the waiting painter, or,
  // without a wake event, restarts the run from frame 0.
  void ChangeSpeed(int percent);

  // The painter loop. Runs on the painter's thread, or inline for a synchronous one.
  void Execute();
  // Detaches from the image and frees the buffers. Runs once, on the main thread for a
  // threaded painter.
  void Finish();

  // Readable by the event handlers.
  TGIFImage* Image() const { return image_; }
  graphics::Canvas& TargetCanvas() const { return *target_; }
  const graphics::Rect& TargetRect() const { return target_rect_; }
  TGIFPaintOptions Options() const { return options_; }
  bool Threaded() const { return HasOption(options_, ThreadedOption); }
  bool HasPainted() const { return has_painted_; }
  bool Terminated() const { return terminated_; }
  int SpeedPercent() const { return speed_percent_; }
  int Priority() const { return priority_; }
  void SetPriority(int priority) { priority_ = priority; }
  // -1 outside a run. A handler of OnFrameDone that changes it makes the painter go on
  // from the new index.
  int CurrentFrame() const { return current_frame_; }
  void SetCurrentFrame(int frame) { current_frame_ = frame; }
  uint8_t Disposal() const { return disposal_; }
  uint8_t PreviousDisposal() const { return previous_disposal_; }
  graphics::Color BackgroundColor() const { return background_color_; }
  // The disposal buffers, or null; main thread only.
  const graphics::Bitmap* Composite() const { return composite_.get(); }
  const graphics::Bitmap* Scratch() const { return scratch_.get(); }
  const graphics::Bitmap* Backdrop() const { return backdrop_.get(); }
  bool HasWakeEvent() const { return wake_ != nullptr; }
  // True on the main thread while one of this painter's steps (a paint step or an event
  // handler) runs there: the painter's thread is then blocked until the step returns.
  bool InMainThreadStep() const { return in_main_step_; }

  // The slot (an image's DrawPainter) that holds this painter; Finish clears it.
  TGIFPainter** OwnerRef = nullptr;

  PainterEvent OnPaintBegin;
  PainterEvent OnFrameBegin;
  PainterEvent OnFrameDone;
  PainterEvent OnNextPass;
  PainterEvent OnPaintEnd;

  // The error that ended the run, or none. A synchronous painter's creator raises it
  // again once the painter is gone; a threaded painter drops it when it ends.
  std::exception_ptr SavedError() const { return saved_error_; }

  // Leaves the image without touching it: used when the image goes away while the
  // painter is still registered (under the Painters lock).
  void DetachImage() {
    image_ = nullptr;
    OwnerRef = nullptr;
  }

 private:
  void Terminate() { terminated_ = true; }
  void RunLoop();
  void WaitBeforeFrame(TGIFSubImage& frame, int32_t& wait_units, uint32_t& last_tick,
                       int32_t& planned_wait);
  // Runs `step` on the main thread (directly for a synchronous painter); nothing once
  // the painter is halted, also when the halt comes while the step waits its turn.
  void RunInMainThread(const std::function<void()>& step);
  void Raise(const PainterEvent& event);
  TGIFSubImage& Frame(int index) const;
  int FrameCount() const;

  // Main-thread paint steps.
  void PaintFrame(TGIFSubImage& frame, int index);
  void PaintPlain(TGIFSubImage& frame);
  void PaintComposited(TGIFSubImage& frame, int index);
  void RestoreFrameArea(TGIFSubImage& frame);
  void RestoreArea(const graphics::Rect& area);
  graphics::Rect BufferRect() const;
  bool TargetLost() const;

  void ThreadMain();

  TGIFImage* image_;
  graphics::Canvas* target_;
  graphics::Rect target_rect_;
  TGIFPaintOptions options_;
  std::atomic<int> speed_percent_;
  std::atomic<int> current_frame_{-1};
  uint8_t disposal_ = 1;
  uint8_t previous_disposal_ = 1;
  std::unique_ptr<graphics::Bitmap> composite_;
  std::unique_ptr<graphics::Bitmap> scratch_;
  std::unique_ptr<graphics::Bitmap> backdrop_;
  const graphics::Bitmap* target_surface_ = nullptr;  // noted with CheckTargetOption
  std::atomic<bool> restart_requested_{false};
  std::atomic<bool> has_painted_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> launched_{false};
  std::atomic<int> priority_{kPriorityNormal};
  std::unique_ptr<WakeEvent> wake_;
  std::exception_ptr saved_error_;
  const PainterEvent* pending_event_ = nullptr;
  graphics::Color background_color_ = graphics::kWhite;
  bool finished_ = false;
  bool in_main_step_ = false;
};

// Painter threads that have been started and have not yet ended. A painter's thread
// ends shortly after its Finish; the player's shutdown and the tests wait for 0.
int RunningPainterThreads();

// The platform's colour conversion: a system colour (0x80000000 + index) becomes its
// colour in the standard scheme; any other value keeps its low 24 bits.
graphics::Color ColorToRGB(uint32_t color);

}  // namespace zephlet
