// Pixel values of one bitmap and their colours. A pixel value is a palette index, a
// mono bit, or 0x00RRGGBB (the byte order of a stored colour pixel) in the colour
// formats; raster operations work on these values.
#pragma once

#include <cstdint>
#include <cstring>

#include "graphics/bitmap.h"
#include "graphics/color.h"

namespace zephlet::graphics {

// Value of every bit set in a pixel of the format.
constexpr std::uint32_t value_mask(PixelFormat f) {
  switch (f) {
    case PixelFormat::k1Bit:
      return 0x1;
    case PixelFormat::k8Bit:
      return 0xFF;
    default:
      return 0xFFFFFF;
  }
}

constexpr std::uint32_t value_from_color(Color c) {
  return (std::uint32_t{red_of(c)} << 16) | (std::uint32_t{green_of(c)} << 8) | blue_of(c);
}
constexpr Color color_from_value(std::uint32_t v) {
  return rgb(static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
             static_cast<std::uint8_t>(v));
}

// A monochrome bitmap without palette follows the device rules for mono bitmaps.
inline bool is_mono_device(const Bitmap& b) {
  return b.pixel_format() == PixelFormat::k1Bit && !b.palette();
}

// The colour a pixel value of the bitmap shows.
Color color_of_value(const Bitmap& b, std::uint32_t value);
// The pixel value of the bitmap nearest to a colour (mono: white when red + green +
// blue exceeds 382).
std::uint32_t value_of_color(const Bitmap& b, Color c);

inline std::uint32_t load_value(const std::uint8_t* row, PixelFormat f, std::int32_t x) {
  switch (f) {
    case PixelFormat::k1Bit:
      return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case PixelFormat::k8Bit:
      return row[x];
    case PixelFormat::k24Bit: {
      const std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
      return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
    }
    case PixelFormat::k32Bit: {
      std::uint32_t v;
      std::memcpy(&v, row + 4 * static_cast<std::size_t>(x), 4);
      return v & 0xFFFFFF;
    }
  }
  return 0;
}

inline void store_value(std::uint8_t* row, PixelFormat f, std::int32_t x, std::uint32_t v) {
  switch (f) {
    case PixelFormat::k1Bit: {
      const auto bit = static_cast<std::uint8_t>(0x80u >> (x & 7));
      if (v & 1u) {
        row[x >> 3] = static_cast<std::uint8_t>(row[x >> 3] | bit);
      } else {
        row[x >> 3] = static_cast<std::uint8_t>(row[x >> 3] & ~bit);
      }
      return;
    }
    case PixelFormat::k8Bit:
      row[x] = static_cast<std::uint8_t>(v);
      return;
    case PixelFormat::k24Bit: {
      std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
      p[0] = static_cast<std::uint8_t>(v);
      p[1] = static_cast<std::uint8_t>(v >> 8);
      p[2] = static_cast<std::uint8_t>(v >> 16);
      return;
    }
    case PixelFormat::k32Bit: {
      const std::uint32_t w = v & 0xFFFFFF;
      std::memcpy(row + 4 * static_cast<std::size_t>(x), &w, 4);
      return;
    }
  }
}

}  // namespace zephlet::graphics
