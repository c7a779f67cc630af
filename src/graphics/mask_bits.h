// Transparency masks as monochrome bit rows padded to 16 bits: pixel x of a row is bit
// 7 - (x mod 8) of byte x div 8 (most significant bit first), each row takes
// ((width + 15) div 16) * 2 bytes, rows top to bottom. Bit 1 marks a transparent pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "graphics/bitmap.h"

namespace zephlet::graphics {

// Bytes per mask row of the given width.
constexpr std::uint64_t mask_row_bytes(std::uint64_t width) {
  return (width + 15) / 16 * 2;
}

class MaskBits {
 public:
  // All bits 0. Throws GraphicsError for a negative or too large size.
  MaskBits(std::int32_t width, std::int32_t height);

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  std::size_t stride() const { return stride_; }
  std::span<const std::uint8_t> bytes() const { return bytes_; }

  bool test(std::int32_t x, std::int32_t y) const;
  void set(std::int32_t x, std::int32_t y);
  // Sets the bit of every pixel of row y whose index equals `index`, for the first
  // min(width, indices.size()) pixels. Returns whether any bit was set.
  bool mark_row(std::int32_t y, std::span<const std::uint8_t> indices, std::uint8_t index);
  // Whether any bit is 1.
  bool any() const;

 private:
  std::int32_t width_;
  std::int32_t height_;
  std::size_t stride_;
  std::vector<std::uint8_t> bytes_;
};

// A monochrome bitmap (1 bit per pixel, no palette) of width x height from rows padded
// to 16 bits. Throws GraphicsError when `bits` holds fewer bytes than the rows need.
Bitmap make_monochrome_bitmap(std::int32_t width, std::int32_t height,
                              std::span<const std::uint8_t> bits);
inline Bitmap make_monochrome_bitmap(const MaskBits& mask) {
  return make_monochrome_bitmap(mask.width(), mask.height(), mask.bytes());
}

}  // namespace zephlet::graphics
