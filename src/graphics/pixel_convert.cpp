#include "graphics/pixel_convert.h"

namespace zephlet::graphics {

Color color_of_value(const Bitmap& b, std::uint32_t value) {
  switch (b.pixel_format()) {
    case PixelFormat::k1Bit:
      if (b.palette()) return b.palette()->color(value & 1u);
      return (value & 1u) ? kWhite : kBlack;
    case PixelFormat::k8Bit: {
      const std::uint32_t i = value & 0xFFu;
      if (b.palette()) return b.palette()->color(i);
      const auto g = static_cast<std::uint8_t>(i);
      return rgb(g, g, g);
    }
    default:
      return color_from_value(value);
  }
}

std::uint32_t value_of_color(const Bitmap& b, Color c) {
  switch (b.pixel_format()) {
    case PixelFormat::k1Bit:
      if (b.palette() && b.palette()->entry_count() > 0) {
        // Only entries 0 and 1 are reachable in a 1-bit bitmap.
        const Palette& p = *b.palette();
        if (p.entry_count() < 2) return 0;
        const Palette two({p.entries()[0], p.entries()[1]});
        return static_cast<std::uint32_t>(two.nearest_index(c));
      }
      return (red_of(c) + green_of(c) + blue_of(c) > 382) ? 1u : 0u;
    case PixelFormat::k8Bit:
      if (b.palette() && b.palette()->entry_count() > 0) {
        const Palette& p = *b.palette();
        if (p.entry_count() <= 256) return static_cast<std::uint32_t>(p.nearest_index(c));
        const Palette first(
            std::vector<PaletteEntry>(p.entries().begin(), p.entries().begin() + 256));
        return static_cast<std::uint32_t>(first.nearest_index(c));
      }
      // Nearest grey: the rounded mean of the channels.
      return static_cast<std::uint32_t>((red_of(c) + green_of(c) + blue_of(c) + 1) / 3);
    default:
      return value_from_color(c);
  }
}

}  // namespace zephlet::graphics
