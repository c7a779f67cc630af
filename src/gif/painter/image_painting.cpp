// The image's side of painting: creating and starting painters, the speed that reaches
// the draw painter, and stopping painters before the frames change or go.
#include <memory>

#include "gif/gif_image.h"
#include "gif/painter/gif_painter.h"
#include "gif/painter/painter_timing.h"
#include "gif/painter/painter_wait.h"

namespace zephlet {

namespace {

class PainterService final : public TGIFPainterService {
 public:
  void StopPainters(TGIFImage& image) override { HaltAndWait(image); }
  // Threads cannot be ended from outside without leaving their locks and memory in an
  // unknown state; they are halted and waited for, which always ends because a halted
  // painter paints nothing and a closed hand-over queue releases its waiters.
  void KillPainterThreads(TGIFImage& image) override { HaltAndWait(image); }

  void HaltDrawPainter(TGIFImage& image) override {
    auto locked = image.Painters.Lock();
    if (image.DrawPainter != nullptr) image.DrawPainter->Halt();
  }

  void DetachPainters(TGIFImage& image) override {
    auto locked = image.Painters.Lock();
    for (TGIFPainter* painter : locked.items()) painter->DetachImage();
    locked.items().clear();
    image.DrawPainter = nullptr;
  }

 private:
  // Halts every painter, last to first, and answers whether a threaded one is still
  // running. A threaded painter whose step is running on this thread (the caller is one
  // of its event handlers) cannot end before the caller returns: it is detached instead,
  // so that it ends without touching the image.
  static bool HaltAll(TGIFImage& image) {
    auto locked = image.Painters.Lock();
    auto& painters = locked.items();
    bool running = false;
    for (size_t i = painters.size(); i-- > 0;) {
      TGIFPainter* painter = painters[i];
      painter->Halt();
      if (!painter->Threaded()) continue;
      if (painter->InMainThreadStep()) {
        if (image.DrawPainter == painter) image.DrawPainter = nullptr;
        painter->DetachImage();
        painters.erase(painters.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      running = true;
    }
    return running;
  }

  static void HaltAndWait(TGIFImage& image) {
    if (!HaltAll(image)) return;
    WaitServingHandOvers([&image] { return !HaltAll(image); });
  }
};

PainterService& Service() {
  static PainterService service;
  return service;
}

}  // namespace

TGIFPainter* TGIFImage::StartPainter(graphics::Canvas& canvas, const graphics::Rect& rect,
                                     uint16_t options) {
  TGIFPainter* painter = CreatePainter(nullptr, canvas, rect, options);
  if (painter != nullptr) painter->Launch();
  return painter;
}

TGIFPainter* TGIFImage::CreatePainter(TGIFPainter** ref, graphics::Canvas& canvas,
                                      const graphics::Rect& rect, uint16_t options) {
  InstallPainterService(&Service());
  if (Empty() || rect.empty()) {
    if (ref != nullptr) *ref = nullptr;
    return nullptr;
  }
  // A one-frame image is painted once, inline, whatever the options.
  if (Frames().Count() == 1) options &= static_cast<uint16_t>(~(ThreadedOption | AnimateOption));

  auto painter = std::make_unique<TGIFPainter>(this, canvas, rect, options);
  {
    auto locked = Painters.Lock();
    if (ref != nullptr) {
      *ref = painter.get();
      painter->OwnerRef = ref;
    }
    locked.items().push_back(painter.get());
  }
  painter->OnPaintBegin = OnPaintBegin;
  painter->OnFrameBegin = OnFrameBegin;
  painter->OnFrameDone = OnFrameDone;
  painter->OnNextPass = OnNextPass;
  painter->OnPaintEnd = OnPaintEnd;

  if (painter->Threaded()) {
    painter->SetPriority(PainterPriority);
    return painter.release();
  }
  painter->Execute();
  const std::exception_ptr error = painter->SavedError();
  painter.reset();  // Finish
  if (error) std::rethrow_exception(error);
  return nullptr;
}

void TGIFImage::SetSpeedPercent(int percent) {
  const int clamped = gif::clamp_speed_percent(percent);
  if (clamped == SpeedPercent) return;
  SpeedPercent = clamped;
  auto locked = Painters.Lock();
  if (DrawPainter != nullptr) DrawPainter->ChangeSpeed(clamped);
}

}  // namespace zephlet
