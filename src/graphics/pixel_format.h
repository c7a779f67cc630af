// Pixel formats of a bitmap.
#pragma once

namespace zephlet::graphics {

// The enumerator's value is the number of bits per pixel.
//  - k1Bit: without a palette a monochrome bitmap (0 black, 1 white; copied to a colour
//    bitmap with the destination's text colour for 0 and background colour for 1);
//    with a palette its two entries give the colours.
//  - k8Bit: palette indices; without a palette index i shows as grey (i, i, i).
//  - k24Bit: blue, green, red bytes.
//  - k32Bit: blue, green, red and an unused byte, always written as 0.
enum class PixelFormat { k1Bit = 1, k8Bit = 8, k24Bit = 24, k32Bit = 32 };

constexpr int bits_per_pixel(PixelFormat f) {
  return static_cast<int>(f);
}
constexpr bool is_indexed(PixelFormat f) {
  return f == PixelFormat::k1Bit || f == PixelFormat::k8Bit;
}

}  // namespace zephlet::graphics
