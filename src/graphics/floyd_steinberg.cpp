#include "graphics/floyd_steinberg.h"

#include <algorithm>

#include "graphics/graphics_error.h"
#include "graphics/web_cube.h"

namespace zephlet::graphics {

namespace {

// round(numerator / 51) for numerator >= 0, to the nearest integer. No value of the
// two uses (6 G and 36 R) lies halfway.
int round_div51(int numerator) {
  return (numerator + 25) / 51;
}

}  // namespace

std::uint8_t transparent_fill_index(Rgb c) {
  const int f = round_div51(6 * c.green) + c.blue / 51 + round_div51(36 * c.red) + 1;
  return static_cast<std::uint8_t>(f % 256);
}

FloydSteinbergDitherer::FloydSteinbergDitherer(std::int32_t width) : width_(width) {
  if (width < 0) throw GraphicsError("Invalid dither width");
  const std::size_t slots = 3 * (static_cast<std::size_t>(width) + 2);
  current_.assign(slots, 0);
  next_.assign(slots, 0);
}

template <class ColorAt, class SkipAt>
void FloydSteinbergDitherer::run_row(ColorAt color_at, SkipAt skip_at, std::uint8_t* out) {
  const int step = left_to_right_ ? 1 : -1;
  std::int32_t x = left_to_right_ ? 0 : width_ - 1;
  for (std::int32_t i = 0; i < width_; ++i, x += step) {
    // Slot of pixel x is x + 1 (slot 0 and slot width + 1 are the margins).
    const std::size_t at = 3 * (static_cast<std::size_t>(x) + 1);
    if (skip_at(x)) continue;
    const Rgb c = color_at(x);
    const int channels[3] = {c.red, c.green, c.blue};
    int value[3];
    int error[3];
    for (int k = 0; k < 3; ++k) {
      value[k] =
          std::clamp(channels[k] + (current_[at + static_cast<std::size_t>(k)] + 8) / 16, 0, 255);
    }
    const int levels[3] = {web_cube_level(value[0]), web_cube_level(value[1]),
                           web_cube_level(value[2])};
    out[x] = static_cast<std::uint8_t>(36 * levels[0] + 6 * levels[1] + levels[2]);
    for (int k = 0; k < 3; ++k) error[k] = value[k] - 51 * levels[k];
    const std::size_t ahead = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(at) + 3 * step);
    const std::size_t behind = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(at) - 3 * step);
    for (int k = 0; k < 3; ++k) {
      const auto kk = static_cast<std::size_t>(k);
      current_[ahead + kk] += 7 * error[k];
      next_[behind + kk] += 3 * error[k];
      next_[at + kk] += 5 * error[k];
      next_[ahead + kk] += 1 * error[k];
    }
  }
  // The margins collect error that falls outside the row; it is dropped.
  std::swap(current_, next_);
  std::fill(next_.begin(), next_.end(), 0);
  current_[0] = current_[1] = current_[2] = 0;
  const std::size_t last = 3 * (static_cast<std::size_t>(width_) + 1);
  current_[last] = current_[last + 1] = current_[last + 2] = 0;
  left_to_right_ = !left_to_right_;
}

void FloydSteinbergDitherer::dither_row(std::span<const Rgb> colors, std::span<std::uint8_t> out,
                                        std::span<const std::uint8_t> skip) {
  const auto w = static_cast<std::size_t>(width_);
  if (colors.size() != w || out.size() != w || (!skip.empty() && skip.size() != w)) {
    throw GraphicsError("Dither row size mismatch");
  }
  if (skip.empty()) {
    run_row([&](std::int32_t x) { return colors[static_cast<std::size_t>(x)]; },
            [](std::int32_t) { return false; }, out.data());
  } else {
    run_row([&](std::int32_t x) { return colors[static_cast<std::size_t>(x)]; },
            [&](std::int32_t x) { return skip[static_cast<std::size_t>(x)] != 0; }, out.data());
  }
}

bool FloydSteinbergDitherer::dither_indexed_row(std::span<const std::uint8_t> indices,
                                                std::span<const Rgb> map,
                                                std::optional<std::uint8_t> transparent,
                                                std::span<std::uint8_t> out) {
  const auto w = static_cast<std::size_t>(width_);
  if (indices.size() != w || out.size() != w) throw GraphicsError("Dither row size mismatch");
  const auto color_at = [&](std::int32_t x) {
    const std::uint8_t i = indices[static_cast<std::size_t>(x)];
    return i < map.size() ? map[i] : Rgb{};
  };
  if (!transparent) {
    run_row(
        color_at, [](std::int32_t) { return false; }, out.data());
    return false;
  }
  const std::uint8_t t = *transparent;
  std::fill(out.begin(), out.end(), transparent_fill_index(t < map.size() ? map[t] : Rgb{}));
  bool any = false;
  run_row(
      color_at,
      [&](std::int32_t x) {
        const bool hit = indices[static_cast<std::size_t>(x)] == t;
        any = any || hit;
        return hit;
      },
      out.data());
  return any;
}

}  // namespace zephlet::graphics
