#include "graphics/canvas.h"

#include "graphics/blit_engine.h"

namespace zephlet::graphics {

namespace {

std::int32_t clamp_span(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

}  // namespace

Color Canvas::set_text_color(Color c) {
  const Color previous = text_color_;
  text_color_ = c;
  return previous;
}

Color Canvas::set_background_color(Color c) {
  const Color previous = background_color_;
  background_color_ = c;
  return previous;
}

void Canvas::fill_rect(const Rect& r) {
  BlitRequest request;
  request.dest = bitmap_;
  request.brush = brush_color_;
  request.x = r.left;
  request.y = r.top;
  request.w = clamp_span(r.width());
  request.h = clamp_span(r.height());
  request.foreground = kPatCopy;
  run_blit(request);
  changed();
}

void Canvas::bit_blt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     const Canvas& source, std::int32_t sx, std::int32_t sy, RasterOp op) {
  stretch_blt(x, y, w, h, source, sx, sy, w, h, op);
}

// A transfer of source pixels onto this canvas, with the colours both take part with.
BlitRequest Canvas::transfer(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                             const Canvas& source, std::int32_t sx, std::int32_t sy,
                             std::int32_t sw, std::int32_t sh) const {
  BlitRequest request;
  request.dest = bitmap_;
  request.dest_text = text_color_;
  request.dest_background = background_color_;
  request.brush = brush_color_;
  request.x = x;
  request.y = y;
  request.w = w;
  request.h = h;
  request.source = &source.bitmap();
  request.source_background = source.background_color_;
  request.sx = sx;
  request.sy = sy;
  request.sw = sw;
  request.sh = sh;
  return request;
}

void Canvas::stretch_blt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                         const Canvas& source, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                         std::int32_t sh, RasterOp op) {
  BlitRequest request = transfer(x, y, w, h, source, sx, sy, sw, sh);
  request.foreground = op;
  run_blit(request);
  changed();
}

void Canvas::mask_blt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      const Canvas& source, std::int32_t sx, std::int32_t sy, const Bitmap& mask,
                      std::int32_t mx, std::int32_t my, RasterOp foreground, RasterOp background) {
  BlitRequest request = transfer(x, y, w, h, source, sx, sy, w, h);
  request.mask = &mask;
  request.mx = mx;
  request.my = my;
  request.foreground = foreground;
  request.background = background;
  run_blit(request);
  changed();
}

void Canvas::copy_rect(const Rect& dest, const Canvas& source, const Rect& source_rect) {
  stretch_blt(dest.left, dest.top, clamp_span(dest.width()), clamp_span(dest.height()), source,
              source_rect.left, source_rect.top, clamp_span(source_rect.width()),
              clamp_span(source_rect.height()), copy_mode_);
}

void Canvas::stretch_draw(const Rect& dest, const Bitmap& source) {
  stretch_blt(dest.left, dest.top, clamp_span(dest.width()), clamp_span(dest.height()),
              source.canvas(), 0, 0, source.width(), source.height(), copy_mode_);
}

void Canvas::draw(std::int32_t x, std::int32_t y, const Bitmap& source) {
  stretch_blt(x, y, source.width(), source.height(), source.canvas(), 0, 0, source.width(),
              source.height(), copy_mode_);
}

void Canvas::end_update() {
  if (update_depth_ == 0) return;
  if (--update_depth_ == 0 && pending_) {
    pending_ = false;
    bitmap_->raise_change();
  }
}

void Canvas::abandon_update() {
  if (update_depth_ == 0) return;
  if (--update_depth_ == 0) pending_ = false;
}

void Canvas::changed() {
  if (silent_depth_ > 0) return;
  if (update_depth_ > 0) {
    pending_ = true;
    return;
  }
  bitmap_->raise_change();
}

}  // namespace zephlet::graphics
