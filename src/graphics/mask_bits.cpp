#include "graphics/mask_bits.h"

#include <algorithm>
#include <cstring>

#include "graphics/graphics_error.h"

namespace zephlet::graphics {

MaskBits::MaskBits(std::int32_t width, std::int32_t height) : width_(width), height_(height) {
  if (width < 0 || height < 0) throw GraphicsError("Invalid mask dimensions");
  const std::uint64_t stride = mask_row_bytes(static_cast<std::uint64_t>(width));
  if (width > kMaxBitmapSide || height > kMaxBitmapSide ||
      stride * static_cast<std::uint64_t>(height) > kMaxBitmapBytes) {
    throw GraphicsError("Mask too large");
  }
  stride_ = static_cast<std::size_t>(stride);
  bytes_.assign(stride_ * static_cast<std::size_t>(height), 0);
}

bool MaskBits::test(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw GraphicsError("Mask index out of range");
  return (bytes_[static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x >> 3)] >>
          (7 - (x & 7))) &
         1u;
}

void MaskBits::set(std::int32_t x, std::int32_t y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw GraphicsError("Mask index out of range");
  std::uint8_t& byte =
      bytes_[static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x >> 3)];
  byte = static_cast<std::uint8_t>(byte | (0x80u >> (x & 7)));
}

bool MaskBits::mark_row(std::int32_t y, std::span<const std::uint8_t> indices, std::uint8_t index) {
  if (y < 0 || y >= height_) throw GraphicsError("Mask index out of range");
  std::uint8_t* row = bytes_.data() + static_cast<std::size_t>(y) * stride_;
  const std::size_t n = std::min(static_cast<std::size_t>(width_), indices.size());
  bool any_set = false;
  for (std::size_t x = 0; x < n; ++x) {
    if (indices[x] == index) {
      row[x >> 3] = static_cast<std::uint8_t>(row[x >> 3] | (0x80u >> (x & 7)));
      any_set = true;
    }
  }
  return any_set;
}

bool MaskBits::any() const {
  return std::any_of(bytes_.begin(), bytes_.end(), [](std::uint8_t b) { return b != 0; });
}

Bitmap make_monochrome_bitmap(std::int32_t width, std::int32_t height,
                              std::span<const std::uint8_t> bits) {
  if (width < 0 || height < 0) throw GraphicsError("Invalid mask dimensions");
  const std::uint64_t in_stride = mask_row_bytes(static_cast<std::uint64_t>(width));
  if (static_cast<std::uint64_t>(bits.size()) < in_stride * static_cast<std::uint64_t>(height)) {
    throw GraphicsError("Mask bits too short");
  }
  Bitmap bitmap(width, height, PixelFormat::k1Bit);
  const std::size_t row_bytes =
      static_cast<std::size_t>((static_cast<std::uint64_t>(width) + 7) / 8);
  for (std::int32_t y = 0; y < height; ++y) {
    std::uint8_t* row = bitmap.row(y);
    std::memcpy(row,
                bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(in_stride),
                row_bytes);
    // Bits past the width keep no meaning; clear them so equal masks compare equal.
    if (width % 8 != 0)
      row[row_bytes - 1] = static_cast<std::uint8_t>(row[row_bytes - 1] & (0xFF00u >> (width % 8)));
  }
  return bitmap;
}

}  // namespace zephlet::graphics
