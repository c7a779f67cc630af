#include "graphics/masked_blit.h"

#include <optional>

#include "graphics/blit_engine.h"
#include "graphics/graphics_error.h"
#include "graphics/pixel_convert.h"

namespace zephlet::graphics {

namespace {

// The mask as it applies to the source rectangle: a source-sized monochrome bitmap
// whose bit is 1 where the mask is 1 or the source pixel is outside the source.
Bitmap mask_window(const Bitmap& source, const Rect& s, const Bitmap& mask, std::int32_t mask_x,
                   std::int32_t mask_y) {
  const auto w = static_cast<std::int32_t>(s.width());
  const auto h = static_cast<std::int32_t>(s.height());
  Bitmap window(w, h, PixelFormat::k1Bit);
  for (std::int32_t y = 0; y < h; ++y) {
    std::uint8_t* row = window.row(y);
    const std::int64_t sy = std::int64_t{s.top} + y;
    const std::int64_t my = std::int64_t{mask_y} + y;
    const bool source_row = sy >= 0 && sy < source.height();
    const std::uint8_t* mask_row =
        (my >= 0 && my < mask.height()) ? mask.row(static_cast<std::int32_t>(my)) : nullptr;
    for (std::int32_t x = 0; x < w; ++x) {
      const std::int64_t sx = std::int64_t{s.left} + x;
      const std::int64_t mx = std::int64_t{mask_x} + x;
      bool bit = !source_row || sx < 0 || sx >= source.width();
      if (!bit && mask_row && mx >= 0 && mx < mask.width()) {
        bit = load_value(mask_row, PixelFormat::k1Bit, static_cast<std::int32_t>(mx)) != 0;
      }
      store_value(row, PixelFormat::k1Bit, x, bit ? 1u : 0u);
    }
  }
  return window;
}

void two_pass(Canvas& dest, const Rect& d, const Bitmap& source, const Rect& s, const Bitmap& mask,
              std::int32_t mask_x, std::int32_t mask_y) {
  const auto sw = static_cast<std::int32_t>(s.width());
  const auto sh = static_cast<std::int32_t>(s.height());
  const auto dw = static_cast<std::int32_t>(d.width());
  const auto dh = static_cast<std::int32_t>(d.height());
  // Inverted mask: 1 marks opaque pixels.
  Bitmap inverted(sw, sh, PixelFormat::k1Bit);
  inverted.canvas().bit_blt(0, 0, sw, sh, mask.canvas(), mask_x, mask_y, kNotSrcCopy);
  // Colour buffer in the destination's format: the source where opaque, black elsewhere.
  Bitmap buffer(sw, sh, dest.bitmap().pixel_format(), dest.bitmap().palette());
  buffer.canvas().bit_blt(0, 0, sw, sh, inverted.canvas(), 0, 0, kSrcCopy);
  buffer.canvas().bit_blt(0, 0, sw, sh, source.canvas(), s.left, s.top, kSrcAnd);
  // Clear the opaque pixels of the destination, then paint the buffer into them.
  const Color previous_text = dest.set_text_color(kBlack);
  const Color previous_background = dest.set_background_color(kWhite);
  dest.stretch_blt(d.left, d.top, dw, dh, mask.canvas(), mask_x, mask_y, sw, sh, kSrcAnd);
  dest.stretch_blt(d.left, d.top, dw, dh, buffer.canvas(), 0, 0, sw, sh, kSrcPaint);
  dest.set_text_color(previous_text);
  dest.set_background_color(previous_background);
}

}  // namespace

MaskedBlitMethod masked_stretch_blit(Canvas& dest, const Rect& dest_rect, const Bitmap& source,
                                     const Rect& source_rect, const Bitmap& mask,
                                     std::int32_t mask_x, std::int32_t mask_y,
                                     MaskedBlitMethod method) {
  if (mask.pixel_format() != PixelFormat::k1Bit)
    throw GraphicsError("Mask bitmap is not monochrome");
  const bool stretching =
      dest_rect.width() != source_rect.width() || dest_rect.height() != source_rect.height();
  const MaskedBlitMethod used = (method == MaskedBlitMethod::kTwoPass || stretching)
                                    ? MaskedBlitMethod::kTwoPass
                                    : MaskedBlitMethod::kSinglePass;
  const Canvas::SilentScope silent(dest);
  if (dest_rect.empty() || source_rect.empty()) return used;
  if (dest_rect.width() > kMaxBitmapSide || dest_rect.height() > kMaxBitmapSide ||
      source_rect.width() > kMaxBitmapSide || source_rect.height() > kMaxBitmapSide) {
    throw GraphicsError("Transfer rectangle too large");
  }
  // When the source rectangle lies inside the source and the mask covers it, the mask
  // is used as it is; otherwise through a window that applies the rules above.
  const std::int64_t mask_right = std::int64_t{mask_x} + source_rect.width();
  const std::int64_t mask_bottom = std::int64_t{mask_y} + source_rect.height();
  const bool covered = source_rect.left >= 0 && source_rect.top >= 0 &&
                       source_rect.right <= source.width() &&
                       source_rect.bottom <= source.height() && mask_x >= 0 && mask_y >= 0 &&
                       mask_right <= mask.width() && mask_bottom <= mask.height();
  std::optional<Bitmap> window;
  if (!covered) window.emplace(mask_window(source, source_rect, mask, mask_x, mask_y));
  const Bitmap& m = covered ? mask : *window;
  const std::int32_t mx = covered ? mask_x : 0;
  const std::int32_t my = covered ? mask_y : 0;
  if (used == MaskedBlitMethod::kSinglePass) {
    dest.mask_blt(dest_rect.left, dest_rect.top, static_cast<std::int32_t>(dest_rect.width()),
                  static_cast<std::int32_t>(dest_rect.height()), source.canvas(), source_rect.left,
                  source_rect.top, m, mx, my, kDstCopy, kSrcCopy);
  } else {
    two_pass(dest, dest_rect, source, source_rect, m, mx, my);
  }
  return used;
}

}  // namespace zephlet::graphics
