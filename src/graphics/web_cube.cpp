#include "graphics/web_cube.h"

#include <vector>

namespace zephlet::graphics {

PaletteHandle web_cube_palette() {
  std::vector<PaletteEntry> entries;
  entries.reserve(kWebCubeSize);
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        entries.push_back({static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
                           static_cast<std::uint8_t>(51 * b), 0});
      }
    }
  }
  return std::make_shared<const Palette>(std::move(entries));
}

}  // namespace zephlet::graphics
