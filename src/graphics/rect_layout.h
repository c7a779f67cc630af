// Placing rectangles: a rectangle of one coordinate space mapped into a target
// rectangle, and the tiles that repeat a picture across an area.
#pragma once

#include <cstdint>

#include "graphics/geometry.h"

namespace zephlet::graphics {

// The rectangle `inner` of a space_width x space_height space mapped into `target`:
// left = target.left + MulDiv(inner.left, target width, space_width), and likewise for
// top, right and bottom (rounded to nearest, halves away from zero). A space of zero
// width or height maps everything to the target's corner.
Rect scale_rect(const Rect& inner, std::int32_t space_width, std::int32_t space_height,
                const Rect& target);

// Calls fn(left, top) for the upper-left corner of every tile over `area`: lefts
// first_left, first_left + step_x, ... while below area.right; tops likewise while below
// area.bottom; row by row. Tiles are not clipped: the last ones may reach past the area.
// A step of 0 or less gives a single column or row (instead of repeating one tile
// without end). Nothing is allocated, whatever the number of tiles.
template <class Fn>
void for_each_tile(const Rect& area, std::int32_t first_left, std::int32_t first_top,
                   std::int32_t step_x, std::int32_t step_y, Fn&& fn) {
  for (std::int64_t top = first_top; top < area.bottom; top += step_y) {
    for (std::int64_t left = first_left; left < area.right; left += step_x) {
      fn(static_cast<std::int32_t>(left), static_cast<std::int32_t>(top));
      if (step_x <= 0) break;
    }
    if (step_y <= 0) break;
  }
}

}  // namespace zephlet::graphics
