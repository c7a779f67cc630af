#include <gtest/gtest.h>

#include <vector>

#include "graphics/floyd_steinberg.h"
#include "graphics/graphics_error.h"
#include "graphics/web_cube.h"

namespace zephlet::graphics {
namespace {

TEST(WebCube, LevelsAndPalette) {
  const std::pair<int, int> levels[] = {{0, 0},   {47, 0},  {48, 1},  {98, 1},  {99, 2},  {149, 2},
                                        {150, 3}, {200, 3}, {201, 4}, {251, 4}, {252, 5}, {255, 5}};
  for (const auto& [c, level] : levels) EXPECT_EQ(web_cube_level(c), level) << c;
  EXPECT_EQ(web_cube_index(255, 0, 48), 36 * 5 + 1);
  const PaletteHandle cube = web_cube_palette();
  ASSERT_EQ(cube->entry_count(), 216u);
  EXPECT_EQ(cube->version(), 0x300);
  EXPECT_EQ(cube->entries()[36 * 2 + 6 * 3 + 4], (PaletteEntry{102, 153, 204, 0}));
  EXPECT_EQ(cube->entries()[215], (PaletteEntry{255, 255, 255, 0}));
  EXPECT_NE(web_cube_palette(), cube);  // a new palette each time
}

TEST(FloydSteinberg, TransparentFillIndex) {
  const std::pair<Rgb, int> cases[] = {
      {{0, 0, 0}, 1},
      {{255, 255, 255}, 216},
      {{128, 128, 128}, 15 + 2 + 90 + 1},
      {{0, 4, 50}, 0 + 0 + 0 + 1},  // 6*4/51 = 0.47 rounds down; 50 div 51 = 0
      {{1, 5, 51}, 1 + 1 + 1 + 1},  // 36/51 = 0.71 and 30/51 = 0.59 round up
  };
  for (const auto& [color, index] : cases) {
    EXPECT_EQ(transparent_fill_index(color), index) << int{color.red} << "," << int{color.green};
  }
}

// Dithers rows of one colour, returning the indices.
std::vector<std::vector<std::uint8_t>> dither(std::vector<std::vector<Rgb>> rows) {
  FloydSteinbergDitherer d(static_cast<std::int32_t>(rows[0].size()));
  std::vector<std::vector<std::uint8_t>> out;
  for (const auto& row : rows) {
    out.emplace_back(row.size());
    d.dither_row(row, out.back());
  }
  return out;
}

TEST(FloydSteinberg, DiffusesInSerpentineOrderWithRoundedSixteenths) {
  const Rgb g{30, 30, 30};
  // Row 0: 30 -> index 0 (error 30); 30 + (210 + 8) / 16 = 43 -> index 0 (error 43).
  // Row 1 runs right to left: x1 = 30 + (30 + 215 + 8) / 16 = 45 -> 0, error 45;
  // x0 = 30 + (150 + 129 + 315 + 8) / 16 = 67 -> level 1 -> index 43.
  EXPECT_EQ(dither({{g, g}, {g, g}}), (std::vector<std::vector<std::uint8_t>>{{0, 0}, {43, 0}}));
  // A negative error rounds toward zero: 48 -> 51 leaves -3 per channel, 7 * -3 = -21,
  // (-21 + 8) / 16 = 0 (not -1), so the next 48 becomes level 1 again.
  const Rgb e{48, 48, 48};
  EXPECT_EQ(dither({{e, e}}), (std::vector<std::vector<std::uint8_t>>{{43, 43}}));
  // Exact cube colours carry no error; white stays within 0..255.
  const Rgb w{255, 255, 255}, c{51, 102, 153};
  EXPECT_EQ(dither({{w, c, w}, {w, w, c}}),
            (std::vector<std::vector<std::uint8_t>>{{215, 36 + 12 + 3, 215}, {215, 215, 51}}));
}

TEST(FloydSteinberg, SkippedPixelsKeepTheirIndexAndStopTheError) {
  const Rgb g{30, 30, 30};
  FloydSteinbergDitherer d(3);
  std::vector<std::uint8_t> out = {99, 99, 99};
  const std::vector<std::uint8_t> skip = {0, 1, 0};
  d.dither_row(std::vector<Rgb>{g, g, g}, out, skip);
  // x1 keeps 99 and passes no error on: x2 sees no error from x0 (which reached x1 only).
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0, 99, 0}));
}

TEST(FloydSteinberg, IndexedRowsFillTransparentPixelsWithTheFixedIndex) {
  const std::vector<Rgb> map = {{255, 0, 0}, {0, 0, 255}, {128, 128, 128}};
  FloydSteinbergDitherer d(4);
  std::vector<std::uint8_t> out(4);
  const std::vector<std::uint8_t> row = {0, 2, 1, 7};  // 7 is past the map: black
  EXPECT_TRUE(d.dither_indexed_row(row, map, std::uint8_t{2}, out));
  EXPECT_EQ(out, (std::vector<std::uint8_t>{180, 108, 5, 0}));
  FloydSteinbergDitherer plain(4);
  EXPECT_FALSE(plain.dither_indexed_row(row, map, std::nullopt, out));
  EXPECT_EQ(out[1], 36 * 2 + 6 * 2 + 2);  // 128: level (128 + 3) / 51 = 2; red left no error
  EXPECT_THROW(d.dither_indexed_row(std::vector<std::uint8_t>(3), map, std::nullopt, out),
               GraphicsError);
}

}  // namespace
}  // namespace zephlet::graphics
