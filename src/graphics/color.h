// Colours as the platform's colour values, and plain red-green-blue triples.
#pragma once

#include <cstdint>

namespace zephlet::graphics {

// A platform colour value: 0x00BBGGRR (red in the low byte).
using Color = std::uint32_t;

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
// The platform's "no colour" value (clNone).
constexpr Color kColorNone = 0x1FFFFFFF;

constexpr Color rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return Color{red} | (Color{green} << 8) | (Color{blue} << 16);
}
constexpr std::uint8_t red_of(Color c) {
  return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t green_of(Color c) {
  return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t blue_of(Color c) {
  return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}

// One colour of a colour map.
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Color to_color(Rgb c) {
  return rgb(c.red, c.green, c.blue);
}

}  // namespace zephlet::graphics
