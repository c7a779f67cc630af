// The image's own drawing for picture controls: frame 0 at once for a still image; for
// an animated one a painter of its own (DrawPainter) that paints into the image-sized
// DrawCache, which every Draw stretches into the control's rectangle, or, with
// DirectOption, straight onto the control's canvas.
#include <algorithm>

#include "gif/gif_image.h"
#include "gif/painter/gif_painter.h"
#include "gif/painter/painter_wait.h"
#include "graphics/rect_layout.h"

namespace zephlet {

namespace {

// Clears Drawing on every way out of Draw.
class DrawingGuard {
 public:
  explicit DrawingGuard(bool& drawing) : drawing_(drawing) { drawing_ = true; }
  DrawingGuard(const DrawingGuard&) = delete;
  DrawingGuard& operator=(const DrawingGuard&) = delete;
  ~DrawingGuard() { drawing_ = false; }

 private:
  bool& drawing_;
};

}  // namespace

void TGIFImage::Draw(graphics::Canvas& canvas, const graphics::Rect& rect) {
  if (Drawing || Empty()) return;
  DrawingGuard guard(Drawing);
  const bool tile = HasOption(PaintOptions, TileOption);
  const bool direct = HasOption(PaintOptions, DirectOption);

  if (Frames().Count() == 1 || !HasOption(PaintOptions, AnimateOption)) {
    Frames()[0].DrawFrame(canvas, rect, tile, HasOption(PaintOptions, TransparentOption));
    return;
  }

  const auto stretch_cache = [&] {
    graphics::Bitmap* cache = DrawCacheBitmap();
    if (cache == nullptr) return;
    if (!tile) {
      canvas.stretch_draw(rect, *cache);
      return;
    }
    graphics::Canvas::UpdateScope one_change(canvas);
    graphics::for_each_tile(rect, rect.left, rect.top, Width(), Height(),
                            [&](int32_t left, int32_t top) { canvas.draw(left, top, *cache); });
  };

  if (DrawCache && !direct) {
    stretch_cache();
    return;
  }

  auto locked = Painters.Lock();
  if (DrawPainter != nullptr && &DrawPainter->TargetCanvas() == &canvas &&
      DrawPainter->TargetRect() == rect) {
    return;
  }
  StopDrawPainter();

  graphics::Canvas* target = &canvas;
  graphics::Rect target_rect = rect;
  if (!direct) {
    graphics::Bitmap* cache = NewDrawCache();
    target_rect = {0, 0, cache->width(), cache->height()};
    // The cache starts with what the control shows.
    cache->canvas().copy_rect(target_rect, canvas, rect);
    target = &cache->canvas();
  }
  if (TGIFPainter* painter = CreatePainter(&DrawPainter, *target, target_rect, PaintOptions)) {
    painter->Launch();
  }
  if (direct) return;

  WaitServingHandOvers([this] {
    auto relocked = Painters.Lock();
    return DrawPainter == nullptr || DrawPainter->Terminated() || DrawPainter->HasPainted();
  });
  stretch_cache();
}

graphics::Bitmap* TGIFImage::DrawCacheBitmap() {
  if (Empty()) return nullptr;
  if (DrawCache) return DrawCache.get();
  auto cache = std::make_unique<graphics::Bitmap>();
  cache->set_on_change([this](graphics::Bitmap&) { Changed(this); });
  TGIFSubImage& first = Frames()[0];
  if (first.FrameWidth == Width() && first.FrameHeight == Height()) {
    if (const graphics::Bitmap* bitmap = first.FrameBitmap()) *cache = *bitmap;
  } else {
    cache->set_palette(graphics::copy_palette(ImagePalette()));
    cache->set_pixel_format(graphics::PixelFormat::k32Bit);
    cache->set_size(Width(), Height());
    first.DrawFrame(cache->canvas(), {0, 0, Width(), Height()}, false, false);
  }
  DrawCache = std::move(cache);
  return DrawCache.get();
}

graphics::Bitmap* TGIFImage::NewDrawCache() {
  if (DrawCache) return DrawCache.get();
  auto cache = std::make_unique<graphics::Bitmap>();
  cache->set_on_change([this](graphics::Bitmap&) { Changed(this); });
  cache->set_palette(graphics::copy_palette(ImagePalette()));
  cache->set_pixel_format(graphics::PixelFormat::k32Bit);
  cache->set_size(Width(), Height());
  DrawCache = std::move(cache);
  return DrawCache.get();
}

void TGIFImage::StopDrawPainter() {
  WaitServingHandOvers([this] {
    auto locked = Painters.Lock();
    if (DrawPainter == nullptr) return true;
    DrawPainter->Halt();
    if (!DrawPainter->Threaded()) return true;
    if (DrawPainter->InMainThreadStep()) {
      // Called from one of its own event handlers: it cannot end before this returns,
      // so it is let go; halted, it ends without touching the image.
      TGIFPainter* painter = DrawPainter;
      DrawPainter = nullptr;
      painter->DetachImage();
      locked.items().erase(std::remove(locked.items().begin(), locked.items().end(), painter),
                           locked.items().end());
      return true;
    }
    return false;
  });
  ReleaseDrawCache();
}

}  // namespace zephlet
