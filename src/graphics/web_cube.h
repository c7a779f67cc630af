// The 6 x 6 x 6 colour cube (levels 0, 51, ..., 255 per channel) that dithered frames
// are reduced to, and the lookup of the nearest cube colour.
#pragma once

#include <cstdint>

#include "graphics/color.h"
#include "graphics/palette.h"

namespace zephlet::graphics {

constexpr int kWebCubeSize = 216;

// Cube level of one channel value: (c + 3) / 51, so 0..47 -> 0, 48..98 -> 1, ...,
// 252..255 -> 5.
constexpr int web_cube_level(int c) {
  return (c + 3) / 51;
}

// Cube index of a colour whose channels are already 0..255: 36 r + 6 g + b of the levels.
constexpr std::uint8_t web_cube_index(int red, int green, int blue) {
  return static_cast<std::uint8_t>(36 * web_cube_level(red) + 6 * web_cube_level(green) +
                                   web_cube_level(blue));
}

// The cube as a new logical palette (WebCubePalette): 216 entries, entry 36r + 6g + b
// holds (51r, 51g, 51b), flags 0.
PaletteHandle web_cube_palette();

}  // namespace zephlet::graphics
