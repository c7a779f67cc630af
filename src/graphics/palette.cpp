#include "graphics/palette.h"

#include <limits>
#include <utility>

#include "graphics/graphics_error.h"

namespace zephlet::graphics {

Palette::Palette(std::vector<PaletteEntry> entries) : entries_(std::move(entries)) {
  if (entries_.size() > kMaxPaletteEntries) throw GraphicsError("Too many palette entries");
}

Color Palette::color(std::size_t i) const {
  if (i >= entries_.size()) return kBlack;
  const PaletteEntry& e = entries_[i];
  return rgb(e.red, e.green, e.blue);
}

std::size_t Palette::nearest_index(Color c) const {
  const int r = red_of(c), g = green_of(c), b = blue_of(c);
  std::size_t best = 0;
  int best_distance = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const PaletteEntry& e = entries_[i];
    const int dr = e.red - r, dg = e.green - g, db = e.blue - b;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < best_distance) {
      best_distance = distance;
      best = i;
      if (distance == 0) break;
    }
  }
  return best;
}

PaletteHandle make_palette(std::span<const Rgb> colors) {
  if (colors.empty()) return nullptr;
  std::vector<PaletteEntry> entries;
  entries.reserve(colors.size());
  for (const Rgb& c : colors) entries.push_back({c.red, c.green, c.blue, kPaletteNoCollapse});
  return std::make_shared<const Palette>(std::move(entries));
}

PaletteHandle copy_palette(const PaletteHandle& palette) {
  if (!palette) return nullptr;
  return std::make_shared<const Palette>(*palette);
}

}  // namespace zephlet::graphics
