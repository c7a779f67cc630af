#include "graphics/rect_layout.h"

#include "graphics/mul_div.h"

namespace zephlet::graphics {

namespace {

std::int32_t scale(std::int32_t origin, std::int32_t value, std::int64_t size, std::int32_t space) {
  if (space == 0) return origin;
  const auto clamped = static_cast<std::int32_t>(
      size > INT32_MAX ? INT32_MAX : (size < INT32_MIN ? INT32_MIN : size));
  return static_cast<std::int32_t>(std::int64_t{origin} + mul_div(value, clamped, space));
}

}  // namespace

Rect scale_rect(const Rect& inner, std::int32_t space_width, std::int32_t space_height,
                const Rect& target) {
  const std::int64_t w = target.width();
  const std::int64_t h = target.height();
  return {scale(target.left, inner.left, w, space_width),
          scale(target.top, inner.top, h, space_height),
          scale(target.left, inner.right, w, space_width),
          scale(target.top, inner.bottom, h, space_height)};
}

}  // namespace zephlet::graphics
