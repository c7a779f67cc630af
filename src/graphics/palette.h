// Logical palettes. A palette handle is a shared pointer to an immutable palette;
// two handles name the same palette when they point to the same object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "graphics/color.h"

namespace zephlet::graphics {

// One palette entry as the platform stores it: red, green, blue, flags.
struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flags = 0;
  friend constexpr bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// Entry flag: the colour is not merged with an equal colour of the system palette.
constexpr std::uint8_t kPaletteNoCollapse = 0x04;
// Version number of every logical palette.
constexpr std::uint16_t kPaletteVersion = 0x300;
// A logical palette holds at most this many entries (a 16-bit count).
constexpr std::size_t kMaxPaletteEntries = 0xFFFF;

class Palette {
 public:
  // Throws GraphicsError when there are more than kMaxPaletteEntries entries.
  explicit Palette(std::vector<PaletteEntry> entries);

  std::uint16_t version() const { return kPaletteVersion; }
  std::size_t entry_count() const { return entries_.size(); }
  std::span<const PaletteEntry> entries() const { return entries_; }
  // The colour of entry i; black for an index past the end.
  Color color(std::size_t i) const;
  // The index of the entry nearest to c (least squared distance, the lowest index on a
  // tie); 0 for an empty palette.
  std::size_t nearest_index(Color c) const;

  friend bool operator==(const Palette& a, const Palette& b) { return a.entries_ == b.entries_; }

 private:
  std::vector<PaletteEntry> entries_;
};

using PaletteHandle = std::shared_ptr<const Palette>;

// A palette of the colours of a colour map, each with kPaletteNoCollapse; none for an
// empty map.
PaletteHandle make_palette(std::span<const Rgb> colors);

// A new handle to a copy of a palette's entries (none for none).
PaletteHandle copy_palette(const PaletteHandle& palette);

}  // namespace zephlet::graphics
