// Floyd-Steinberg error diffusion of colours onto the 216-colour web cube.
//
// Rows are dithered top to bottom in serpentine order: the first row left to right, the
// next right to left, and so on. The error of a pixel goes 7/16 to the next pixel of the
// row, 3/16 to the pixel below and behind, 5/16 to the pixel below and 1/16 to the
// pixel below and ahead (behind and ahead in the row's scan direction); error that
// falls outside the row is dropped. The error is kept per channel in sixteenths: before
// a pixel is looked up each channel becomes channel + (accumulated + 8) / 16, the
// division truncating toward zero, clamped to 0..255; the pixel's error is that value
// minus the chosen cube colour (web_cube.h).
//
// Skipped pixels (transparent ones) are not looked up, keep whatever index the output
// row holds, pass on no error of their own and drop the error that reached them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "graphics/color.h"

namespace zephlet::graphics {

// The index that dithered transparent pixels hold (invisible behind the mask):
// (round(6 G / 51) + B div 51 + round(36 R / 51) + 1) mod 256 for the transparent
// colour (R, G, B), rounding to the nearest integer.
std::uint8_t transparent_fill_index(Rgb color);

class FloydSteinbergDitherer {
 public:
  // Throws GraphicsError for a negative width.
  explicit FloydSteinbergDitherer(std::int32_t width);

  std::int32_t width() const { return width_; }

  // Dithers the next row. colors and out hold width entries; skip, when not empty, too
  // (a non-zero entry skips the pixel). Throws GraphicsError for spans of the wrong size.
  void dither_row(std::span<const Rgb> colors, std::span<std::uint8_t> out,
                  std::span<const std::uint8_t> skip = {});

  // Dithers the next row of colour-map indices. An index past the end of the map counts
  // as black. When `transparent` is given, the row is first filled with
  // transparent_fill_index of that index's colour and the pixels of that index are
  // skipped. Returns whether any pixel had the transparent index.
  bool dither_indexed_row(std::span<const std::uint8_t> indices, std::span<const Rgb> map,
                          std::optional<std::uint8_t> transparent, std::span<std::uint8_t> out);

 private:
  template <class ColorAt, class SkipAt>
  void run_row(ColorAt color_at, SkipAt skip_at, std::uint8_t* out);

  std::int32_t width_;
  bool left_to_right_ = true;
  // Accumulated error in sixteenths, 3 channels per pixel, one slot of margin at each
  // end; `current_` for this row, `next_` for the row below.
  std::vector<std::int32_t> current_;
  std::vector<std::int32_t> next_;
};

}  // namespace zephlet::graphics
