// Rectangles in pixel coordinates: left and top inclusive, right and bottom exclusive.
#pragma once

#include <cstdint>

namespace zephlet::graphics {

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  constexpr std::int64_t width() const { return std::int64_t{right} - left; }
  constexpr std::int64_t height() const { return std::int64_t{bottom} - top; }
  // True when the rectangle covers no pixel (left >= right or top >= bottom).
  constexpr bool empty() const { return left >= right || top >= bottom; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace zephlet::graphics
