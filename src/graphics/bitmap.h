// An in-memory bitmap: width, height, pixel format, an optional palette and rows of
// pixels stored top to bottom, each row padded to a multiple of 4 bytes. Every bitmap
// has one canvas (canvas.h) that draws on it and a change notification.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "graphics/color.h"
#include "graphics/palette.h"
#include "graphics/pixel_format.h"

namespace zephlet::graphics {

class Canvas;

// Largest pixel memory of one bitmap; larger sizes raise GraphicsError.
constexpr std::uint64_t kMaxBitmapBytes = std::uint64_t{256} << 20;
// Largest width or height.
constexpr std::int32_t kMaxBitmapSide = 1 << 20;

// Bytes in one row of `width` pixels of `bits` bits, rounded up to a multiple of
// `alignment` bits (AlignedRowBytes): ((width * bits + alignment - 1) rounded down to a
// multiple of alignment) / 8. 64-bit arithmetic; width and bits must not be negative.
constexpr std::uint64_t aligned_row_bytes(std::uint64_t width, std::uint64_t bits,
                                          std::uint64_t alignment) {
  const std::uint64_t total = width * bits + alignment - 1;
  return (total - total % alignment) / 8;
}

class Bitmap {
 public:
  using ChangeHandler = std::function<void(Bitmap&)>;

  // An empty 0 x 0 bitmap of 24 bits per pixel.
  Bitmap();
  // A new bitmap, white all over (see set_size). Throws GraphicsError for a negative
  // or too large size.
  Bitmap(std::int32_t width, std::int32_t height, PixelFormat format,
         PaletteHandle palette = nullptr);
  // A copy of size, format, palette and pixels; the canvas settings start afresh and
  // the change handler is not copied. A moved-to bitmap takes the canvas and handler.
  // Assignment (copy or move) replaces only size, format, palette and pixels: the
  // bitmap keeps its own canvas (references to it stay valid) and handler, and raises
  // no notification.
  Bitmap(const Bitmap& other);
  Bitmap& operator=(const Bitmap& other);
  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(Bitmap&& other) noexcept;
  ~Bitmap();

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  PixelFormat pixel_format() const { return format_; }
  int bits_per_pixel() const { return graphics::bits_per_pixel(format_); }
  // Bytes per row (a multiple of 4).
  std::size_t stride() const { return stride_; }

  // Row y, counted from the top. Throws GraphicsError when y is outside 0..height-1.
  std::uint8_t* row(std::int32_t y);
  const std::uint8_t* row(std::int32_t y) const;
  // All rows, top row first.
  std::span<std::uint8_t> pixels() { return pixels_; }
  std::span<const std::uint8_t> pixels() const { return pixels_; }

  // Changes the size. The pixels of the old size that lie inside the new one keep
  // their values; new pixels are white: white colour in the colour formats, the entry
  // nearest to white with a palette, index 255 in an 8-bit bitmap without palette, bit 1
  // in a monochrome one. Raises the change notification when the size changes.
  void set_size(std::int32_t width, std::int32_t height);
  void set_width(std::int32_t width) { set_size(width, height_); }
  void set_height(std::int32_t height) { set_size(width_, height); }

  // Changes the pixel format, converting every pixel through its colour (to an indexed
  // format: the nearest palette entry; to monochrome: white when red + green + blue
  // exceeds 382). Raises the change notification when the format changes.
  void set_pixel_format(PixelFormat format);

  // The palette of an indexed bitmap (the colour table); may be none. Kept but unused by
  // the colour formats.
  const PaletteHandle& palette() const { return palette_; }
  // Replaces the palette; indices keep their values. Raises the change notification.
  void set_palette(PaletteHandle palette);

  // Colour of one pixel, or sets one pixel to the value nearest to a colour. Slow;
  // for tests and conversions. Throw GraphicsError outside the bitmap.
  Color pixel(std::int32_t x, std::int32_t y) const;
  void set_pixel(std::int32_t x, std::int32_t y, Color c);
  // The raw pixel value: an index, a bit, or 0x00RRGGBB for the colour formats.
  std::uint32_t pixel_value(std::int32_t x, std::int32_t y) const;

  // Replaces size, format, palette and pixels with those of a BMP file image (bmp.h).
  // Throws GraphicsError for bytes that are not such an image; the bitmap is then
  // unchanged. Raises the change notification.
  void load_bmp(std::span<const std::uint8_t> file);

  // The canvas that draws on this bitmap. It is made with the bitmap (so reading it
  // never changes a shared bitmap) and stays with the bitmap's content when the bitmap
  // is moved; a moved-from bitmap makes a new one on first use.
  Canvas& canvas();
  const Canvas& canvas() const;

  // The change notification: called after a drawing step or a property change has
  // changed the bitmap. Canvas::begin_update/end_update group several changes into one.
  void set_on_change(ChangeHandler handler) { on_change_ = std::move(handler); }
  const ChangeHandler& on_change() const { return on_change_; }
  // Reports a change (through the canvas, so that an open update groups it).
  void changed();

 private:
  friend class Canvas;
  void raise_change();
  // Replaces the image content, keeping canvas and handler.
  void assign_content(Bitmap&& other);

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  PixelFormat format_ = PixelFormat::k24Bit;
  std::size_t stride_ = 0;
  PaletteHandle palette_;
  std::vector<std::uint8_t> pixels_;
  mutable std::unique_ptr<Canvas> canvas_;
  ChangeHandler on_change_;
};

}  // namespace zephlet::graphics
