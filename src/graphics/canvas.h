// The canvas of a bitmap: the drawing state (copy mode, brush, text and background
// colour) and the drawing operations, each of which raises the bitmap's change
// notification once.
//
// Grouping: between begin_update() and the matching end_update() (or inside an
// UpdateScope) changes raise nothing; the outermost end_update() raises one
// notification when anything changed since the outermost begin_update(). A drawing
// step that must count as one change (a frame drawn with several transfers) wraps its
// operations in one UpdateScope.
//
// Transfers clip the destination rectangle to the bitmap. A destination pixel whose
// source pixel (or, for mask_blt, mask pixel) lies outside its bitmap is left unchanged
// (mask_blt: a mask pixel outside the mask counts as 0). Rectangles with a width or
// height of 0 or less draw nothing. Stretching maps destination pixel i (counted from
// the rectangle's edge) to source pixel i * source width / destination width, rounded
// down; rows likewise.
//
// Colours between formats: a monochrome source without palette becomes the
// destination's text colour (bit 0) and background colour (bit 1); a colour or palette
// source copied to a monochrome destination becomes 1 where its colour equals the
// source canvas's background colour, 0 elsewhere; mono to mono copies bits. Indexed
// sources and destinations with the same palette copy indices; otherwise colours map to
// the nearest destination value.
#pragma once

#include <cstdint>
#include <exception>

#include "graphics/bitmap.h"
#include "graphics/color.h"
#include "graphics/geometry.h"
#include "graphics/raster_op.h"

namespace zephlet::graphics {

struct BlitRequest;

class Canvas {
 public:
  explicit Canvas(Bitmap& bitmap) : bitmap_(&bitmap) {}
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  Bitmap& bitmap() { return *bitmap_; }
  const Bitmap& bitmap() const { return *bitmap_; }

  // Raster operation of copy_rect, draw and stretch_draw; SRCCOPY at first.
  RasterOp copy_mode() const { return copy_mode_; }
  void set_copy_mode(RasterOp op) { copy_mode_ = op; }
  // Solid brush of fill_rect and of raster operations that use the brush; white at first.
  Color brush_color() const { return brush_color_; }
  void set_brush_color(Color c) { brush_color_ = c; }
  // Text and background colour; black and white at first. Each setter returns the
  // previous colour.
  Color text_color() const { return text_color_; }
  Color set_text_color(Color c);
  Color background_color() const { return background_color_; }
  Color set_background_color(Color c);

  // Fills a rectangle with the brush colour.
  void fill_rect(const Rect& r);
  // Block transfer of a w x h source area at (sx, sy) to (x, y).
  void bit_blt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, const Canvas& source,
               std::int32_t sx, std::int32_t sy, RasterOp op);
  // Stretched transfer of the source area (sx, sy, sw, sh) to (x, y, w, h).
  void stretch_blt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                   const Canvas& source, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                   std::int32_t sh, RasterOp op);
  // Masked block transfer: where the monochrome mask's pixel (mx + i, my + j) is 1 the
  // foreground operation applies, where it is 0 the background operation.
  void mask_blt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                const Canvas& source, std::int32_t sx, std::int32_t sy, const Bitmap& mask,
                std::int32_t mx, std::int32_t my, RasterOp foreground, RasterOp background);
  // Stretched transfer of a source rectangle into a destination rectangle with the
  // copy mode.
  void copy_rect(const Rect& dest, const Canvas& source, const Rect& source_rect);
  // The whole source bitmap stretched into a rectangle with the copy mode.
  void stretch_draw(const Rect& dest, const Bitmap& source);
  // The whole source bitmap at (x, y), unscaled, with the copy mode.
  void draw(std::int32_t x, std::int32_t y, const Bitmap& source);

  // Change grouping (see above). end_update without begin_update does nothing.
  void begin_update() { ++update_depth_; }
  void end_update();
  bool updating() const { return update_depth_ > 0; }
  // Reports a change of the bitmap: raises the notification now, or at the end of the
  // open update; nothing inside a SilentScope.
  void changed();

  // Silences the notification for the scope's life: drawing inside it changes the
  // bitmap without reporting it, as transfers on a bare device context do; the caller
  // reports the drawing step with changed() afterwards. Nests; other pending changes of
  // an open update are kept.
  class SilentScope {
   public:
    explicit SilentScope(Canvas& canvas) : canvas_(canvas) { ++canvas_.silent_depth_; }
    SilentScope(const SilentScope&) = delete;
    SilentScope& operator=(const SilentScope&) = delete;
    ~SilentScope() { --canvas_.silent_depth_; }

   private:
    Canvas& canvas_;
  };

  // begin_update for the scope's life. When the scope is left by an exception the
  // grouped notification is dropped instead of raised.
  class UpdateScope {
   public:
    explicit UpdateScope(Canvas& canvas)
        : canvas_(canvas), exceptions_(std::uncaught_exceptions()) {
      canvas_.begin_update();
    }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;
    ~UpdateScope() noexcept(false) {
      if (std::uncaught_exceptions() > exceptions_) {
        canvas_.abandon_update();
      } else {
        canvas_.end_update();
      }
    }

   private:
    Canvas& canvas_;
    int exceptions_;
  };

 private:
  friend class Bitmap;
  void abandon_update();
  BlitRequest transfer(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                       const Canvas& source, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                       std::int32_t sh) const;

  Bitmap* bitmap_;
  RasterOp copy_mode_ = kSrcCopy;
  Color brush_color_ = kWhite;
  Color text_color_ = kBlack;
  Color background_color_ = kWhite;
  int update_depth_ = 0;
  int silent_depth_ = 0;
  bool pending_ = false;
};

}  // namespace zephlet::graphics
