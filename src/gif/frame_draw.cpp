// Drawing a frame onto a canvas: placed and scaled into a rectangle, or tiled over it,
// with or without its transparency mask.
#include <algorithm>

#include "gif/frame_bitmap.h"
#include "gif/gif_image.h"
#include "gif/sub_image.h"
#include "graphics/masked_blit.h"
#include "graphics/rect_layout.h"

namespace zephlet {

namespace {

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Calls fn(tile rectangle) for the frame's unscaled copy in every logical-screen-sized
// tile over `area`, starting at the frame's own place.
template <typename Fn>
void ForEachFrameTile(const TGIFSubImage& frame, const graphics::Rect& area, Fn&& fn) {
  const TGIFImage* image = frame.Image();
  const int32_t step_x = image != nullptr ? image->Width() : 0;
  const int32_t step_y = image != nullptr ? image->Height() : 0;
  graphics::for_each_tile(area, Clamp32(int64_t{area.left} + frame.FrameLeft),
                          Clamp32(int64_t{area.top} + frame.FrameTop), step_x, step_y,
                          [&](int32_t left, int32_t top) {
                            fn(graphics::Rect{left, top, Clamp32(int64_t{left} + frame.FrameWidth),
                                              Clamp32(int64_t{top} + frame.FrameHeight)});
                          });
}

}  // namespace

graphics::Rect TGIFSubImage::ScaledFrameRect(const graphics::Rect& rect) const {
  const int32_t width = Image() != nullptr ? Image()->Width() : 0;
  const int32_t height = Image() != nullptr ? Image()->Height() : 0;
  const graphics::Rect frame{FrameLeft, FrameTop, int32_t{FrameLeft} + FrameWidth,
                             int32_t{FrameTop} + FrameHeight};
  return graphics::scale_rect(frame, width, height, rect);
}

void TGIFSubImage::DrawFrame(graphics::Canvas& canvas, const graphics::Rect& rect, bool tile,
                             bool transparent) {
  StretchDrawFrame(canvas, tile ? rect : ScaledFrameRect(rect), tile, transparent);
}

void TGIFSubImage::StretchDrawFrame(graphics::Canvas& canvas, const graphics::Rect& rect, bool tile,
                                    bool transparent) {
  // Every transfer below is grouped into the one change notification of this call.
  graphics::Canvas::UpdateScope update(canvas);
  if (transparent && HasTransparency && MaskReady()) {
    const graphics::Bitmap& mask = *EnsureGDIHandle(MaskBitmap.get());
    const graphics::Bitmap* bitmap = FrameBitmap();
    if (bitmap != nullptr) {
      const graphics::Rect source{0, 0, FrameWidth, FrameHeight};
      if (tile) {
        ForEachFrameTile(*this, rect, [&](const graphics::Rect& t) {
          graphics::masked_stretch_blit(canvas, t, *bitmap, source, mask, 0, 0);
        });
      } else {
        graphics::masked_stretch_blit(canvas, rect, *bitmap, source, mask, 0, 0);
      }
    }
  } else if (const graphics::Bitmap* bitmap = FrameBitmap(); bitmap != nullptr) {
    if (tile) {
      ForEachFrameTile(*this, rect,
                       [&](const graphics::Rect& t) { canvas.stretch_draw(t, *bitmap); });
    } else {
      canvas.stretch_draw(rect, *bitmap);
    }
  }
  canvas.changed();
}

}  // namespace zephlet
